// The pump's rate, the rise velocity from the fluids and the separators that fit a casing,
// against hand-worked figures.
#include "app/model/CapacityModel.h"
#include "app/model/Fluid.h"
#include "app/model/SeparatorFinder.h"
#include "app/model/Verdict.h"
#include "tests/app/ShippedDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(Pump, DisplacementAndRateOfAHandWorkedPump) {
    // The constant: π/4 × 1440 min/day ÷ 9702 in³/bbl = 0.116571, rounded as the oilfield does.
    EXPECT_NEAR(kDisplacementConstant, std::numbers::pi / 4 * 1440 / 9702, 5e-5);
    WellParameters p = ShippedDesign();
    p.SetPlungerDiameter(1.5);
    p.SetStrokeLength(100);
    p.SetSPM(8);
    // 0.1166 × 100 in × (1.5 in)² × 8 SPM = 209.88 bbl/day; at 80 %, 167.904.
    EXPECT_NEAR(p.GetPumpDisplacement(), 209.88, 1e-9);
    p.SetPumpEfficiency(80);
    EXPECT_NEAR(p.GetPumpRate(), 167.904, 1e-9);
    EXPECT_NEAR(p.GetPumpDisplacement(), 209.88, 1e-9); // the efficiency is not in it
}

TEST(Pump, TheRateFollowsThePumpOnlyWhileItComesFromThePump) {
    WellParameters p = ShippedDesign(200);
    p.SetSPM(10);
    p.SetStrokeLength(120);
    EXPECT_EQ(p.GetProductionRate(), 200); // typed: the pump's values leave it alone
    p.SetRateFromPump(true);
    EXPECT_NEAR(p.GetProductionRate(), 0.1166 * 120 * 2.25 * 10, 1e-9); // 314.82
    EXPECT_NEAR(p.GetProductionFlow(), 314.82 * kCubicInchesPerSecondPerBblPerDay, 1e-9);
    // Every value of the pump moves it: speed, diameter, stroke, efficiency.
    p.SetSPM(5);
    EXPECT_NEAR(p.GetProductionRate(), 157.41, 1e-9);
    p.SetPlungerDiameter(2);
    EXPECT_NEAR(p.GetProductionRate(), 0.1166 * 120 * 4 * 5, 1e-9);
    p.SetStrokeLength(60);
    EXPECT_NEAR(p.GetProductionRate(), 0.1166 * 60 * 4 * 5, 1e-9);
    p.SetPumpEfficiency(50);
    EXPECT_NEAR(p.GetProductionRate(), 69.96, 1e-9);
    // Typed again: the last rate stays until one is typed.
    p.SetRateFromPump(false);
    p.SetSPM(20);
    EXPECT_NEAR(p.GetProductionRate(), 69.96, 1e-9);
}

TEST(Pump, FastestSpeedWithinCapacity) {
    WellParameters p = ShippedDesign();
    // The shipped separator carries 242 bbl/day; a 1.5 in pump with a 100 in stroke moves
    // 0.1166 × 100 × 2.25 = 26.235 bbl/day per SPM: 242 / 26.235 = 9.2243 SPM.
    EXPECT_NEAR(CapacityModel::FastestPumpSpeedWithinCapacity(p), 242 / 26.235, 1e-9);
    p.SetPumpEfficiency(50); // a half-full pump may run twice as fast
    EXPECT_NEAR(CapacityModel::FastestPumpSpeedWithinCapacity(p), 2 * 242 / 26.235, 1e-9);
    // At that speed the pump's rate is the capacity, not a barrel more.
    p.SetRateFromPump(true);
    p.SetSPM(CapacityModel::FastestPumpSpeedWithinCapacity(p));
    EXPECT_NEAR(p.GetProductionRate(), 242, 1e-9);
    p.SetDipTubeOD(2.75); // no annulus around the dip tube, no capacity: no speed is within it
    EXPECT_EQ(CapacityModel::FastestPumpSpeedWithinCapacity(p), 0);
}

