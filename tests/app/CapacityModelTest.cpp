#include "app/model/CapacityModel.h"
#include "tests/app/ShippedDesign.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace CapacityModel;

namespace {
WellParameters ShippedDefaults() {
    return ShippedDesign();
}
} // namespace

TEST(WellParameters, SettersComputeTheDerivedFields) {
    WellParameters p;
    EXPECT_DOUBLE_EQ(p.GetProductionFlow(), 22.4);
    EXPECT_DOUBLE_EQ(p.GetCrankAngularSpeed(), 0.8377580409572781);
    p.SetProductionRate(100);
    EXPECT_DOUBLE_EQ(p.GetProductionFlow(), 11.2);
    p.SetSPM(30);
    EXPECT_DOUBLE_EQ(p.GetCrankAngularSpeed(), 3.141592653589793);
}

TEST(CapacityModel, FlowMultiplierTrapezoidAndItsBounds) {
    EXPECT_EQ(FlowMultiplier(0.0), 0);
    EXPECT_EQ(FlowMultiplier(0.049999), 0);
    EXPECT_EQ(FlowMultiplier(0.05), 0);
    EXPECT_NEAR(FlowMultiplier(0.125), 1.885, 1e-12);
    EXPECT_NEAR(FlowMultiplier(0.2), 3.77, 1e-12);
    EXPECT_EQ(FlowMultiplier(0.25), 3.77);
    EXPECT_EQ(FlowMultiplier(0.3), 3.77);
    EXPECT_NEAR(FlowMultiplier(0.39), 3.77 / 2, 1e-12);
    EXPECT_EQ(FlowMultiplier(0.48), 0);
    EXPECT_EQ(FlowMultiplier(0.75), 0);
    // Over a whole cycle the pump draws almost exactly the production rate.
    double sum = 0;
    const int n = 1000000;
    for (int i = 0; i < n; ++i) {
        sum += FlowMultiplier((i + 0.5) / n);
    }
    EXPECT_NEAR(sum / n, 0.99905, 1e-5);
}

TEST(CapacityModel, CyclePhaseWrapsTheCrankAngle) {
    EXPECT_EQ(CyclePhase(0), 0);
    EXPECT_NEAR(CyclePhase(kTwoPi * 2.25), 0.25, 1e-12);
}

TEST(CapacityModel, ShippedDefaultsGiveTheKnownFigures) {
    const WellParameters p = ShippedDefaults();
    EXPECT_NEAR(AnnulusArea(p), 4.508185457901353, 1e-13);
    EXPECT_NEAR(DipTubeBoreArea(p), 0.8659014751456867, 1e-13);
    EXPECT_EQ(MaximumCapacity(6, AnnulusArea(p)), 242);
    EXPECT_NEAR(RecommendedDipTubeLength(6, 8), 27.749999999925, 1e-12);

    SimulationState s;
    s.flowMultiplier = 3.77;
    Evaluate(p, 0, s);
    EXPECT_NEAR(s.annulusLiquidVelocity, -18.73, 0.005);
    EXPECT_NEAR(s.annulusBubbleVelocity, -12.73, 0.005);
    EXPECT_NEAR(s.dipTubeLiquidVelocity, 97.53, 0.005);
    EXPECT_NEAR(s.dipTubeBubbleVelocity, 103.53, 0.005);
}

TEST(CapacityModel, InMemoryDefaultsAndHalfUpRounding) {
    EXPECT_EQ(MaximumCapacity(6, AnnulusArea(WellParameters())), 579);
    // V × A / 0.112 = 10.5 exactly rounds up.
    EXPECT_EQ(MaximumCapacity(1, 10.5 * 0.112), 11);
    EXPECT_EQ(MaximumCapacity(1, 10.4 * 0.112), 10);
}

TEST(CapacityModel, PenetrationIsClampedToTheDipTube) {
    WellParameters p = ShippedDefaults();
    SimulationState s;
    s.flowMultiplier = 3.77;
    Evaluate(p, 1e6, s); // a huge step cannot carry the gas past the inlet
    EXPECT_EQ(s.gasPenetrationDepth, 42);
    EXPECT_EQ(s.gasPenetrationFraction, 1);
    EXPECT_TRUE(s.gasAtDipTubeInlet);

    s.flowMultiplier = 0;
    Evaluate(p, 1e6, s); // nor lift it above the separator inlet
    EXPECT_EQ(s.gasPenetrationDepth, 0);
    EXPECT_EQ(s.gasPenetrationFraction, 0);
    EXPECT_FALSE(s.gasAtDipTubeInlet);
}

TEST(CapacityModel, ClosedFlowPathsAndZeroLengthStayFinite) {
    WellParameters p = ShippedDefaults();
    p.SetDipTubeOD(3.0); // wider than the separator bore: negative annulus area
    p.SetDipTubeID(0);   // no bore
    p.SetPumpRunning(true);
    SimulationState s;
    s.flowMultiplier = 3.77;
    Evaluate(p, 0.5, s);
    EXPECT_LT(s.annulusArea, 0);
    EXPECT_EQ(s.annulusLiquidVelocity, 0);
    EXPECT_EQ(s.annulusBubbleVelocity, 6);
    EXPECT_EQ(s.dipTubeLiquidVelocity, 0);
    EXPECT_EQ(s.dipTubeBubbleVelocity, 6);
    EXPECT_EQ(s.maximumCapacity, 0);
    EXPECT_TRUE(s.gasAtDipTubeInlet); // no annulus, no separation: gas goes straight in

    p = ShippedDefaults();
    p.SetDipTubeLength(0);
    s = SimulationState();
    s.flowMultiplier = 3.77;
    Evaluate(p, 0.01, s); // bubbles carried down reach an inlet at the separator inlet at once
    EXPECT_EQ(s.gasPenetrationDepth, 0);
    EXPECT_EQ(s.gasPenetrationFraction, 1);
    EXPECT_TRUE(s.gasAtDipTubeInlet);
    s.flowMultiplier = 0;
    Evaluate(p, 0.01, s);
    EXPECT_EQ(s.gasPenetrationFraction, 0);
    EXPECT_FALSE(s.gasAtDipTubeInlet);

    EXPECT_EQ(RecommendedDipTubeLength(6, 0), 0);
}
