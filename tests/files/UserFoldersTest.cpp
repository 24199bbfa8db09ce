// The user's documents folder follows XDG_DOCUMENTS_DIR as the XDG user directories read it.
#include "app/platform/qt/QtUserFolders.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

#include <cstdlib>
#include <optional>
#include <string>

namespace {
// Sets an environment variable for the scope, then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};
} // namespace

TEST(QtUserFolders, DocumentsFollowAnAbsoluteXdgDocumentsDirOrOneUnderHome) {
    ScopedVariable home("HOME", "/home/engineer");
    CQtUserFolders folders;
    std::string fallback;
    {
        ScopedVariable unset("XDG_DOCUMENTS_DIR", nullptr);
        fallback = folders.DocumentsRoot().string();
    }
    const std::pair<const char*, std::string> cases[] = {
        {"/data/papers", "/data/papers"},
        {"$HOME/Papers", "/home/engineer/Papers"},
        {"$HOME", "/home/engineer"},
        {"Papers", fallback},      // relative: not a path the user-dirs rules accept
        {"$HOMEWORK/x", fallback}, // no other variable is expanded
        {"", fallback},
    };
    for (const auto& [value, expected] : cases) {
        ScopedVariable documents("XDG_DOCUMENTS_DIR", value);
        EXPECT_EQ(folders.DocumentsRoot().string(), expected) << value;
    }
}
