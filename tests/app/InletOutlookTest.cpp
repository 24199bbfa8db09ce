// The long-run outlook against brute-force runs of the simulation's own step.
#include "app/InletOutlook.h"

#include "app/CapacityModel.h"
#include "app/GasSeparatorSimulator.h"
#include "app/SimulationState.h"
#include "tests/app/ShippedParameters.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
constexpr double kStep = 1.0 / 60;

// The time at which the simulation, stepped for up to `seconds`, first has gas at the inlet.
std::optional<double> BruteForce(WellParameters p, double seconds) {
    p.SetPumpRunning(true);
    SimulationState s;
    for (long i = 0; i < static_cast<long>(seconds / kStep); ++i) {
        StepSimulation(p, kStep, s);
        if (s.gasAtDipTubeInlet) {
            return s.elapsedTime;
        }
    }
    return std::nullopt;
}
} // namespace

TEST(InletOutlook, AboveTheLimitTheTimeIsTheSimulationsToTheStep) {
    struct Case {
        double rate, spm;
    };
    // Whole and fractional numbers of steps per cycle, fast and slow drifts.
    for (const Case& c : {Case{250, 8}, Case{242, 8}, Case{243, 8}, Case{300, 8}, Case{250, 7.3},
                          Case{250, 29.7}, Case{400, 13}}) {
        const InletOutlook outlook = DipTubeInletOutlook(ShippedParameters(c.rate, c.spm), kStep);
        const std::optional<double> brute = BruteForce(ShippedParameters(c.rate, c.spm), 4000);
        ASSERT_TRUE(brute) << c.rate << " at " << c.spm;
        ASSERT_TRUE(outlook.reaches) << c.rate << " at " << c.spm;
        EXPECT_NEAR(outlook.seconds, *brute, 2 * kStep) << c.rate << " at " << c.spm;
    }
    EXPECT_NEAR(DipTubeInletOutlook(ShippedParameters(250), kStep).seconds, 70.43, 0.02);
}

TEST(InletOutlook, AtOrBelowTheLimitGasNeverArrives) {
    for (double rate : {200.0, 241.0, 241.7}) {
        EXPECT_FALSE(DipTubeInletOutlook(ShippedParameters(rate), kStep).reaches) << rate;
        EXPECT_FALSE(BruteForce(ShippedParameters(rate), 20000)) << rate;
    }
    WellParameters shortTube = ShippedParameters(200);
    shortTube.SetDipTubeLength(12); // shorter than the 20.3 in peak of each cycle
    const InletOutlook outlook = DipTubeInletOutlook(shortTube, kStep);
    ASSERT_TRUE(outlook.reaches);
    EXPECT_EQ(outlook.seconds, *BruteForce(shortTube, 10));
}

TEST(InletOutlook, TheGasLimitIsTheLongRunOneWhateverTheStep) {
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(200), kStep, 10000000), 242);
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(200), 1.0 / 120, 10000000), 242);
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(200), kStep, 241), std::nullopt);
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(200, 20), kStep, 10000000), 242);
    auto shortTubeAt = [](long rate) {
        WellParameters p = ShippedParameters(static_cast<double>(rate));
        p.SetDipTubeLength(12); // limited by the peak within a cycle, not by the drift
        return p;
    };
    const std::optional<long> limit = LongRunGasLimitRate(shortTubeAt(1), kStep, 10000000);
    ASSERT_TRUE(limit);
    EXPECT_LT(*limit, 200);
    EXPECT_TRUE(BruteForce(shortTubeAt(*limit), 30));
    EXPECT_FALSE(BruteForce(shortTubeAt(*limit - 1), 300));
}

TEST(InletOutlook, ADesignWithoutAnAnnulusFailsAtOnce) {
    WellParameters p = ShippedParameters(1);
    p.SetDipTubeOD(2.75); // as wide as the separator bore
    const InletOutlook outlook = DipTubeInletOutlook(p, kStep);
    EXPECT_TRUE(outlook.reaches);
    EXPECT_DOUBLE_EQ(outlook.seconds, kStep);
    EXPECT_EQ(LongRunGasLimitRate(p, kStep, 10000000), 1);
}
