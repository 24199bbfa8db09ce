// --version and --help: the answer every program shares, and each program giving it before Qt
// starts (so with no display at all); and where the bench counts a start from.

#include "app/Version.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace {
const std::string kVersion = GS_EXPECTED_VERSION;

struct ProgramRun {
    int status = -1;
    std::string out;
};

ProgramRun RunCommand(const std::string& command) {
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

// Runs a built program without a display, Qt told to use X11: creating the application
// object first would abort it.
ProgramRun RunProgram(const std::string& program, const std::string& argument) {
    return RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" GS_BINARY_DIR
                      "/bin/" +
                      program + "' " + argument + " 2>/dev/null");
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

// Qt takes its own options first; anything else that looks like an option (a mistyped
// "--version") is refused before a window or the demonstration starts, named without its
// control characters.
TEST(VersionOrHelp, TheSimulatorRefusesAnOptionNeitherItNorQtKnows) {
    const std::string home = ::testing::TempDir() + "unknown_option_home";
    std::filesystem::create_directories(home);
    const ProgramRun run = RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME='" + home +
        "' '" GS_BINARY_DIR "/bin/gas-separator' -style fusion --verison$(printf '\\033') 2>&1");
    EXPECT_EQ(run.status, 2) << run.out;
    EXPECT_NE(run.out.find("gas-separator: unknown option '--verison?' (see --help)"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("demonstration"), std::string::npos) << run.out;
    std::filesystem::remove_all(home);
}

namespace {
// A figure of the bench's YAML output, or -1.
double BenchFigure(const std::string& out, const std::string& key) {
    const std::size_t at = out.find(key + ": ");
    return at == std::string::npos ? -1 : std::strtod(out.c_str() + at + key.size() + 2, nullptr);
}
} // namespace

// The bench counts the first frame from the start of its own program image (it executes itself
// once more to note it), so the time before `main` lies within it and the processor time is
// the run's own; a start noted wrongly in the environment falls back to the kernel's.
TEST(BenchStart, TheFirstFrameCountsFromTheProgramsOwnStart) {
    const std::string home = ::testing::TempDir() + "bench_start_home";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    for (const std::string noted : {"", "GAS_SEPARATOR_BENCH_STARTED_AT=nonsense"}) {
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY HOME='" + home + "' XDG_CONFIG_HOME='" + home +
            "' XDG_STATE_HOME='" + home + "' " + noted +
            " '" GS_BINARY_DIR "/bin/gas-separator-bench' --passes 1 2>/dev/null";
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
            out.append(buffer, n);
        }
        ASSERT_EQ(pclose(pipe), 0) << noted;
        const double firstFrame = BenchFigure(out, "first_frame_ms");
        const double beforeMain = BenchFigure(out, "{before_main");
        EXPECT_GT(beforeMain, 0) << out;
        EXPECT_LT(beforeMain, firstFrame) << out;
        EXPECT_LT(firstFrame, 60000) << out; // not counted from the boot
        EXPECT_GT(BenchFigure(out, "first_frame_cpu_ms"), 0) << out;
    }
    std::filesystem::remove_all(home);
}