// The fastest speed the panel offers is one at which the verdict does not say "above
// capacity". A 96 in stroke moves 25.19 bbl/day per SPM: 242 / 25.19 = 9.61, but at 9.6 SPM
// the pump's 241.78 bbl/day, under the 242 shown, is above the rate at which the gas stops
// going deeper every cycle (241.5 to 242): the verdict fails there, so 9.5 is offered.
TEST(Pump, TheFastestSpeedOfferedIsOneTheVerdictPasses) {
    WellParameters p = ShippedDesign();
    p.SetRateFromPump(true);
    EXPECT_EQ(FastestSpeedWithinCapacity(p, 30), 9.2); // 9.22: the capacity's own tenth passes
    for (const double stroke : {64.0, 96.0, 106.0, 128.0}) {
        p.SetStrokeLength(stroke);
        const double fastest = FastestSpeedWithinCapacity(p, 30);
        EXPECT_LT(fastest, std::floor(CapacityModel::FastestPumpSpeedWithinCapacity(p) * 10) / 10)
            << stroke;
        p.SetSPM(fastest);
        EXPECT_EQ(JudgeDesign(p).kind, VerdictKind::Works) << stroke;
        p.SetSPM(fastest + 0.1);
        EXPECT_EQ(JudgeDesign(p).cause, FailureCause::AboveCapacity) << stroke;
    }
    p.SetStrokeLength(10); // 2.62 bbl/day per SPM: within capacity up to the fastest allowed
    EXPECT_EQ(FastestSpeedWithinCapacity(p, 30), 30);
    p.SetDipTubeOD(2.75); // no capacity at all
    EXPECT_EQ(FastestSpeedWithinCapacity(p, 30), 0);
}

TEST(Fluid, HarmathyAgainstHandWorkedVelocities) {
    // Water and air: 9.80665 × 0.072 × (998 − 1.2) / 998² = 7.0664e-4 m/s⁴·…; its fourth root
    // 0.16304, × 1.53 = 0.24946 m/s = 9.821 in/s (the often quoted 0.25 m/s).
    EXPECT_NEAR(*HarmathyRiseVelocity(998, 1.2, 0.072), 9.8210, 1e-3);
    // The shipped medium oil: 9.80665 × 0.025 × 820 / 870² = 2.6561e-4; 1.53 × 0.12766 m/s.
    EXPECT_NEAR(*HarmathyRiseVelocity(870, 50, 0.025), 7.6898, 1e-3);
    // The denser the gas, the slower the bubble; none when the gas is not lighter.
    EXPECT_LT(*HarmathyRiseVelocity(870, 300, 0.025), *HarmathyRiseVelocity(870, 50, 0.025));
    EXPECT_FALSE(HarmathyRiseVelocity(870, 870, 0.025));
    EXPECT_FALSE(HarmathyRiseVelocity(870, 900, 0.025));
    EXPECT_FALSE(HarmathyRiseVelocity(870, 50, 0));
    EXPECT_FALSE(HarmathyRiseVelocity(0, 0, 0.025));
    EXPECT_FALSE(HarmathyRiseVelocity(std::numeric_limits<double>::quiet_NaN(), 50, 0.025));
}

namespace {
WellParameters Fluids(double liquid, double gas, double tension) {
    WellParameters p;
    p.SetLiquidDensity(liquid);
    p.SetGasDensity(gas);
    p.SetSurfaceTension(tension);
    return p;
}
} // namespace

TEST(Fluid, TheFieldGetsTheVelocityAsItWouldShowItOrTheReasonWhyNot) {
    const FluidOutcome medium = RiseVelocityFromFluid(Fluids(870, 50, 0.025), UnitSystem::Oilfield);
    ASSERT_TRUE(medium.riseVelocity) << medium.problem;
    EXPECT_DOUBLE_EQ(*medium.riseVelocity, 7.69); // 7.6898 to the box's decimals
    EXPECT_TRUE(medium.problem.empty());

    const FluidOutcome light = RiseVelocityFromFluid(Fluids(200, 50, 0.025), UnitSystem::Oilfield);
    EXPECT_FALSE(light.riseVelocity);
    EXPECT_EQ(light.problem, "Liquid density must be from 300 to 2500 kg/m\u00b3.");
    const FluidOutcome heavyGas =
        RiseVelocityFromFluid(Fluids(400, 500, 0.025), UnitSystem::Oilfield);
    EXPECT_FALSE(heavyGas.riseVelocity);
    EXPECT_EQ(heavyGas.problem, "The gas must be lighter than the liquid.");
    // A light liquid with a high tension: 17.13 in/s, beyond the field's 12.
    const FluidOutcome fast = RiseVelocityFromFluid(Fluids(300, 0.001, 0.2), UnitSystem::Oilfield);
    EXPECT_FALSE(fast.riseVelocity);
    EXPECT_EQ(fast.problem, "17.128 in/s is outside the gas bubble rise velocity's range: it "
                            "must be above 0 and at most 12 in/s.");
}

