// Log files that are not ours: a link, a FIFO or another user's file where a log file should be
// is neither written, compressed nor removed; the log goes to the console with one line saying
// why. Every link points at a file inside the test's own folder.
#include "tests/common/LogTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {
struct RecordingListener : CLogListener {
    std::vector<std::string> lines;
    void OnLog(int, const std::string& text) override { lines.push_back(text); }
    int Count(const std::string& part) const {
        int n = 0;
        for (const std::string& line : lines)
            n += line.find(part) != std::string::npos ? 1 : 0;
        return n;
    }
};

// A user other than the one running the test; skips the test when files cannot be given to
// another user (not running as root).
bool GiveToAnotherUser(const std::string& path) {
    return ::chown(path.c_str(), ::geteuid() + 1, static_cast<gid_t>(-1)) == 0;
}

// Logs a line and wakes the writer three times; returns what the console heard.
RecordingListener LogThreeWakeUps(LogManager& log) {
    RecordingListener console;
    log.SetListener(&console);
    log.Log(LogManager::Info, "App", "f.cpp", 1, "for the console");
    for (int i = 0; i < 3; ++i)
        log.WritePending();
    log.SetListener(nullptr);
    return console;
}
} // namespace

TEST(LogForeignFile, TodaysLogThatIsALinkIsNotFollowedAndTheConsoleHearsWhyOnce) {
    TempLogDir temp("todaylink");
    FakeClock clock;
    const std::string target = temp.File("someone_elses.txt");
    const std::string today = temp.File(LogName(2026, 12, 7));
    WriteFile(target, "theirs\n");
    fs::create_symlink(target, today);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    const RecordingListener console = LogThreeWakeUps(log);

    EXPECT_FALSE(log.HasOpenFile());
    EXPECT_EQ(ReadFile(target), "theirs\n");
    EXPECT_TRUE(fs::is_symlink(today));
    EXPECT_EQ(console.Count("| Cannot write the log file " + today + ": it is a symbolic link"), 1);
    EXPECT_EQ(console.Count("| for the console"), 1);

    // Once the link is gone the file opens and gets the lines that waited.
    fs::remove(today);
    log.WritePending();
    EXPECT_TRUE(log.HasOpenFile());
    EXPECT_EQ(SplitLines(ReadFile(today)).size(), 2u);
    EXPECT_EQ(ReadFile(target), "theirs\n");
}

TEST(LogForeignFile, TodaysLogThatIsAFifoIsRefusedWithoutWaitingForAReader) {
    TempLogDir temp("todayfifo");
    FakeClock clock;
    const std::string today = temp.File(LogName(2026, 12, 7));
    ASSERT_EQ(::mkfifo(today.c_str(), 0600), 0);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    const RecordingListener console = LogThreeWakeUps(log);
    EXPECT_FALSE(log.HasOpenFile());
    EXPECT_EQ(console.Count("| Cannot write the log file " + today + ": it is not a regular file"),
              1);
}

// A link put in place of today's open file is not followed when the file is opened again.
TEST(LogForeignFile, TodaysLogReplacedByALinkWhileOpenIsNotFollowed) {
    TempLogDir temp("swapped");
    FakeClock clock;
    const std::string target = temp.File("someone_elses.txt");
    const std::string today = temp.File(LogName(2026, 12, 7));
    WriteFile(target, "theirs\n");
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    ASSERT_TRUE(log.HasOpenFile());
    fs::remove(today);
    fs::create_symlink(target, today);
    const RecordingListener console = LogThreeWakeUps(log);
    EXPECT_FALSE(log.HasOpenFile());
    EXPECT_EQ(ReadFile(target), "theirs\n");
    EXPECT_EQ(console.Count("it is a symbolic link"), 1);
}

TEST(LogForeignFile, CompressionFollowsNoLinkForTheTextOrTheGzip) {
    TempLogDir temp("gzlink");
    FakeClock clock; // Dec 7: Dec 5 and Dec 6 are in the days kept
    const std::string textTarget = temp.File("text_target.txt");
    const std::string gzTarget = temp.File("gz_target.txt");
    WriteFile(textTarget, "linked text\n");
    WriteFile(gzTarget, "must stay\n");
    fs::create_symlink(textTarget, temp.File(LogName(2026, 12, 5)));
    WriteFile(temp.File(LogName(2026, 12, 6)), "our text\n");
    fs::create_symlink(gzTarget, temp.File(GzName(2026, 12, 6)));
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.WritePending();

    EXPECT_EQ(ReadFile(textTarget), "linked text\n");
    EXPECT_EQ(ReadFile(gzTarget), "must stay\n");
    EXPECT_TRUE(fs::is_symlink(temp.File(LogName(2026, 12, 5))));
    EXPECT_FALSE(temp.Has(GzName(2026, 12, 5)));
    EXPECT_TRUE(fs::is_symlink(temp.File(GzName(2026, 12, 6))));
    EXPECT_EQ(ReadFile(temp.File(LogName(2026, 12, 6))), "our text\n");
    EXPECT_NE(ReadFile(temp.File(LogName(2026, 12, 7)))
                  .find("Could not create " + temp.File(GzName(2026, 12, 6)) +
                        " (it is a symbolic link); the text log is kept"),
              std::string::npos);
}

TEST(LogForeignFile, AnotherUsersFilesAreNeitherWrittenCompressedNorRemoved) {
    TempLogDir temp("otheruser");
    FakeClock clock;
    const std::string today = temp.File(LogName(2026, 12, 7));
    const std::string yesterday = temp.File(LogName(2026, 12, 6));
    const std::string old = temp.File(GzName(2026, 11, 1));
    const std::string ours = temp.File(GzName(2026, 11, 2));
    for (const std::string& path : {today, yesterday, old, ours})
        WriteFile(path, "content\n");
    for (const std::string& path : {today, yesterday, old})
        if (!GiveToAnotherUser(path))
            GTEST_SKIP() << "files cannot be given to another user here (needs root)";
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    const RecordingListener console = LogThreeWakeUps(log);

    EXPECT_FALSE(log.HasOpenFile());
    EXPECT_EQ(
        console.Count("| Cannot write the log file " + today + ": it belongs to another user"), 1);
    for (const std::string& path : {today, yesterday, old})
        EXPECT_EQ(ReadFile(path), "content\n") << path;
    EXPECT_FALSE(temp.Has(GzName(2026, 12, 6)));
    EXPECT_FALSE(temp.Has(GzName(2026, 11, 2))); // our own old log is still swept
}
