#pragma once
// The program's log manager: callers format a line and append it to an in-memory
// queue; a writer thread drains the queue about once a second into a daily log file
// "log_MM-DD-YYYY.txt", hands each line to an optional listener, and once a day (on its first
// wake-up, and at the change of day; a run that stops before its first wake-up does it in the
// final drain) gzip-compresses the previous days' logs, keeps `keepDays` of them and removes its
// own older log files from its directory (never a file whose name is not exactly one of its
// own). The directory is given by the caller; the program uses a folder of the user's own, so
// no other program's files share it.
//
// Error policy of the log manager: logging never fails its caller. A directory that cannot be
// made or a file that cannot be opened, written or compressed is absorbed: the listener still
// hears every line, the lines wait for a file (up to a limit, then counted as dropped) and the
// writer thread tries again at its next wake-up. Only running out of memory can make the
// constructor throw; the program then runs without logging.
//
// Log files are opened without following links and used only when they are regular files owned
// by the user running the program (checked on the opened file); anything else in a log file's
// place (another user's link, a FIFO) is never written, compressed or removed: the lines go to
// the listener, with one Warning line naming the file and the reason.

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// Receives every written line on the log writer thread.
class CLogListener {
public:
    virtual ~CLogListener() = default;
    virtual void OnLog(int level, const std::string& text) = 0;
};

// Echoes every line to standard output. The level's colour (the level colours as
// ANSI escape sequences) is used only when the output is a terminal.
class CConsole : public CLogListener {
public:
    CConsole(); // standard output; colours when it is a terminal (isatty)
    CConsole(std::FILE* out, bool colour);
    void OnLog(int level, const std::string& text) override;

    // The ANSI foreground sequence for a level 1 to 6; empty for any other level.
    static const char* ColourSequence(int level);
    static constexpr const char* kResetColour = "\x1b[39m";

private:
    std::FILE* out_;
    bool colour_;
    bool broken_ = false; // a write failed: nothing more is written (writer thread only)
};

// Replaceable pieces of the environment, for tests. Every empty member takes the production
// behaviour. They are fixed at construction, so the writer thread can read them freely.
struct LogManagerHooks {
    // The local time used for the line stamps and for "today" in the rotation.
    std::function<std::tm()> localTime;
    // Receives the "Getting Behind on logging" text; production prints it to standard output.
    std::function<void(const std::string&)> print;
    // The compression pause; production waits that long unless a stop comes first.
    std::function<void(int milliseconds)> sleep;
    // How long Stop waits for the writer thread.
    int stopTimeoutMs = 3000;
};

class LogManager {
public:
    // Levels 1 to 6.
    enum Level { Trace = 1, Debug = 2, Info = 3, Warning = 4, Error = 5, Fatal = 6 };

    // Lines kept for the file while none can be opened: at most this many; older lines are
    // dropped and counted (see Log_Manager.cpp).
    static constexpr std::size_t kMaxQueuedWithoutFile = 100000;
    // A drained batch larger than this prints the "Getting Behind" warning.
    static constexpr std::size_t kBehindThreshold = 5000;
    static constexpr int kWakeUpMs = 1000;
    static constexpr std::size_t kCompressChunk = 16384;

    // Normalises the directory, creates it and opens today's file. Old logs are compressed by
    // the writer (the thread, or WritePending), never here: the program does not wait.
    LogManager(const std::string& directory, int keepDays, int compressPauseMs,
               int compressChunksPerPause);
    LogManager(const std::string& directory, int keepDays, int compressPauseMs,
               int compressChunksPerPause, LogManagerHooks hooks);
    // Stops the writer thread if it is still running (as Stop does).
    ~LogManager();
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    void SetLevel(int threshold);
    // A per-category threshold; 0 removes it, so the global threshold applies.
    void SetCategoryLevel(const std::string& category, int threshold);
    // Installs the listener (not owned), replacing the previous one; null removes it.
    void SetListener(CLogListener* listener);
    // Starts the writer thread and logs "Started Log Manager".
    void Start();

    // Formats and queues one line when `level` reaches the category's threshold. Call sites use
    // the LOG_* macros below, which pass their file and line.
    void Log(int level, const char* category, const char* file, int line, const char* format, ...)
        __attribute__((format(printf, 6, 7)));

    // Logs "Shutting down Log Manager" and signals the writer thread to stop.
    void RequestStop();
    // Signals the stop again and waits up to 3000 ms for the writer's final drain. A
    // compression under way gives way to the stop (the text log stays for the next run); a
    // rotation that has not run yet today runs in the final drain, after the queued lines.
    void Stop();

    // The normalised log directory (ends with the platform's separator).
    const std::string& Directory() const;
    // The number of lines not written to a file yet (queued, or waiting for a file).
    std::size_t QueuedCount() const;
    // Whether today's log file is open (not while none can be opened, or it is not ours).
    bool HasOpenFile() const;
    // One wake-up of the writer (rotation check, then drain) on the calling thread. For tests
    // and tools that run without the writer thread; does nothing while the thread runs.
    void WritePending();
    // Waits up to `milliseconds` for the writer thread routine to have returned; true if it
    // has (also when it was never started and Stop has been called).
    bool WaitWriterFinished(int milliseconds);

    // Helpers of the formats, public for tests.
    static std::string NormaliseDirectory(const std::string& directory);
    static std::string BaseName(const char* path);
    static const char* LevelPrefix(int level);
    static std::string FormatLine(int level, const std::string& category, const char* file,
                                  int line, const std::string& message, const std::tm& time);
    // "log_MM-DD-YYYY.txt" or "log_MM-DD-YYYY.txt.gz" with a real calendar date.
    static bool IsOwnLogFileName(const std::string& name);

private:
    struct Impl; // shared with the writer thread, so a detached thread never dangles

    std::shared_ptr<Impl> impl_;
    std::thread thread_;
};

// The process-wide log manager; null when there is none.
extern LogManager* gLogManager;

// Call-site macros: nothing is evaluated when there is no log manager.
#define GS_LOG_AT(level, category, ...)                                                            \
    do {                                                                                           \
        if (gLogManager != nullptr)                                                                \
            gLogManager->Log((level), (category), __FILE__, __LINE__, __VA_ARGS__);                \
    } while (0)
#define LOG_DEBUG(category, ...) GS_LOG_AT(LogManager::Debug, category, __VA_ARGS__)
#define LOG_INFO(category, ...) GS_LOG_AT(LogManager::Info, category, __VA_ARGS__)
#define LOG_WARNING(category, ...) GS_LOG_AT(LogManager::Warning, category, __VA_ARGS__)
#define LOG_ERROR(category, ...) GS_LOG_AT(LogManager::Error, category, __VA_ARGS__)
