// Daily files, rotation with gzip, the keep set and the sweep, and
// a previous day's log whose compression fails is kept.
#include "tests/common/LogTestSupport.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <thread>

namespace fs = std::filesystem;

TEST(LogRotation, StartingOnADayWhoseLogExistsAppendsToIt) {
    TempLogDir temp("append");
    FakeClock clock;
    const std::string today = temp.File(LogName(2026, 12, 7));
    WriteFile(today, "earlier line\n");
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.Log(LogManager::Info, "App", "f.cpp", 1, "new line");
    log.WritePending();
    EXPECT_EQ(ReadFile(today),
              "earlier line\n12/07/26 00:40:12 | Info | App | f.cpp:1 | new line\n");
    log.Log(LogManager::Info, "App", "f.cpp", 2, "second batch");
    log.WritePending();
    EXPECT_EQ(SplitLines(ReadFile(today)).size(), 3u);
}

TEST(LogRotation, TheFirstWakeUpOnALaterDayCompressesThePreviousDaysAndSweepsOlderLogs) {
    TempLogDir temp("startup");
    FakeClock clock;
    clock.now = MakeTime(2026, 3, 3, 8); // keepDays 7: Feb 24 .. Mar 2 (2026 is no leap year)
    const std::string yesterday = "yesterday's lines\n";
    std::string big; // several 16 KiB chunks of compressible and less compressible text
    for (int i = 0; i < 5000; ++i)
        big += "03/01/26 10:00:00 | Info | App | Main.cpp:" + std::to_string(i * 7919 % 1000) +
               " | line " + std::to_string(i) + "\n";
    WriteFile(temp.File(LogName(2026, 3, 2)), yesterday);
    WriteFile(temp.File(LogName(2026, 3, 1)), big);
    WriteFile(temp.File(LogName(2026, 2, 24)), "seven days ago\n"); // oldest day kept
    WriteFile(temp.File(LogName(2026, 2, 23)), "eight days ago\n"); // too old: not compressed
    WriteFile(temp.File(GzName(2026, 2, 26)), "an older compressed log, kept as it is");
    WriteFile(temp.File(GzName(2026, 2, 20)), "too old compressed log");
    WriteFile(temp.File(LogName(2026, 3, 4)), "a day in the future is not kept either\n");

    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    EXPECT_TRUE(temp.Has(LogName(2026, 3, 1))); // the constructor leaves them to the writer
    EXPECT_FALSE(temp.Has(GzName(2026, 3, 1)));
    log.WritePending();

    EXPECT_EQ(temp.Names(), (std::vector<std::string>{GzName(2026, 2, 24), GzName(2026, 2, 26),
                                                      GzName(2026, 3, 1), GzName(2026, 3, 2),
                                                      LogName(2026, 3, 3)}));
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {GzName(2026, 3, 2), yesterday},
             {GzName(2026, 3, 1), big},
             {GzName(2026, 2, 24), "seven days ago\n"}}) {
        const std::string path = temp.File(name);
        EXPECT_TRUE(GzipTestPasses(path)) << name;
        EXPECT_EQ(Gunzip(path), content) << name;
    }
    EXPECT_EQ(ReadFile(temp.File(GzName(2026, 2, 26))), "an older compressed log, kept as it is");
    EXPECT_TRUE(clock.sleeps.size() > 0); // the big log paused between chunks
}

TEST(LogRotation, ChangeOfDayWhileRunningCompressesTheDayBeforeAndOpensTheNewDay) {
    TempLogDir temp("midnight");
    FakeClock clock;
    clock.now = MakeTime(2026, 12, 31, 23, 59, 59);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.Log(LogManager::Info, "App", "Main.cpp", 10, "last line of the year");
    log.WritePending();
    const std::string dec31 = ReadFile(temp.File(LogName(2026, 12, 31)));
    EXPECT_EQ(dec31, "12/31/26 23:59:59 | Info | App | Main.cpp:10 | last line of the year\n");

    clock.now = MakeTime(2027, 1, 1, 0, 0, 1);
    log.Log(LogManager::Info, "App", "Main.cpp", 11, "first line of the year");
    log.WritePending();

    EXPECT_EQ(temp.Names(), (std::vector<std::string>{LogName(2027, 1, 1), GzName(2026, 12, 31)}));
    const std::string gz = temp.File(GzName(2026, 12, 31));
    EXPECT_TRUE(GzipTestPasses(gz));
    EXPECT_EQ(Gunzip(gz), dec31);
    // The line was queued before the change of day: it is written to the new day's file.
    EXPECT_EQ(ReadFile(temp.File(LogName(2027, 1, 1))),
              "01/01/27 00:00:01 | Info | App | Main.cpp:11 | first line of the year\n");

    // A jump of several days compresses nothing more and keeps the compressed day in range.
    clock.now = MakeTime(2027, 1, 5, 9);
    log.WritePending();
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{GzName(2027, 1, 1), LogName(2027, 1, 5),
                                                      GzName(2026, 12, 31)}));
    EXPECT_EQ(Gunzip(temp.File(GzName(2027, 1, 1))),
              "01/01/27 00:00:01 | Info | App | Main.cpp:11 | first line of the year\n");

    // Past keepDays, the old compressed logs are deleted.
    clock.now = MakeTime(2027, 1, 9, 9); // keeps Jan 2 .. Jan 8
    log.WritePending();
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{GzName(2027, 1, 5), LogName(2027, 1, 9)}));
}

