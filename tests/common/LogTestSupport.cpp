#include "tests/common/LogTestSupport.h"

#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempLogDir::TempLogDir(const std::string& name) {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() / ("gs_log_test_" + std::to_string(getpid()) + "_" +
                                         std::to_string(counter++) + "_" + name);
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempLogDir::~TempLogDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool TempLogDir::Has(const std::string& name) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path_ / name, ec));
}

std::vector<std::string> TempLogDir::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::tm MakeTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

std::string LogName(int year, int month, int day) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "log_%02d-%02d-%04d.txt", month, day, year);
    return buffer;
}

std::string GzName(int year, int month, int day) {
    return LogName(year, month, day) + ".gz";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Gunzip(const std::string& path) {
    gzFile in = gzopen(path.c_str(), "rb");
    if (in == nullptr)
        throw std::runtime_error("gzopen failed: " + path);
    std::string result;
    char buffer[8192];
    int n = 0;
    while ((n = gzread(in, buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(n));
    int error = Z_OK;
    gzerror(in, &error);
    const bool notGzip = gzdirect(in) != 0; // zlib reads a plain file through unchanged
    if (notGzip) {
        gzclose(in);
        throw std::runtime_error("not a gzip file: " + path);
    }
    gzclose(in);
    if (n < 0 || error != Z_OK)
        throw std::runtime_error("gzread failed: " + path);
    return result;
}

bool GzipTestPasses(const std::string& path) {
    const std::string command = "gzip -t '" + path + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}
