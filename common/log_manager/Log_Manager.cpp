#include "common/log_manager/Log_Manager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdarg>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

LogManager* gLogManager = nullptr;

namespace {
// Compress's result when a stop came first; zlib's own results are 0 or negative.
constexpr int kInterrupted = 100;

struct LogEntry {
    std::string text; // the complete line, with its final "\n"
    int level;
};

std::tm SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}

// "%m-%d-%Y", the date part of the log file names.
std::string DateText(const std::tm& date) {
    char buffer[32];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%m-%d-%Y", &date);
    return std::string(buffer, n);
}

// The calendar day `days` before `today`. Noon keeps a daylight-saving change from moving the
// date.
std::tm DaysBefore(const std::tm& today, int days) {
    std::tm day{};
    day.tm_year = today.tm_year;
    day.tm_mon = today.tm_mon;
    day.tm_mday = today.tm_mday - days;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    std::mktime(&day);
    return day;
}

// Why a log file could not be opened, from open's errno.
std::string OpenFailure(int error) {
    if (error == ELOOP)
        return "it is a symbolic link";
    if (error == ENXIO) // a FIFO without a reader, a device without its driver
        return "it is not a regular file";
    return std::error_code(error, std::generic_category()).message();
}

// Opens a log file as a stream: never through a symbolic link, and only a regular file owned by
// the user running the program, checked on the opened descriptor (a separate stat could be
// raced). O_NONBLOCK keeps the open from waiting for a FIFO's reader; it has no effect on the
// regular file kept. Null when refused, with the reason; `info` receives the file's status.
std::FILE* OpenOwnFile(const std::string& path, int flags, const char* mode, std::string& reason,
                       struct stat& info) {
    const int fd =
        ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        reason = OpenFailure(errno);
        return nullptr;
    }
    if (::fstat(fd, &info) != 0)
        reason = OpenFailure(errno);
    else if (!S_ISREG(info.st_mode))
        reason = "it is not a regular file";
    else if (info.st_uid != ::geteuid())
        reason = "it belongs to another user (uid " + std::to_string(info.st_uid) + ")";
    else if (std::FILE* stream = ::fdopen(fd, mode))
        return stream;
    else
        reason = OpenFailure(errno);
    ::close(fd);
    return nullptr;
}

// Whether `path` still names the file whose status is `info` (not a link or file put there
// since).
bool IsSameFile(const std::string& path, const struct stat& info) {
    struct stat now {};
    return ::lstat(path.c_str(), &now) == 0 && now.st_dev == info.st_dev &&
           now.st_ino == info.st_ino;
}

// Removes `path` only if it is still the file we opened.
void RemoveIfSame(const std::string& path, const struct stat& info) {
    if (IsSameFile(path, info))
        ::unlink(path.c_str());
}

// A regular file (not a link) owned by the user running the program.
bool IsOwnRegularFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// The printf-style message of a log call.
__attribute__((format(printf, 1, 0))) std::string FormatMessage(const char* format, va_list args) {
    std::string message;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length > 0) {
        message.resize(static_cast<std::size_t>(length));
        std::vsnprintf(message.data(), message.size() + 1, format, args);
    }
    return message;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kDays[month - 1];
}

} // namespace

struct LogManager::Impl {
    Impl(std::string dir, int keep, int pauseMs, int chunksPerPause, LogManagerHooks h)
        : directory(std::move(dir)), keepDays(keep), compressPauseMs(pauseMs),
          compressChunksPerPause(chunksPerPause <= 0 ? INT_MAX : chunksPerPause),
          hooks(std::move(h)) {
        if (!hooks.localTime)
            hooks.localTime = SystemLocalTime;
        if (!hooks.print)
            hooks.print = [](const std::string& text) {
                std::fputs(text.c_str(), stdout);
                std::fflush(stdout);
            };
        if (!hooks.sleep)
            hooks.sleep = [this](int ms) { WaitForStop(ms); };
    }
    ~Impl() {
        if (file != nullptr)
            std::fclose(file);
    }