TEST(LogRotation, SweepNeverTouchesForeignFilesAndDeletesOwnOldLogs) {
    TempLogDir temp("sweep");
    FakeClock clock;
    clock.now = MakeTime(2026, 12, 7);
    const std::vector<std::string> foreign = {"log_13-45-2026.txt",
                                              "log_13-45-2026.txt.gz",
                                              "mylog_12-01-2026.txt",
                                              "log_12-01-2026.txt.bak",
                                              "log_02-30-2026.txt",
                                              "log_12-1-2026.txt",
                                              "LOG_12-01-2026.txt",
                                              "log_12-01-26.txt",
                                              "log_12-01-2026.TXT",
                                              "notes.txt",
                                              "log_.txt",
                                              "xlog_11-01-2026.txt.gz"};
    for (const auto& name : foreign)
        WriteFile(temp.File(name), "not ours: " + name);
    fs::create_directory(temp.File("log_11-20-2026.txt")); // a directory with our name
    WriteFile(temp.File("log_11-20-2026.txt/inner.txt"), "inside");
    WriteFile(temp.Dir() + "target_of_link.txt", "target");
    fs::create_symlink(temp.File("target_of_link.txt"), temp.File("log_11-21-2026.txt.gz"));
    // Own logs older than keepDays days.
    WriteFile(temp.File(LogName(2026, 11, 29)), "old text log");
    WriteFile(temp.File(GzName(2026, 11, 1)), "old compressed log");
    WriteFile(temp.File(GzName(2025, 12, 7)), "a year old compressed log");

    for (int pass = 0; pass < 2; ++pass) {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        clock.now = MakeTime(2026, 12, 8); // and a rotation while running
        log.WritePending();
    }

    for (const auto& name : foreign) {
        ASSERT_TRUE(temp.Has(name)) << name;
        EXPECT_EQ(ReadFile(temp.File(name)), "not ours: " + name);
    }
    EXPECT_TRUE(fs::is_directory(temp.File("log_11-20-2026.txt")));
    EXPECT_TRUE(fs::is_symlink(temp.File("log_11-21-2026.txt.gz")));
    EXPECT_EQ(ReadFile(temp.File("target_of_link.txt")), "target");
    EXPECT_FALSE(temp.Has(LogName(2026, 11, 29)));
    EXPECT_FALSE(temp.Has(GzName(2026, 11, 1)));
    EXPECT_FALSE(temp.Has(GzName(2025, 12, 7)));
    EXPECT_TRUE(temp.Has(GzName(2026, 12, 7)));
    EXPECT_TRUE(temp.Has(LogName(2026, 12, 8)));
}

TEST(LogRotation, CompressionPausesAfterEachGroupOfChunks) {
    const std::string text(16384 * 2 + 100, 'x'); // two full chunks and a last partial one
    struct Case {
        int pauseMs, chunksPerPause;
        std::vector<int> expected;
    };
    for (const Case& c : {Case{0, 1, {10, 10}}, Case{5, 1, {15, 15}}, Case{0, 2, {10}},
                          Case{0, 3, {}}, Case{0, 0, {}}, Case{7, -1, {}}}) {
        TempLogDir temp("pause");
        FakeClock clock;
        WriteFile(temp.File(LogName(2026, 12, 6)), text);
        LogManager log(temp.Dir(), 7, c.pauseMs, c.chunksPerPause, clock.Hooks());
        log.WritePending();
        EXPECT_EQ(clock.sleeps, c.expected) << c.pauseMs << " " << c.chunksPerPause;
        EXPECT_EQ(Gunzip(temp.File(GzName(2026, 12, 6))), text);
    }
}

// If the .gz cannot be created, the day's text log is kept (rather than left to
// the sweep), a warning says so, and a later rotation compresses it.
TEST(LogRotation, TextLogIsKeptWhenItsGzipCannotBeCreated) {
    TempLogDir temp("nogz");
    FakeClock clock;
    const std::string text = temp.File(LogName(2026, 12, 6));
    const std::string gz = temp.File(GzName(2026, 12, 6));
    WriteFile(text, "precious\n");
    fs::create_directory(gz); // blocks the creation of the .gz
    {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        log.WritePending();
        EXPECT_EQ(ReadFile(text), "precious\n");
        EXPECT_TRUE(fs::is_directory(gz));
        const std::string today = ReadFile(temp.File(LogName(2026, 12, 7)));
        EXPECT_NE(today.find("Warning | LogMgr | "), std::string::npos) << today;
        EXPECT_NE(today.find("the text log is kept"), std::string::npos) << today;
    }
    fs::remove(gz);
    clock.now = MakeTime(2026, 12, 8);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    log.WritePending();
    EXPECT_FALSE(temp.Has(LogName(2026, 12, 6)));
    EXPECT_EQ(Gunzip(gz), "precious\n");
}

