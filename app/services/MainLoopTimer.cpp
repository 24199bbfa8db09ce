#include "app/services/MainLoopTimer.h"

#include <chrono>
#include <thread>

CMainLoopTimer::CMainLoopTimer(Clock clock, Sleep sleep, AverageReport report)
    : clock_(std::move(clock)), sleep_(std::move(sleep)), report_(std::move(report)) {}

double CMainLoopTimer::BeginPass() {
    ++passCount_;
    t0_ = clock_();
    return dtMs_ / 1000.0;
}

void CMainLoopTimer::EndPass() {
    const double remaining = (idle_ ? kIdlePeriodMs : kTargetPeriodMs) - (clock_() - t0_);
    if (remaining > kMinSleepMs) {
        sleep_(static_cast<int>(remaining));
    }
    dtMs_ = clock_() - t0_;
    if (dtMs_ > kMaxStepMs || dtMs_ < 0) {
        dtMs_ = kMaxStepMs;
    }
    avgPeriodMs_ = 0.1 * avgPeriodMs_ + 0.9 * dtMs_;
    if (passCount_ % kAverageReportPasses == 0 && report_) {
        report_(avgPeriodMs_);
    }
}

// The steady clock is always available here, so the tick-count fallback of a missing
// high-resolution counter is not needed.
double SteadyClockMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
