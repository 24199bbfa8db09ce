#pragma once
// The main loop's timing rules: a 16.6 ms target period, a sleep only when more than 3 ms of
// it remain, the measured pass duration as the next step (33 ms for the first pass, clamped to
// 100 ms for long or negative passes) and a running average of the pass duration.
// While nothing is shown (the window minimised or hidden) the period is 100 ms instead: the
// simulation goes on in steps of the same length, and the program wakes ten times a second.
// The clock and the sleep come from outside so the rules can be driven by a fake clock.

#include <functional>

class CMainLoopTimer {
public:
    using Clock = std::function<double()>;  // now, in milliseconds
    using Sleep = std::function<void(int)>; // sleep whole milliseconds
    using AverageReport = std::function<void(double avgPeriodMs)>;

    static constexpr double kTargetPeriodMs = 16.6;
    static constexpr double kIdlePeriodMs = 100.0;
    static constexpr double kMinSleepMs = 3.0;
    static constexpr double kMaxStepMs = 100.0;
    static constexpr double kFirstStepMs = 33.0;
    static constexpr long kAverageReportPasses = 1000;

    CMainLoopTimer(Clock clock, Sleep sleep, AverageReport report = {});

    // Starts a pass; returns the step for it in seconds (the previous pass's duration).
    double BeginPass();
    // Ends a pass: sleeps away the rest of the target period, measures the pass, updates the
    // average and reports it every 1000 passes.
    void EndPass();

    // Idle passes aim at kIdlePeriodMs; the pass under way ends by the new rule.
    void SetIdle(bool idle) { idle_ = idle; }
    bool IsIdle() const { return idle_; }

    double StepMs() const { return dtMs_; }
    double AveragePeriodMs() const { return avgPeriodMs_; }
    long PassCount() const { return passCount_; }

private:
    Clock clock_;
    Sleep sleep_;
    AverageReport report_;
    double dtMs_ = kFirstStepMs;
    double avgPeriodMs_ = kFirstStepMs;
    long passCount_ = 0;
    double t0_ = 0;
    bool idle_ = false;
};

// Milliseconds from a monotonic high-resolution clock.
double SteadyClockMs();
// Sleeps the calling thread for whole milliseconds.
void SleepMs(int milliseconds);
