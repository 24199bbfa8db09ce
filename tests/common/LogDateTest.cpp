// The dates of the log files checked against a second implementation, std::chrono's calendar:
// every candidate name over many years, and daily runs across month, year and century ends with
// the keepDays window, plus the names that must never count as ours.
#include "tests/common/LogTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace chr = std::chrono;

namespace {

// A real calendar date as written in a name (year 0000 is not one).
bool OracleRealDate(int year, int month, int day) {
    if (year < 1 || month < 0 || day < 0)
        return false;
    return chr::year_month_day{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                               chr::day{static_cast<unsigned>(day)}}
        .ok();
}

std::string OracleName(int year, int month, int day, const char* ending) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "log_%02d-%02d-%04d%s", month, day, year, ending);
    return buffer;
}

std::string OracleName(chr::sys_days day, const char* ending) {
    const chr::year_month_day date{day};
    return OracleName(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                      static_cast<int>(unsigned(date.day())), ending);
}

std::tm AtTenPast(chr::sys_days day, int hour) {
    const chr::year_month_day date{day};
    return MakeTime(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                    static_cast<int>(unsigned(date.day())), hour, 10);
}

// A local time zone with daylight saving time for the test's duration (a POSIX rule, so no
// time zone database is needed), to keep "the day before" independent of 23- and 25-hour days.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            saved_ = old, hadOne_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOne_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string saved_;
    bool hadOne_ = false;
};

// Runs one log manager from `first` to `last`, logging a line on each visited day, mostly
// daily with some gaps (some longer than keepDays), and checks after every day that the folder
// holds today's text log and exactly the compressed logs of the visited days in the window.
void RunDaysAndCheckTheWindow(chr::sys_days first, chr::sys_days last, int keepDays) {
    TempLogDir temp("window" + std::to_string(keepDays));
    FakeClock clock;
    clock.now = AtTenPast(first, 9);
    LogManager log(temp.Dir(), keepDays, 0, 0, clock.Hooks());
    std::set<chr::sys_days> visited;
    int step = 0;
    for (chr::sys_days today = first; today <= last; ++step) {
        clock.now = AtTenPast(today, step % 2 == 0 ? 0 : 23); // either end of the day
        log.Log(LogManager::Info, "App", "f.cpp", 1, "a line");
        log.WritePending();
        visited.insert(today);
        std::set<std::string> expected{OracleName(today, ".txt")};
        for (chr::sys_days day : visited)
            if (day < today && day >= today - chr::days{keepDays})
                expected.insert(OracleName(day, ".txt.gz"));
        const std::vector<std::string> names = temp.Names();
        ASSERT_EQ(std::set<std::string>(names.begin(), names.end()), expected)
            << "on " << OracleName(today, "") << " with keepDays " << keepDays;
        today += chr::days{step % 29 == 28 ? keepDays + 2 : step % 11 == 10 ? 3 : 1};
    }
}

constexpr chr::sys_days Day(int year, unsigned month, unsigned day) {
    return chr::sys_days{chr::year{year} / chr::month{month} / chr::day{day}};
}

} // namespace

TEST(LogDates, EveryCandidateNameIsOwnExactlyWhenTheCalendarHasThatDate) {
    std::vector<int> years = {0, 1, 4, 99, 100, 400, 1600, 1700, 1800, 2400, 9996, 9999};
    for (int year = 1890; year <= 2110; ++year)
        years.push_back(year);
    int checked = 0;
    std::vector<std::string> wrong;
    for (int year : years)
        for (int month = 0; month <= 13; ++month)
            for (int day = 0; day <= 32; ++day)
                for (const char* ending : {".txt", ".txt.gz"}) {
                    const std::string name = OracleName(year, month, day, ending);
                    ++checked;
                    if (LogManager::IsOwnLogFileName(name) != OracleRealDate(year, month, day))
                        wrong.push_back(name);
                }
    EXPECT_EQ(checked, static_cast<int>(years.size()) * 14 * 33 * 2);
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " names judged wrongly, the first "
                               << (wrong.empty() ? "" : wrong.front());
}

TEST(LogDates, NamesThatAreNoRealDateOrNotExactlyOursAreNotOwn) {
    for (const char* name :
         {"log_02-29-2023.txt",       "log_02-29-2100.txt.gz", "log_02-29-1900.txt",
          "log_02-30-2024.txt",       "log_04-31-2026.txt",    "log_06-31-2026.txt",
          "log_09-31-2026.txt",       "log_11-31-2026.txt",    "log_00-10-2026.txt",
          "log_13-01-2026.txt",       "log_12-32-2026.txt",    "log_99-99-9999.txt",
          "log_1-01-2026.txt.gz",     "log_01-1-2026.txt",     "log_01-01-202.txt",
          "log_01-01-20266.txt",      "log_+1-01-2026.txt",    "log_ 1-01-2026.txt",
          "log_01-01- 2026.txt",      "log_-1-01-2026.txt",    "log_01/01/2026.txt",
          "log_01-01-2026.txt.gz.gz", "log_01-01-2026.gz.txt", "log_01-01-2026.txt ",
          " log_01-01-2026.txt",      "log_01-01-2026.txt\n",  "log__01-01-2026.txt",
          "log_01-01-2026.tx",        "log_01-01-2026",        "log_01-01-2026.txt.g",
          "log_01-01-2026.txt.gzip",  "log_01-01-2026.text",   "log_01-01-2026.txt.GZ",
          "Log_01-01-2026.txt",       "log_01-01-2026.txt/",   "log_01-01-2026.txt.gz~",
          "log_01-01-2026.txt.tmp",   ".log_01-01-2026.txt"}) {
        EXPECT_FALSE(LogManager::IsOwnLogFileName(name)) << "\"" << name << "\"";
    }
    // A NUL inside the name.
    EXPECT_FALSE(LogManager::IsOwnLogFileName(std::string("log_01-01-2026\0txt", 18)));
    for (const char* name : {"log_02-29-2000.txt", "log_02-29-2024.txt.gz", "log_02-29-1600.txt",
                             "log_12-31-9999.txt.gz", "log_01-01-0001.txt", "log_02-28-2100.txt",
                             "log_04-30-2026.txt", "log_01-31-2026.txt", "log_03-31-2026.txt"})
        EXPECT_TRUE(LogManager::IsOwnLogFileName(name)) << name;
}

// Month ends, year ends, Feb 29 in 2000 and 2024 and none in 2100, in a zone with daylight
// saving time; every day compared with the names std::chrono gives.
TEST(LogDates, DailyRunsKeepTodayAndExactlyTheCompressedDaysOfTheWindow) {
    ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
    RunDaysAndCheckTheWindow(Day(1999, 10, 20), Day(2000, 4, 10), 7);
    RunDaysAndCheckTheWindow(Day(2023, 12, 1), Day(2025, 1, 15), 7);
    RunDaysAndCheckTheWindow(Day(2099, 12, 10), Day(2100, 3, 20), 7);
    RunDaysAndCheckTheWindow(Day(2024, 1, 20), Day(2024, 3, 10), 1);
    RunDaysAndCheckTheWindow(Day(2026, 1, 10), Day(2026, 4, 30), 31);
    RunDaysAndCheckTheWindow(Day(2026, 2, 20), Day(2026, 3, 10), 0);
}
