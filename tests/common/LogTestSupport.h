#pragma once
// Helpers of the log manager tests: unique temporary directories (never the real log files in
// the temporary folder), a settable clock, file reading and gzip checks.

#include "common/log_manager/Log_Manager.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty directory under the system temporary folder, removed again at the end.
class TempLogDir {
public:
    explicit TempLogDir(const std::string& name);
    ~TempLogDir();
    TempLogDir(const TempLogDir&) = delete;
    TempLogDir& operator=(const TempLogDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The directory with a final separator, as the log manager takes it.
    std::string Dir() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    bool Has(const std::string& name) const;
    // The names of the entries directly in the directory, sorted.
    std::vector<std::string> Names() const;

private:
    std::filesystem::path path_;
};

std::tm MakeTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

// A clock the test moves by hand.
struct FakeClock {
    std::tm now = MakeTime(2026, 12, 7, 0, 40, 12);
    LogManagerHooks Hooks() {
        LogManagerHooks hooks;
        hooks.localTime = [this] { return now; };
        hooks.print = [this](const std::string& text) { printed.push_back(text); };
        hooks.sleep = [this](int ms) { sleeps.push_back(ms); };
        return hooks;
    }
    std::vector<std::string> printed;
    std::vector<int> sleeps;
};

// "log_MM-DD-YYYY.txt".
std::string LogName(int year, int month, int day);
std::string GzName(int year, int month, int day);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::vector<std::string> SplitLines(const std::string& text);
// Decompresses a gzip file with zlib; throws on an error.
std::string Gunzip(const std::string& path);
// `gzip -t` on the file.
bool GzipTestPasses(const std::string& path);