    int ThresholdFor(const char* category) const;
    void Push(int level, std::string text);
    void WarnFromWriter(const char* file, int line, const std::string& message);
    void OpenToday(const std::string& todayPath);
    void ReportOpenFailure(const std::string& failure);
    void KeepTodayOpen(const std::tm& now);
    void RotationCheck();
    void Rotate(const std::tm& now);
    bool CompressDay(const std::string& textPath, std::set<std::string>& keep);
    int Compress(std::FILE* in, std::FILE* out);
    void Sweep(const std::set<std::string>& keep);
    void Drain();
    void WriteUnwritten();
    void KeepUnwritten(LogEntry entry);
    void WakeUp();
    void FinalWakeUp();
    void WriterLoop();
    void WaitForStop(int milliseconds);
    bool Stopping() const { return stopping.load(); }

    // Fixed at construction.
    const std::string directory;
    const int keepDays;
    const int compressPauseMs;
    const int compressChunksPerPause;
    LogManagerHooks hooks;

    std::atomic<int> threshold{1};
    std::atomic<bool> hasCategoryLevels{false};
    std::atomic<CLogListener*> listener{nullptr};
    std::atomic<bool> fileOpen{false};
    std::atomic<bool> stopping{false};          // a stop was requested: compression gives way
    std::atomic<std::size_t> unwrittenCount{0}; // unwritten.size(), for QueuedCount

    // Touched only by the writer (the thread, or WritePending while there is no thread).
    std::FILE* file = nullptr;
    std::string filePath;
    struct stat fileInfo {};
    std::string openFailure;        // the last failure reported, so it is reported once
    std::string rotatedDay;         // the day whose old logs have been compressed and swept
    bool rotationGaveWay = false;   // a rotation under way gave way to the stop
    bool finishingRotation = false; // the final drain's rotation: it does not give way
    std::deque<LogEntry> draining;
    // Lines the listener has heard that wait for a file to open (at most
    // kMaxQueuedWithoutFile; older ones are dropped and counted in unwrittenDropped).
    std::deque<LogEntry> unwritten;
    std::size_t unwrittenDropped = 0;

    // Guarded by `mutex`: the active queue, the drop count, the per-category thresholds and
    // the thread's stop and finished state.
    mutable std::mutex mutex;
    std::deque<LogEntry> active;
    std::size_t dropped = 0;
    std::map<std::string, int, std::less<>> categoryLevels;
    bool stopRequested = false;
    bool threadStarted = false;
    bool finished = false;
    std::condition_variable stopCv;
    std::condition_variable finishedCv;
};

int LogManager::Impl::ThresholdFor(const char* category) const {
    if (hasCategoryLevels.load()) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = categoryLevels.find(std::string_view(category));
        if (it != categoryLevels.end() && it->second != 0)
            return it->second;
    }
    return threshold.load();
}

void LogManager::Impl::Push(int level, std::string text) {
    std::lock_guard<std::mutex> lock(mutex);
    // After the final drain nothing is written any more: the line is accepted and discarded
    // rather than kept in memory for nothing.
    if (finished)
        return;
    // While no log file is open the queue is capped at kMaxQueuedWithoutFile lines, for when
    // nothing drains it (WritePending users): beyond that the oldest line is dropped and
    // counted, and the first drain after a file opens writes one line with the count before
    // the lines that waited. While a file is open the queue is not limited.
    if (!fileOpen.load() && active.size() >= kMaxQueuedWithoutFile) {
        active.pop_front();
        ++dropped;
    }
    active.push_back(LogEntry{std::move(text), level});
}

// A warning of the writer about itself, queued like any other line (written by this drain).
void LogManager::Impl::WarnFromWriter(const char* file, int line, const std::string& message) {
    if (Warning < ThresholdFor("LogMgr"))
        return;
    Push(Warning, FormatLine(Warning, "LogMgr", file, line, message, hooks.localTime()));
}

