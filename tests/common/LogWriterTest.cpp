// The writer: batches, the "Getting Behind" warning, the listener, the final drain at stop,
// the stop timeout, and the capped queue while no file can be opened.
#include "tests/common/LogTestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <utility>

namespace fs = std::filesystem;

namespace {
struct RecordingListener : CLogListener {
    std::vector<std::pair<int, std::string>> lines;
    void OnLog(int level, const std::string& text) override { lines.emplace_back(level, text); }
};
} // namespace

TEST(LogWriter, BatchOf5001EntriesPrintsGettingBehindOnceAnd5000DoesNot) {
    TempLogDir temp("behind");
    FakeClock clock;
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    for (int i = 0; i < 5000; ++i)
        log.Log(LogManager::Info, "App", "f.cpp", 1, "entry %d", i);
    log.WritePending();
    EXPECT_TRUE(clock.printed.empty());

    for (int i = 0; i < 5001; ++i)
        log.Log(LogManager::Info, "App", "f.cpp", 1, "entry %d", i);
    log.WritePending();
    EXPECT_EQ(clock.printed,
              std::vector<std::string>{"Getting Behind on logging: count is: 5001 \n"});
    // The warning is printed only, not logged.
    const std::string file = ReadFile(temp.File(LogName(2026, 12, 7)));
    EXPECT_EQ(SplitLines(file).size(), 10001u);
    EXPECT_EQ(file.find("Getting Behind"), std::string::npos);

    log.WritePending(); // an empty batch
    EXPECT_EQ(clock.printed.size(), 1u);
}

TEST(LogWriter, ListenerHearsEveryWrittenLineInOrderAndCanBeReplaced) {
    TempLogDir temp("listener");
    FakeClock clock;
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    RecordingListener first, second;
    log.SetListener(&first);
    log.Log(LogManager::Debug, "App", "f.cpp", 1, "one");
    log.Log(LogManager::Info, "App", "f.cpp", 2, "two");
    log.WritePending();
    log.SetListener(&second);
    log.Log(5, "App", "f.cpp", 3, "three");
    log.WritePending();
    log.SetListener(nullptr);
    log.Log(LogManager::Info, "App", "f.cpp", 4, "four");
    log.WritePending();
    ASSERT_EQ(first.lines.size(), 2u);
    EXPECT_EQ(first.lines[0],
              std::make_pair(2, std::string("12/07/26 00:40:12 | Debug | App | f.cpp:1 | one\n")));
    EXPECT_EQ(first.lines[1].first, 3);
    ASSERT_EQ(second.lines.size(), 1u);
    EXPECT_EQ(second.lines[0].first, 5);
    EXPECT_EQ(SplitLines(ReadFile(temp.File(LogName(2026, 12, 7)))).size(), 4u);
}

TEST(LogWriter, LinesQueuedBeforeRequestStopAreWrittenByTheFinalDrain) {
    TempLogDir temp("drain");
    FakeClock clock;
    RecordingListener listener;
    {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        gLogManager = &log;
        log.SetLevel(1);
        log.SetListener(&listener);
        log.Start();
        for (int i = 0; i < 300; ++i)
            LOG_INFO("App", "line %d", i);
        log.RequestStop();
        log.Stop();
        EXPECT_TRUE(log.WaitWriterFinished(0));
        // Accepted after the final drain, never written.
        LOG_INFO("App", "after the stop");
        log.WritePending();
        gLogManager = nullptr;
    }
    const auto lines = SplitLines(ReadFile(temp.File(LogName(2026, 12, 7))));
    ASSERT_EQ(lines.size(), 302u);
    EXPECT_NE(lines.front().find("| Trace | LogMgr | Log_Manager.cpp:"), std::string::npos);
    EXPECT_NE(lines.front().find("| Started Log Manager"), std::string::npos);
    for (int i = 0; i < 300; ++i)
        EXPECT_NE(lines[i + 1].find("| Info | App | LogWriterTest.cpp:"), std::string::npos);
    EXPECT_NE(lines[300].find("| line 299"), std::string::npos);
    EXPECT_NE(lines.back().find("| Trace | LogMgr | "), std::string::npos);
    EXPECT_NE(lines.back().find("| Shutting down Log Manager"), std::string::npos);
    ASSERT_EQ(listener.lines.size(), 302u);
    EXPECT_EQ(listener.lines.back().second, lines.back() + "\n");
}

TEST(LogWriter, StopWithoutStartAndDestructionWithoutStopAreSafe) {
    TempLogDir temp("lifecycle");
    FakeClock clock;
    {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        log.Stop();
    }
    {
        LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
        log.Start();
        log.Log(LogManager::Info, "App", "f.cpp", 1, "written by the stop in the destructor");
    }
    const std::string file = ReadFile(temp.File(LogName(2026, 12, 7)));
    EXPECT_NE(file.find("written by the stop in the destructor"), std::string::npos);
}

