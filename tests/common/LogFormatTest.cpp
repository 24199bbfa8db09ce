// The line format, the threshold, the file names and the console listener.
#include "tests/common/LogTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

TEST(LogFormat, DebugLineOfAppFromLine155HasTheExactLayout) {
    const std::tm time = MakeTime(2026, 12, 7, 0, 40, 12);
    EXPECT_EQ(
        LogManager::FormatLine(2, "App", "/home/dev/app/Main.cpp", 155, "Logging started", time),
        "12/07/26 00:40:12 | Debug | App | Main.cpp:155 | Logging started\n");
}

TEST(LogFormat, EveryLevelHasItsPrefixAndOtherLevelsNone) {
    const std::tm time = MakeTime(2026, 1, 2, 3, 4, 5);
    const char* expected[] = {"",           "Trace | ", "Debug | ", "Info | ",
                              "Warning | ", "Error | ", "Fatal | ", ""};
    for (int level = 0; level <= 7; ++level) {
        EXPECT_EQ(LogManager::LevelPrefix(level), std::string(expected[level])) << level;
        EXPECT_EQ(LogManager::FormatLine(level, "C", "f.cpp", 1, "m", time),
                  std::string("01/02/26 03:04:05 | ") + expected[level] + "C | f.cpp:1 | m\n");
    }
}

TEST(LogFormat, BaseNameTakesTheTextAfterTheLastBackslashElseSlash) {
    EXPECT_EQ(LogManager::BaseName("C:\\src\\app\\Main.cpp"), "Main.cpp");
    EXPECT_EQ(LogManager::BaseName("/src/app/Main.cpp"), "Main.cpp");
    EXPECT_EQ(LogManager::BaseName("Main.cpp"), "Main.cpp");
    EXPECT_EQ(LogManager::BaseName("a/b\\c.cpp"), "c.cpp");
    // A backslash wins over a later slash, as on Windows paths.
    EXPECT_EQ(LogManager::BaseName("x\\y/z.cpp"), "y/z.cpp");
    EXPECT_EQ(LogManager::BaseName(""), "");
}

TEST(LogFormat, DirectoryIsNormalisedToEndWithOneSeparator) {
    EXPECT_EQ(LogManager::NormaliseDirectory("/var/log/app"), "/var/log/app/");
    EXPECT_EQ(LogManager::NormaliseDirectory("/var/log/app/"), "/var/log/app/");
    EXPECT_EQ(LogManager::NormaliseDirectory(""), "./");
}

TEST(LogFormat, ConstructorCreatesMissingParentDirectoriesAndOpensTodaysFile) {
    TempLogDir temp("create");
    FakeClock clock;
    const std::string dir = temp.Path().string() + "/a/b/c"; // no final separator
    LogManager log(dir, 7, 0, 1, clock.Hooks());
    EXPECT_EQ(log.Directory(), dir + "/");
    EXPECT_TRUE(log.HasOpenFile());
    EXPECT_TRUE(fs::is_regular_file(dir + "/" + LogName(2026, 12, 7)));
}

TEST(LogFormat, LoggedLineReachesTheFileExactly) {
    TempLogDir temp("exact");
    FakeClock clock;
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.Log(LogManager::Debug, "App", "C:\\src\\app\\Main.cpp", 155,
            "Avg loop period [ms]: %f  [fps]: %d", 16.5, 60);
    log.WritePending();
    EXPECT_EQ(ReadFile(temp.File(LogName(2026, 12, 7))),
              "12/07/26 00:40:12 | Debug | App | Main.cpp:155 | Avg loop period [ms]: 16.500000"
              "  [fps]: 60\n");
}

TEST(LogFormat, MacrosPassTheirFileAndLineAndSkipEverythingWithoutAManager) {
    TempLogDir temp("macros");
    FakeClock clock;
    int evaluated = 0;
    ASSERT_EQ(gLogManager, nullptr);
    LOG_INFO("App", "%d", ++evaluated);
    EXPECT_EQ(evaluated, 0);

    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    gLogManager = &log;
    LOG_DEBUG("App", "debug %d", ++evaluated);
    const int debugLine = __LINE__ - 1;
    LOG_INFO("CWindowManager", "info %s", "x");
    LOG_WARNING("App", "warning");
    LOG_ERROR("App", "error");
    gLogManager = nullptr;
    EXPECT_EQ(evaluated, 1);
    log.WritePending();
    const auto lines = SplitLines(ReadFile(temp.File(LogName(2026, 12, 7))));
    const std::string at = " | LogFormatTest.cpp:";
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "12/07/26 00:40:12 | Debug | App" + at + std::to_string(debugLine) + " | debug 1");
    EXPECT_EQ(lines[1], "12/07/26 00:40:12 | Info | CWindowManager" + at +
                            std::to_string(debugLine + 2) + " | info x");
    EXPECT_EQ(lines[2], "12/07/26 00:40:12 | Warning | App" + at + std::to_string(debugLine + 3) +
                            " | warning");
    EXPECT_EQ(lines[3],
              "12/07/26 00:40:12 | Error | App" + at + std::to_string(debugLine + 4) + " | error");
}