// Returns 0, -1 on a read or write error, zlib's error, or kInterrupted when a stop came.
int LogManager::Impl::Compress(std::FILE* in, std::FILE* out) {
    z_stream stream{};
    const int init = deflateInit2_(&stream, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                                   static_cast<int>(sizeof(z_stream)));
    if (init != Z_OK)
        return init;
    std::vector<unsigned char> input(kCompressChunk);
    std::vector<unsigned char> output(kCompressChunk);
    int chunks = 0;
    int flush = Z_NO_FLUSH;
    do {
        stream.avail_in = static_cast<uInt>(std::fread(input.data(), 1, input.size(), in));
        if (std::ferror(in)) {
            deflateEnd(&stream);
            return -1;
        }
        flush = std::feof(in) ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = input.data();
        do {
            stream.avail_out = static_cast<uInt>(output.size());
            stream.next_out = output.data();
            if (deflate(&stream, flush) == Z_STREAM_ERROR) {
                deflateEnd(&stream);
                return -1;
            }
            const std::size_t produced = output.size() - stream.avail_out;
            if (std::fwrite(output.data(), 1, produced, out) != produced || std::ferror(out)) {
                deflateEnd(&stream);
                return -1;
            }
        } while (stream.avail_out == 0);
        if (flush != Z_FINISH && ++chunks >= compressChunksPerPause) {
            // The day's lines go on being written during a long compression.
            Drain();
            hooks.sleep(compressPauseMs + 10);
            chunks = 0;
        }
        if (Stopping() && !finishingRotation) {
            deflateEnd(&stream);
            return kInterrupted;
        }
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    return 0;
}

// The directory is made again if it has gone (the user may have cleaned it up).
void LogManager::Impl::OpenToday(const std::string& todayPath) {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
        filePath.clear();
    }
    std::error_code ec;
    const std::string dirPath = directory.substr(0, directory.size() - 1);
    if (!dirPath.empty() && !fs::is_directory(dirPath, ec))
        fs::create_directories(dirPath, ec);
    std::string reason;
    file = OpenOwnFile(todayPath, O_WRONLY | O_APPEND | O_CREAT, "a", reason, fileInfo);
    if (file != nullptr) {
        filePath = todayPath;
        openFailure.clear();
    } else {
        ReportOpenFailure(todayPath + ": " + reason);
    }
    fileOpen.store(file != nullptr);
}

// Once per failure, not at every wake-up; the lines wait for the file meanwhile.
void LogManager::Impl::ReportOpenFailure(const std::string& failure) {
    if (failure == openFailure)
        return;
    openFailure = failure;
    WarnFromWriter(__FILE__, __LINE__,
                   "Cannot write the log file " + failure +
                       "; logging to the console only until it can be opened");
}

// Today's file is opened first, so the previous day's file is closed before it is compressed
// and the lines logged meanwhile have a place to go. A file removed or replaced under us (the
// user cleaned up, or a link was put in its place) is opened again, with the same checks.
void LogManager::Impl::KeepTodayOpen(const std::tm& now) {
    const std::string todayPath = directory + "log_" + DateText(now) + ".txt";
    if (file == nullptr || filePath != todayPath || !IsSameFile(todayPath, fileInfo))
        OpenToday(todayPath);
}

// Compressing and sweeping happen once a day, on the writer (never in the constructor: the
// program does not wait for them), and give way to a stop; the next run tries again.
void LogManager::Impl::RotationCheck() {
    const std::tm now = hooks.localTime();
    KeepTodayOpen(now);
    if (rotatedDay != DateText(now) && !Stopping())
        Rotate(now);
}

void LogManager::Impl::Rotate(const std::tm& now) {
    const std::string today = DateText(now);
    std::set<std::string> keep{directory + "log_" + today + ".txt"};
    for (int back = keepDays; back >= 1; --back) { // oldest first
        const std::string textPath = directory + "log_" + DateText(DaysBefore(now, back)) + ".txt";
        keep.insert(textPath + ".gz");
        if (IsOwnRegularFile(textPath) && !CompressDay(textPath, keep)) {
            rotationGaveWay = true;
            return;
        }
    }
    Sweep(keep);
    rotatedDay = today;
}

