// The desktop shell judges a link or a file by its launcher's result: a launcher that finds no
// program fails, and the program then says so (a fake launcher on the PATH, in the test's own
// temporary folder).
#include "app/platform/qt/QtShell.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartEmptyProgram(); // Qt, offscreen
        folder_ = fs::temp_directory_path() / ("gs-shell-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        ::setenv("PATH", folder_.c_str(), 1); // only the fake launcher
    }
    void TearDown() override {
        ::setenv("PATH", oldPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    // A launcher that records its argument and exits with `status`.
    void FakeLauncher(int status) {
        const fs::path launcher = folder_ / "xdg-open";
        std::ofstream(launcher) << "#!/bin/sh\nprintf '%s' \"$1\" > '"
                                << (folder_ / "opened").string() << "'\nexit " << status << "\n";
        fs::permissions(launcher, fs::perms::owner_all);
    }
    std::string Opened() {
        std::ifstream in(folder_ / "opened");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
    std::string oldPath_;
};
} // namespace

TEST_F(ShellTest, ALauncherThatFindsNoProgramIsAFailure) {
    CQtShell shell;
    FakeLauncher(3); // xdg-open: no program for the target
    EXPECT_FALSE(shell.OpenUrl("https://www.example.com/"));
    EXPECT_EQ(Opened(), "https://www.example.com/");
    FakeLauncher(0);
    EXPECT_TRUE(shell.OpenUrl("mailto:support@example.com"));
    EXPECT_TRUE(shell.OpenFile(folder_ / "guide.docx"));
    EXPECT_EQ(Opened(), "file://" + (folder_ / "guide.docx").string());
}
