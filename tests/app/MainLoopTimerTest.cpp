#include "app/services/MainLoopTimer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A clock that only moves when the test (or the timer's sleep) moves it.
struct FakeClock {
    double now = 1000;
    double sleepMovesBack = 0;
    std::vector<int> sleeps;
    std::vector<double> reports;
    CMainLoopTimer MakeTimer() {
        return CMainLoopTimer([this] { return now; },
                              [this](int ms) {
                                  sleeps.push_back(ms);
                                  now += ms - sleepMovesBack;
                              },
                              [this](double avg) { reports.push_back(avg); });
    }
    // One pass whose work takes `workMs`; returns the step the pass received.
    double Pass(CMainLoopTimer& timer, double workMs) {
        const double step = timer.BeginPass();
        now += workMs;
        timer.EndPass();
        return step;
    }
};
} // namespace

TEST(MainLoopTimer, FirstPassStepsThirtyThreeMilliseconds) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    EXPECT_DOUBLE_EQ(clock.Pass(timer, 5), 0.033);
    EXPECT_EQ(timer.PassCount(), 1);
}

TEST(MainLoopTimer, SleepsTheTruncatedRemainderOnlyAboveThreeMilliseconds) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    clock.Pass(timer, 10);   // 6.6 left: sleeps 6
    clock.Pass(timer, 14);   // 2.6 left: no sleep
    clock.Pass(timer, 13.5); // 3.1 left: sleeps 3
    EXPECT_EQ(clock.sleeps, (std::vector<int>{6, 3}));
    EXPECT_DOUBLE_EQ(timer.StepMs(), 16.5);
}

TEST(MainLoopTimer, LongAndBackwardPassesAreClampedToOneHundredMilliseconds) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    clock.Pass(timer, 250);
    EXPECT_DOUBLE_EQ(timer.StepMs(), 100);
    EXPECT_DOUBLE_EQ(clock.Pass(timer, 20), 0.1);
    clock.sleepMovesBack = 500; // the clock goes backwards while the loop sleeps
    clock.Pass(timer, 5);
    EXPECT_DOUBLE_EQ(timer.StepMs(), 100);
}

TEST(MainLoopTimer, RunningAverageWeighsTheNewestPassNinetyPercent) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    clock.Pass(timer, 20);
    EXPECT_DOUBLE_EQ(timer.AveragePeriodMs(), 0.1 * 33 + 0.9 * 20);
    clock.Pass(timer, 50);
    EXPECT_DOUBLE_EQ(timer.AveragePeriodMs(), 0.1 * (0.1 * 33 + 0.9 * 20) + 0.9 * 50);
}

TEST(MainLoopTimer, ReportsTheAverageEveryThousandPasses) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    for (int i = 0; i < 999; ++i) {
        clock.Pass(timer, 20);
    }
    EXPECT_TRUE(clock.reports.empty());
    clock.Pass(timer, 20);
    ASSERT_EQ(clock.reports.size(), 1u);
    EXPECT_NEAR(clock.reports[0], 20, 1e-9);
    for (int i = 0; i < 1000; ++i) {
        clock.Pass(timer, 20);
    }
    EXPECT_EQ(clock.reports.size(), 2u);
}

TEST(MainLoopTimer, AnIdlePassSleepsTheRestOfOneHundredMilliseconds) {
    FakeClock clock;
    CMainLoopTimer timer = clock.MakeTimer();
    timer.SetIdle(true);
    clock.Pass(timer, 4);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{96}));
    EXPECT_DOUBLE_EQ(timer.StepMs(), 100); // the next step covers the whole idle period
    timer.SetIdle(false);
    clock.Pass(timer, 4);
    EXPECT_EQ(clock.sleeps.back(), 12);
}
