// Fatal errors and debug output go through their installable handlers.

#include "app/platform/FatalError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {
std::string traced;
std::string shown;
int shownCode = -1;

struct Ended {};

void Capture(const std::string& line) {
    traced += line;
}

void Show(const std::string& title, const std::string& message, int code) {
    shown = title + "|" + message;
    shownCode = code;
    throw Ended{};
}
} // namespace

TEST(FatalErrorTest, DebugTraceCutsLongTextTo254Characters) {
    SetDebugTraceSink(Capture);
    traced.clear();
    DebugTrace("value %d", 42);
    EXPECT_EQ(traced, "value 42\n");
    traced.clear();
    DebugTrace("%s", std::string(400, 'x').c_str());
    EXPECT_EQ(traced, std::string(254, 'x') + "\n");
    SetDebugTraceSink(nullptr);
}

TEST(FatalErrorTest, ReportFatalErrorFormatsTheCodeAndNeverEndsWithSuccess) {
    SetFatalErrorHandler(Show);
    EXPECT_THROW(ReportFatalError("Decode", ENOENT), Ended);
    EXPECT_EQ(shown, "Error|Decode failed with error 2: No such file or directory");
    EXPECT_EQ(shownCode, ENOENT);
    EXPECT_THROW(ReportFatalError("", 0), Ended);
    EXPECT_EQ(shownCode, 1); // error 0 would look like success
    EXPECT_NO_THROW(CheckOrFail(true));
    errno = EACCES;
    EXPECT_THROW(CheckOrFail(false), Ended);
    EXPECT_EQ(shownCode, EACCES);
    SetFatalErrorHandler(nullptr);
}