TEST(Fluid, EveryTypicalFluidGivesAVelocityTheFieldTakes) {
    for (const TypicalFluid& fluid : TypicalFluids()) {
        const FluidOutcome outcome = RiseVelocityFromFluid(
            Fluids(fluid.liquidDensity, fluid.gasDensity, fluid.surfaceTension),
            UnitSystem::Oilfield);
        EXPECT_TRUE(outcome.riseVelocity) << fluid.name << ": " << outcome.problem;
    }
}

namespace {
SeparatorPreset Separator(const std::string& name, double od, double id) {
    WellParameters p = ShippedDesign();
    p.SetSeparatorOD(od);
    p.SetSeparatorID(id);
    return SeparatorPreset::Of(name, p);
}

std::vector<std::string> Names(const std::vector<SeparatorChoice>& choices) {
    std::vector<std::string> names;
    for (const SeparatorChoice& choice : choices) {
        names.push_back(choice.preset.displayName);
    }
    return names;
}
} // namespace

TEST(SeparatorFinder, TheDriftDecidesAndTheBestComesFirst) {
    // 4.5 in 9.5 lb/ft casing: ID 4.09 in, drift 4.09 − 0.125 = 3.965 in.
    EXPECT_DOUBLE_EQ(DriftDiameter(4.09), 3.965);
    EXPECT_DOUBLE_EQ(DriftDiameter(4.892), 4.767); // 5-1/2 in 17 lb/ft
    // The capacity is the annulus between the separator's bore and the dip tube's.
    const std::vector<SeparatorPreset> presets = {
        Separator("Shipped 3 in", 3, 2.75),      // 242 bbl/day
        Separator("At the drift", 3.965, 3.7),   // not below the drift
        Separator("Slim 2.5 in", 2.5, 2.25),     // a narrow bore: fails at 230 bbl/day
        Separator("Too wide", 4, 3.75),          //
        Separator("Wide 3.5 in", 3.5, 3.25),     // a wide bore, the largest margin
        Separator("Bore too narrow", 3.2, 1.2)}; // narrower than the dip tube: cannot be built
    const std::vector<SeparatorChoice> ranked = RankSeparators(presets, ShippedDesign(230));
    EXPECT_EQ(Names(ranked),
              (std::vector<std::string>{"Wide 3.5 in", "Shipped 3 in", "Slim 2.5 in",
                                        "Bore too narrow", "At the drift", "Too wide"}));
    EXPECT_EQ(ranked[0].verdict.kind, VerdictKind::Works);
    EXPECT_GT(ranked[0].verdict.capacityMargin, ranked[1].verdict.capacityMargin);
    EXPECT_EQ(ranked[2].verdict.kind, VerdictKind::Fails);
    EXPECT_EQ(ranked[3].verdict.kind, VerdictKind::DoesNotApply); // gas at the inlet at once
    EXPECT_TRUE(ranked[3].verdict.valuesContradict);
    EXPECT_LT(ranked[3].verdict.secondsToInlet, ranked[2].verdict.secondsToInlet);
    EXPECT_EQ(ranked[4].source, 1u);
    EXPECT_FALSE(ranked[4].fits);
    EXPECT_EQ(NotFittingReason(ranked[4], UnitSystem::Oilfield),
              "outside diameter 3.965 in not below the drift diameter 3.965 in");
    EXPECT_EQ(NotFittingReason(ranked[0], UnitSystem::Oilfield), "");

    // Above the shipped separator's capacity it fails too, but later than the slim one.
    const std::vector<SeparatorChoice> above = RankSeparators(presets, ShippedDesign(260));
    EXPECT_EQ(above[1].preset.displayName, "Shipped 3 in");
    EXPECT_EQ(above[1].verdict.kind, VerdictKind::Fails);
    EXPECT_EQ(above[2].preset.displayName, "Slim 2.5 in");
    EXPECT_GT(above[1].verdict.secondsToInlet, above[2].verdict.secondsToInlet);
}