// A day whose compression fails (the text cannot be read, the .gz cannot be created, a zlib,
// read or write error) keeps its text log: it joins the keep set, a partly written .gz is
// removed, and a Warning line says so. The next rotation tries that day again; once the day is
// older than keepDays the sweep removes it like any other old log. False when a stop
// interrupted it (the text log stays, the partial .gz goes). Neither file is opened through a
// link or unless it is a regular file of ours; an existing .gz is emptied only after that check.
bool LogManager::Impl::CompressDay(const std::string& textPath, std::set<std::string>& keep) {
    const std::string gzPath = textPath + ".gz";
    std::string reason;
    struct stat textInfo {};
    std::FILE* in = OpenOwnFile(textPath, O_RDONLY, "rb", reason, textInfo);
    if (in == nullptr) {
        keep.insert(textPath);
        WarnFromWriter(__FILE__, __LINE__,
                       "Could not read " + textPath + " to compress it (" + reason +
                           "); the text log is kept");
        return true;
    }
    struct stat gzInfo {};
    std::FILE* out = OpenOwnFile(gzPath, O_WRONLY | O_CREAT, "wb", reason, gzInfo);
    if (out != nullptr && ::ftruncate(::fileno(out), 0) != 0) {
        reason = OpenFailure(errno);
        std::fclose(out);
        out = nullptr;
    }
    if (out == nullptr) {
        std::fclose(in);
        keep.insert(textPath);
        WarnFromWriter(__FILE__, __LINE__,
                       "Could not create " + gzPath + " (" + reason + "); the text log is kept");
        return true;
    }
    int result = Compress(in, out);
    std::fclose(in);
    if (std::fclose(out) != 0 && result == 0)
        result = -1;
    if (result == 0) {
        RemoveIfSame(textPath, textInfo);
        return true;
    }
    RemoveIfSame(gzPath, gzInfo);
    keep.insert(textPath);
    if (result != kInterrupted)
        WarnFromWriter(__FILE__, __LINE__,
                       "Could not compress " + textPath + " (error " + std::to_string(result) +
                           "); the text log is kept");
    return result != kInterrupted;
}

// Deletes the log manager's own files that are not in the keep set. A name must be exactly
// log_MM-DD-YYYY.txt or log_MM-DD-YYYY.txt.gz with a real date, and the file a regular file
// owned by the user running the program; anything else in the directory (sub-directories,
// symbolic links, other users' files) is never touched.
void LogManager::Impl::Sweep(const std::set<std::string>& keep) {
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec)
        return;
    std::vector<fs::path> doomed;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        const std::string name = it->path().filename().string();
        if (IsOwnLogFileName(name) && IsOwnRegularFile(directory + name) &&
            keep.count(directory + name) == 0)
            doomed.push_back(it->path());
    }
    for (const fs::path& path : doomed)
        fs::remove(path, ec);
}

// The listener hears every line at once, file or not (the console never depends on the log
// file); without a file the lines wait for one (capped, see KeepUnwritten).
void LogManager::Impl::Drain() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::swap(active, draining);
        unwrittenDropped += dropped;
        dropped = 0;
    }
    CLogListener* const target = listener.load();
    if (draining.size() > kBehindThreshold) {
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "Getting Behind on logging: count is: %d \n",
                      static_cast<int>(draining.size()));
        hooks.print(buffer);
    }
    if (file != nullptr)
        WriteUnwritten();
    while (!draining.empty()) {
        LogEntry& entry = draining.front();
        if (target != nullptr)
            target->OnLog(entry.level, entry.text);
        if (file != nullptr)
            std::fwrite(entry.text.data(), 1, entry.text.size(), file);
        else
            KeepUnwritten(std::move(entry));
        draining.pop_front();
    }
    if (file != nullptr)
        std::fflush(file);
}