namespace {
// Every write past `bytes` in a file fails with EFBIG (SIGXFSZ ignored) while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool Active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};
} // namespace

// A write error while compressing removes the partial .gz and keeps the text log.
TEST(LogRotation, PartialGzipIsRemovedAndTextKeptWhenCompressionFails) {
    TempLogDir temp("writefail");
    const std::string full = temp.File("full-device"); // the test's own, never /dev/full
    if (!MakeDevice(full, DeviceKind::Full))
        GTEST_SKIP() << "needs a full device (mknod) to make writes fail";
    FakeClock clock;
    const std::string text = temp.File(LogName(2026, 12, 5));
    const std::string gz = temp.File(GzName(2026, 12, 5));
    std::string content;
    for (int i = 0; i < 20000; ++i)
        content += std::to_string(i * 2654435761u) + "\n"; // compresses to far more than 16 KiB
    WriteFile(text, content);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    {
        FileSizeLimit limit(16384);
        if (!limit.Active())
            GTEST_SKIP() << "cannot limit the file size";
        log.WritePending();
    }
    EXPECT_FALSE(temp.Has(GzName(2026, 12, 5))); // the partial output is gone
    EXPECT_EQ(ReadFile(text), content);          // the text survived the sweep
    EXPECT_NE(ReadFile(temp.File(LogName(2026, 12, 7))).find("Could not compress"),
              std::string::npos);
    // The next day's rotation tries again and succeeds.
    clock.now = MakeTime(2026, 12, 8);
    log.WritePending();
    EXPECT_FALSE(temp.Has(LogName(2026, 12, 5)));
    EXPECT_TRUE(GzipTestPasses(gz));
    EXPECT_EQ(Gunzip(gz), content);
}

// Compression is the writer thread's work, and a stop does not wait for it: the interrupted
// day keeps its text log for the next run.
TEST(LogRotation, CompressionRunsOnTheWriterThreadAndGivesWayToAStop) {
    TempLogDir temp("writer");
    FakeClock clock;
    const std::string text(16384 * 4, 'y');
    WriteFile(temp.File(LogName(2026, 12, 6)), text);
    std::promise<std::thread::id> pausedOn;
    std::atomic<LogManager*> running{nullptr};
    LogManagerHooks hooks = clock.Hooks();
    hooks.sleep = [&](int) {
        if (LogManager* log = running.exchange(nullptr)) {
            pausedOn.set_value(std::this_thread::get_id());
            log->RequestStop(); // a stop arrives during the compression
        }
    };
    LogManager log(temp.Dir(), 7, 0, 1, hooks);
    ASSERT_TRUE(temp.Has(LogName(2026, 12, 6))); // not compressed here, by the caller
    running = &log;
    std::future<std::thread::id> paused = pausedOn.get_future();
    log.Start();
    // Bounded only so that a rotation that never pauses fails instead of hanging.
    ASSERT_EQ(paused.wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << "the compression of the day before never paused";
    EXPECT_NE(paused.get(), std::this_thread::get_id());
    log.Stop();
    EXPECT_EQ(ReadFile(temp.File(LogName(2026, 12, 6))), text);
    EXPECT_FALSE(temp.Has(GzName(2026, 12, 6)));
}

// A run that ends before the writer's first wake-up still rotates once, in the final drain at
// the stop, and compresses the previous days completely (the stop does not interrupt it).
TEST(LogRotation, ARunEndingBeforeTheFirstWakeUpStillRotatesAtTheStop) {
    TempLogDir temp("shortrun");
    FakeClock clock;
    const std::string yesterday(16384 * 3 + 7, 'z'); // several chunks, a pause between them
    WriteFile(temp.File(LogName(2026, 12, 6)), yesterday);
    WriteFile(temp.File(GzName(2026, 11, 1)), "too old");
    {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        log.Start();
        log.Log(LogManager::Info, "App", "f.cpp", 1, "the only line");
        log.Stop();
    }
    EXPECT_EQ(temp.Names(), (std::vector<std::string>{GzName(2026, 12, 6), LogName(2026, 12, 7)}));
    EXPECT_EQ(Gunzip(temp.File(GzName(2026, 12, 6))), yesterday);
    EXPECT_NE(ReadFile(temp.File(LogName(2026, 12, 7))).find("| the only line"), std::string::npos);
}
