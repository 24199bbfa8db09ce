// The long-run outlook against plain runs of the simulation's own step.
#include "app/model/InletOutlook.h"

#include "app/model/SimulationStep.h"

#include <gtest/gtest.h>

namespace {
constexpr double kStep = 1.0 / 60;

// The shipped design's annulus and dip tube length, at `rate` bbl/day and `spm`.
WellParameters ShippedParameters(double rate = 200, double spm = 8) {
    WellParameters p;
    p.SetSeparatorID(2.75);
    p.SetDipTubeOD(1.35);
    p.SetProductionRate(rate);
    p.SetSPM(spm);
    return p;
}

// The time at which the simulation, stepped for up to `seconds`, first has gas at the inlet.
std::optional<double> PlainRun(WellParameters p, double seconds) {
    p.SetPumpRunning(true);
    SimulationState s;
    while (s.elapsedTime < seconds && !s.gasAtDipTubeInlet) {
        StepSimulation(p, kStep, s);
    }
    return s.gasAtDipTubeInlet ? std::optional<double>(s.elapsedTime) : std::nullopt;
}

// The deepest penetration a plain run of `seconds` reaches.
double PlainRunDeepest(WellParameters p, double seconds) {
    p.SetPumpRunning(true);
    SimulationState s;
    double deepest = 0;
    while (s.elapsedTime < seconds) {
        StepSimulation(p, kStep, s);
        deepest = std::max(deepest, s.gasPenetrationDepth);
    }
    return deepest;
}
} // namespace

TEST(InletOutlook, TheTimeIsThePlainRunsToTheStepAndNeverMeansNever) {
    // Above the limit: whole and fractional numbers of steps per cycle, fast and slow drifts.
    for (const auto& [rate, spm] :
         {std::pair{250.0, 8.0}, {242.0, 8.0}, {250.0, 7.3}, {300.0, 29.7}}) {
        const InletOutlook outlook = DipTubeInletOutlook(ShippedParameters(rate, spm), kStep);
        ASSERT_TRUE(outlook.reaches) << rate << " at " << spm;
        EXPECT_NEAR(outlook.seconds, PlainRun(ShippedParameters(rate, spm), 4000).value_or(-1),
                    2 * kStep)
            << rate << " at " << spm;
    }
    for (double rate : {241.0, 241.7}) { // at or below it
        EXPECT_FALSE(DipTubeInletOutlook(ShippedParameters(rate), kStep).reaches) << rate;
        EXPECT_FALSE(PlainRun(ShippedParameters(rate), 20000)) << rate;
    }
    WellParameters shortTube = ShippedParameters(200);
    shortTube.SetDipTubeLength(12); // shorter than the 20.3 in peak of each cycle
    EXPECT_EQ(DipTubeInletOutlook(shortTube, kStep).seconds, PlainRun(shortTube, 10));
}

TEST(InletOutlook, TheGasLimitIsTheLongRunOneWhateverTheStep) {
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(), kStep, 10000000), 242);
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(), 1.0 / 120, 10000000), 242);
    EXPECT_EQ(LongRunGasLimitRate(ShippedParameters(), kStep, 241), std::nullopt);
}

TEST(InletOutlook, TheDeepestPenetrationIsThePlainRunsOrTheWholeDipTube) {
    for (double rate : {100.0, 200.0, 241.0}) { // never reaching: as deep as 20 minutes go
        const InletOutlook outlook = DipTubeInletOutlook(ShippedParameters(rate), kStep);
        EXPECT_NEAR(outlook.deepest, PlainRunDeepest(ShippedParameters(rate), 1200), 1e-6) << rate;
        EXPECT_LT(outlook.deepest, 42) << rate;
    }
    EXPECT_EQ(DipTubeInletOutlook(ShippedParameters(250), kStep).deepest, 42);
}
