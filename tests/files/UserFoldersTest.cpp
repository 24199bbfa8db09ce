// The user's documents folder follows XDG_DOCUMENTS_DIR as the XDG user directories read it.
#include "app/platform/qt/QtUserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(QtUserFolders, DocumentsFollowAnAbsoluteXdgDocumentsDirOrOneUnderHome) {
    ::setenv("HOME", "/home/engineer", 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    const std::string qt = CQtUserFolders().DocumentsRoot().string();
    const std::pair<const char*, std::string> cases[] = {{"/data/papers", "/data/papers"},
                                                         {"$HOME/Papers", "/home/engineer/Papers"},
                                                         {"$HOME", "/home/engineer"},
                                                         {"Papers", qt}, // relative: ignored
                                                         {"$HOMEWORK/x", qt},
                                                         {"", qt}};
    for (const auto& [value, expected] : cases) {
        ::setenv("XDG_DOCUMENTS_DIR", value, 1);
        EXPECT_EQ(CQtUserFolders().DocumentsRoot().string(), expected) << value;
    }
}