// The lines that waited for a file, after one line that counts those dropped meanwhile.
void LogManager::Impl::WriteUnwritten() {
    if (unwrittenDropped > 0) {
        const std::string text =
            FormatLine(Warning, "LogMgr", __FILE__, __LINE__,
                       "Dropped the " + std::to_string(unwrittenDropped) +
                           " oldest log lines while no log file could be opened",
                       hooks.localTime());
        std::fputs(text.c_str(), file);
        unwrittenDropped = 0;
    }
    for (const LogEntry& entry : unwritten)
        std::fwrite(entry.text.data(), 1, entry.text.size(), file);
    unwritten.clear();
    unwrittenCount.store(0);
}

void LogManager::Impl::KeepUnwritten(LogEntry entry) {
    if (unwritten.size() >= kMaxQueuedWithoutFile) {
        unwritten.pop_front();
        ++unwrittenDropped;
    }
    unwritten.push_back(std::move(entry));
    unwrittenCount.store(unwritten.size());
}

void LogManager::Impl::WakeUp() {
    RotationCheck();
    Drain();
}

// The lines queued before the stop are written first. Then today's rotation runs if it has not
// (a run shorter than the first wake-up, or a stop just after the change of day), to its end:
// the stop waits for it, up to its timeout. A rotation that already gave way to this stop is
// left to the next run.
void LogManager::Impl::FinalWakeUp() {
    const std::tm now = hooks.localTime();
    KeepTodayOpen(now);
    Drain();
    if (rotatedDay == DateText(now) || rotationGaveWay)
        return;
    finishingRotation = true;
    Rotate(now);
    Drain(); // the rotation's own warnings
}

// The compression pause: a stop ends it at once.
void LogManager::Impl::WaitForStop(int milliseconds) {
    std::unique_lock<std::mutex> lock(mutex);
    stopCv.wait_for(lock, std::chrono::milliseconds(milliseconds),
                    [this] { return stopRequested; });
}

void LogManager::Impl::WriterLoop() {
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!stopCv.wait_for(lock, std::chrono::milliseconds(kWakeUpMs),
                                [this] { return stopRequested; })) {
            lock.unlock();
            WakeUp();
            lock.lock();
        }
    }
    FinalWakeUp(); // everything queued before the stop is written
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    finishedCv.notify_all();
}

LogManager::LogManager(const std::string& directory, int keepDays, int compressPauseMs,
                       int compressChunksPerPause)
    : LogManager(directory, keepDays, compressPauseMs, compressChunksPerPause, LogManagerHooks{}) {}

LogManager::LogManager(const std::string& directory, int keepDays, int compressPauseMs,
                       int compressChunksPerPause, LogManagerHooks hooks)
    : impl_(std::make_shared<Impl>(NormaliseDirectory(directory), keepDays, compressPauseMs,
                                   compressChunksPerPause, std::move(hooks))) {
    // Only today's file: compressing old logs is the writer's work (RotationCheck).
    impl_->OpenToday(impl_->directory + "log_" + DateText(impl_->hooks.localTime()) + ".txt");
}

LogManager::~LogManager() {
    if (thread_.joinable())
        Stop();
}

void LogManager::SetLevel(int threshold) {
    impl_->threshold.store(threshold);
}

void LogManager::SetCategoryLevel(const std::string& category, int threshold) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (threshold == 0)
        impl_->categoryLevels.erase(category);
    else
        impl_->categoryLevels[category] = threshold;
    impl_->hasCategoryLevels.store(!impl_->categoryLevels.empty());
}

void LogManager::SetListener(CLogListener* listener) {
    impl_->listener.store(listener);
}

void LogManager::Start() {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        if (impl_->threadStarted)
            return;
        impl_->threadStarted = true;
    }
    // The thread holds its own reference to the shared state (see Stop).
    thread_ = std::thread([impl = impl_] { impl->WriterLoop(); });
    Log(Trace, "LogMgr", __FILE__, __LINE__, "Started Log Manager");
}

void LogManager::Log(int level, const char* category, const char* file, int line,
                     const char* format, ...) {
    if (category == nullptr)
        category = "";
    if (level < impl_->ThresholdFor(category))
        return;
    va_list args;
    va_start(args, format);
    const std::string message = FormatMessage(format, args);
    va_end(args);
    impl_->Push(level, FormatLine(level, category, file, line, message, impl_->hooks.localTime()));
}

