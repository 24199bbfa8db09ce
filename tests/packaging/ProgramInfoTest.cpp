// --version and --help: the answer every program shares, and each program giving it before Qt
// starts (so with no display at all).

#include "app/Version.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {
const std::string kVersion = GS_EXPECTED_VERSION;

struct ProgramRun {
    int status = -1;
    std::string out;
};

// Runs a built program without a display, Qt told to use X11: creating the application
// object first would abort it.
ProgramRun RunProgram(const std::string& program, const std::string& argument) {
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" GS_BINARY_DIR "/bin/" + program +
        "' " + argument + " 2>/dev/null";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.out.append(buffer, n);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}
} // namespace

TEST(VersionOrHelp, FirstInfoOptionBeforeDoubleDashWins) {
    std::ostringstream out;
    const char* none[] = {"p", "--dump", "--", "--help"};
    EXPECT_FALSE(AnswerVersionOrHelp(4, none, "p", "usage\n", out));
    const char* help[] = {"p", "--dir", "x", "-h", "--version"};
    EXPECT_EQ(AnswerVersionOrHelp(5, help, "p", "usage\n", out), 0);
    const char* version[] = {"p", "--version", "--help"};
    EXPECT_EQ(AnswerVersionOrHelp(3, version, "p", "usage\n", out), 0);
    EXPECT_EQ(out.str(), "usage\np " + kVersion + "\n");
}

TEST(VersionOrHelp, EveryProgramAnswersWithoutADisplay) {
    for (const std::string program : {"gas-separator", "gas-separator-calc", "gas-separator-driver",
                                      "gas-separator-tags", "gas-separator-bench"}) {
        const ProgramRun version = RunProgram(program, "--version");
        EXPECT_EQ(version.status, 0) << program;
        EXPECT_EQ(version.out, program + " " + kVersion + "\n");
        const ProgramRun help = RunProgram(program, "--help");
        EXPECT_EQ(help.status, 0) << program;
        EXPECT_EQ(help.out.rfind("Usage: " + program, 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    }
}