// A writer stuck past the stop timeout is detached (std::thread cannot be killed); it finishes
// on its own later without touching freed memory.
TEST(LogWriter, StopGivesUpOnAStuckWriterAndDetachesIt) {
    TempLogDir temp("stuck");
    FakeClock clock;
    struct BlockingListener : CLogListener {
        std::mutex mutex;
        std::condition_variable cv;
        bool released = false;
        int heard = 0;
        void OnLog(int, const std::string& text) override {
            std::unique_lock<std::mutex> lock(mutex);
            ++heard;
            if (text.find("block") != std::string::npos)
                cv.wait(lock, [this] { return released; });
        }
    };
    static BlockingListener listener; // outlives the detached thread
    LogManagerHooks hooks = clock.Hooks();
    hooks.stopTimeoutMs = 50;
    auto log = std::make_unique<LogManager>(temp.Dir(), 7, 0, 1, hooks);
    log->SetListener(&listener);
    log->Start();
    log->Log(LogManager::Info, "App", "f.cpp", 1, "block here");
    log->RequestStop();
    log->Stop(); // returns after the 50 ms timeout
    EXPECT_FALSE(log->WaitWriterFinished(0));
    {
        std::lock_guard<std::mutex> lock(listener.mutex);
        listener.released = true;
    }
    listener.cv.notify_all();
    EXPECT_TRUE(log->WaitWriterFinished(10000));
    log.reset();
    EXPECT_EQ(listener.heard, 3); // started, block, shutting down
}

// While no file can be opened the queue keeps at most kMaxQueuedWithoutFile lines, dropping
// the oldest; once a file opens, one line reports how many were dropped.
TEST(LogWriter, QueueIsCappedWhileNoFileCanBeOpenedAndTheDropIsReported) {
    TempLogDir temp("cap");
    FakeClock clock;
    const std::string today = temp.File(LogName(2026, 12, 7));
    fs::create_directory(today); // today's log cannot be opened
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    EXPECT_FALSE(log.HasOpenFile());

    const std::size_t cap = LogManager::kMaxQueuedWithoutFile;
    for (std::size_t i = 0; i < cap + 5; ++i)
        log.Log(LogManager::Info, "App", "f.cpp", 1, "entry %zu", i);
    EXPECT_EQ(log.QueuedCount(), cap);
    log.WritePending(); // the rotation is tried again and fails again: the lines stay queued
    EXPECT_FALSE(log.HasOpenFile());
    EXPECT_EQ(log.QueuedCount(), cap);
    EXPECT_TRUE(fs::is_directory(today));

    fs::remove(today);
    log.WritePending();
    EXPECT_TRUE(log.HasOpenFile());
    EXPECT_EQ(log.QueuedCount(), 0u);
    const auto lines = SplitLines(ReadFile(today));
    ASSERT_EQ(lines.size(), cap + 1);
    EXPECT_NE(lines[0].find("| Warning | LogMgr | Log_Manager.cpp:"), std::string::npos)
        << lines[0];
    // The oldest six: the line saying why the file could not be opened, and entries 0 to 4.
    EXPECT_NE(lines[0].find("| Dropped the 6 oldest log lines while no log file could be opened"),
              std::string::npos)
        << lines[0];
    EXPECT_EQ(lines[1], "12/07/26 00:40:12 | Info | App | f.cpp:1 | entry 5");
    EXPECT_EQ(lines.back(),
              "12/07/26 00:40:12 | Info | App | f.cpp:1 | entry " + std::to_string(cap + 4));

    // With the file open again nothing is dropped and no drop line is repeated.
    for (std::size_t i = 0; i < cap + 5; ++i)
        log.Log(LogManager::Info, "App", "f.cpp", 1, "more %zu", i);
    EXPECT_EQ(log.QueuedCount(), cap + 5);
    log.WritePending();
    EXPECT_EQ(SplitLines(ReadFile(today)).size(), cap + 1 + cap + 5);
}

// The console never depends on the file (another user's file in the way, a full disk): the
// listener hears each line at once, and the file gets it once it opens.
TEST(LogWriter, WithoutAFileTheListenerHearsEveryLineAndTheFileGetsItLater) {
    TempLogDir temp("nofile");
    FakeClock clock;
    const std::string today = temp.File(LogName(2026, 12, 7));
    fs::create_directory(today);
    LogManager log(temp.Dir(), 7, 0, 1, clock.Hooks());
    RecordingListener console;
    log.SetListener(&console);
    log.Log(LogManager::Info, "App", "f.cpp", 1, "waiting");
    log.WritePending();
    ASSERT_EQ(console.lines.size(), 2u);
    EXPECT_NE(console.lines[0].second.find("| Cannot write the log file " + today + ": "),
              std::string::npos)
        << console.lines[0].second;
    EXPECT_EQ(console.lines[1].second, "12/07/26 00:40:12 | Info | App | f.cpp:1 | waiting\n");
    EXPECT_EQ(log.QueuedCount(), 2u);
    fs::remove(today);
    log.WritePending();
    EXPECT_EQ(ReadFile(today), console.lines[0].second + console.lines[1].second);
    EXPECT_EQ(console.lines.size(), 2u); // heard once
}