void LogManager::RequestStop() {
    Log(Trace, "LogMgr", __FILE__, __LINE__, "Shutting down Log Manager");
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->stopRequested = true;
    }
    impl_->stopping.store(true);
    impl_->stopCv.notify_all();
}

void LogManager::Stop() {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->stopRequested = true;
    }
    impl_->stopping.store(true);
    impl_->stopCv.notify_all();
    if (!thread_.joinable())
        return;
    if (WaitWriterFinished(impl_->hooks.stopTimeoutMs)) {
        thread_.join();
    } else {
        // The Windows design terminates a writer that has not finished within 3000 ms. A
        // std::thread cannot be killed, so it is detached instead: it goes on (for example
        // stuck in a listener or a blocked write) without being waited for. It holds its own
        // reference to the shared state, so nothing it touches is freed under it; lines it has
        // not written when the process ends are lost, as with the forced termination.
        thread_.detach();
    }
}

bool LogManager::WaitWriterFinished(int milliseconds) {
    std::unique_lock<std::mutex> lock(impl_->mutex);
    if (!impl_->threadStarted)
        return true;
    return impl_->finishedCv.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                      [this] { return impl_->finished; });
}

const std::string& LogManager::Directory() const {
    return impl_->directory;
}

std::size_t LogManager::QueuedCount() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->active.size() + impl_->unwrittenCount.load();
}

bool LogManager::HasOpenFile() const {
    return impl_->fileOpen.load();
}

void LogManager::WritePending() {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        if (impl_->threadStarted && !impl_->finished)
            return;
    }
    impl_->WakeUp();
}

// The Windows design replaces every "/" by "\\" and appends file names to the directory
// directly. Here: the platform's separator, and the directory always ends with one. An empty
// directory means the current one.
std::string LogManager::NormaliseDirectory(const std::string& directory) {
    constexpr char separator = static_cast<char>(fs::path::preferred_separator);
    std::string result = directory.empty() ? std::string(".") : directory;
    if (separator != '/')
        std::replace(result.begin(), result.end(), '/', separator);
    if (result.back() != separator)
        result += separator;
    return result;
}

std::string LogManager::BaseName(const char* path) {
    if (path == nullptr)
        return std::string();
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        slash = std::strrchr(path, '/');
    return std::string(slash == nullptr ? path : slash + 1);
}

const char* LogManager::LevelPrefix(int level) {
    switch (level) {
    case Trace:
        return "Trace | ";
    case Debug:
        return "Debug | ";
    case Info:
        return "Info | ";
    case Warning:
        return "Warning | ";
    case Error:
        return "Error | ";
    case Fatal:
        return "Fatal | ";
    default:
        return "";
    }
}

std::string LogManager::FormatLine(int level, const std::string& category, const char* file,
                                   int line, const std::string& message, const std::tm& time) {
    char stamp[20];
    const std::size_t stampLength = std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S", &time);
    std::string text(stamp, stampLength);
    text += " | ";
    text += LevelPrefix(level);
    text += category;
    text += " | ";
    text += BaseName(file);
    text += ':';
    text += std::to_string(line);
    text += " | ";
    text += message;
    text += '\n';
    return text;
}

bool LogManager::IsOwnLogFileName(const std::string& name) {
    // log_MM-DD-YYYY.txt (18 characters) or log_MM-DD-YYYY.txt.gz (21).
    if (name.size() != 18 && name.size() != 21)
        return false;
    if (name.compare(0, 4, "log_") != 0 || name[6] != '-' || name[9] != '-')
        return false;
    const std::string ending = name.substr(14);
    if (ending != ".txt" && ending != ".txt.gz")
        return false;
    auto number = [&name](std::size_t from, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (name[i] < '0' || name[i] > '9')
                return false;
            value = value * 10 + (name[i] - '0');
        }
        return true;
    };
    int month = 0, day = 0, year = 0;
    if (!number(4, 2, month) || !number(7, 2, day) || !number(10, 4, year))
        return false;
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}