TEST(LogThreshold, MessagesBelowTheThresholdMakeNoEntry) {
    TempLogDir temp("threshold");
    FakeClock clock;
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.Log(LogManager::Trace, "App", "f.cpp", 1, "trace at the initial threshold 1");
    EXPECT_EQ(log.QueuedCount(), 1u);

    log.SetLevel(3);
    log.Log(LogManager::Trace, "App", "f.cpp", 2, "trace");
    log.Log(LogManager::Debug, "App", "f.cpp", 3, "debug");
    EXPECT_EQ(log.QueuedCount(), 1u);
    log.Log(LogManager::Info, "App", "f.cpp", 4, "info");
    log.Log(4, "App", "f.cpp", 5, "warning");
    EXPECT_EQ(log.QueuedCount(), 3u);

    log.WritePending();
    const auto lines = SplitLines(ReadFile(temp.File(LogName(2026, 12, 7))));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("| trace at the initial threshold 1"), std::string::npos);
    EXPECT_NE(lines[1].find("| info"), std::string::npos);
    EXPECT_NE(lines[2].find("| warning"), std::string::npos);
}

TEST(LogThreshold, CategoryThresholdOverridesTheGlobalOneUnlessZero) {
    TempLogDir temp("category");
    FakeClock clock;
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.SetLevel(3);
    log.SetCategoryLevel("Chatty", 1);
    log.SetCategoryLevel("Quiet", 5);
    log.Log(LogManager::Trace, "Chatty", "f.cpp", 1, "kept");
    log.Log(LogManager::Info, "Quiet", "f.cpp", 1, "dropped");
    log.Log(LogManager::Debug, "Other", "f.cpp", 1, "dropped");
    EXPECT_EQ(log.QueuedCount(), 1u);
    log.SetCategoryLevel("Quiet", 0); // back to the global threshold
    log.Log(LogManager::Info, "Quiet", "f.cpp", 1, "kept");
    EXPECT_EQ(log.QueuedCount(), 2u);
}

TEST(LogFileNames, OnlyExactNamesWithRealDatesAreOwn) {
    EXPECT_TRUE(LogManager::IsOwnLogFileName("log_12-07-2026.txt"));
    EXPECT_TRUE(LogManager::IsOwnLogFileName("log_12-07-2026.txt.gz"));
    EXPECT_TRUE(LogManager::IsOwnLogFileName("log_02-29-2024.txt")); // leap year
    EXPECT_TRUE(LogManager::IsOwnLogFileName("log_01-31-2026.txt.gz"));
    for (const char* name :
         {"log_13-45-2026.txt", "log_00-10-2026.txt", "log_12-00-2026.txt", "log_02-29-2026.txt",
          "log_04-31-2026.txt", "log_12-07-0000.txt", "mylog_12-01-2026.txt",
          "log_12-01-2026.txt.bak", "log_12-1-2026.txt", "log_12-01-26.txt", "LOG_12-01-2026.txt",
          "log_12-01-2026.TXT", "log_12-01-2026.txt.gz.1", "log_12_01_2026.txt",
          "log_12-01-2026.gz", "log_1a-01-2026.txt", "log_12-01-2026txt", "notes.txt", ""}) {
        EXPECT_FALSE(LogManager::IsOwnLogFileName(name)) << name;
    }
}

TEST(LogConsole, WritesPlainTextWithoutColour) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    CConsole console(out, false);
    console.OnLog(3, "line one\n");
    console.OnLog(9, "line two\n");
    std::rewind(out);
    char buffer[64] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n), "line one\nline two\n");
}

TEST(LogConsole, ColoursTheLineByLevelAndSetsTheColourBack) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    CConsole console(out, true);
    console.OnLog(3, "info\n");
    console.OnLog(5, "error\n");
    console.OnLog(0, "none\n");
    std::rewind(out);
    char buffer[128] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n), "\x1b[92minfo\n\x1b[39m\x1b[91merror\n\x1b[39mnone\n");
    EXPECT_STREQ(CConsole::ColourSequence(1), "\x1b[97m");
    EXPECT_STREQ(CConsole::ColourSequence(2), "\x1b[95m");
    EXPECT_STREQ(CConsole::ColourSequence(4), "\x1b[93m");
    EXPECT_STREQ(CConsole::ColourSequence(6), "\x1b[95m");
}
