// The design's verdict against hand-worked figures and against plain runs of the simulation.
#include "app/model/Verdict.h"

#include "app/model/SimulationStep.h"
#include "tests/app/ShippedDesign.h"

#include <gtest/gtest.h>

namespace {
WellParameters Design(double rate, double spm = 8, double dipTubeLength = 42) {
    WellParameters p = ShippedDesign();
    p.SetProductionRate(rate);
    p.SetSPM(spm);
    p.SetDipTubeLength(dipTubeLength);
    return p;
}

// When a plain run of the simulation first has gas at the inlet, within `seconds`.
std::optional<double> PlainRun(WellParameters p, double seconds) {
    p.SetPumpRunning(true);
    SimulationState s;
    while (s.elapsedTime < seconds && !s.gasAtDipTubeInlet) {
        StepSimulation(p, 1.0 / 60, s);
    }
    return s.gasAtDipTubeInlet ? std::optional<double>(s.elapsedTime) : std::nullopt;
}
} // namespace

TEST(Verdict, TheThreeDesignsOfTheGuide) {
    // 200 bbl/day in the shipped design: 200 / 242 = 82.6 % of the capacity; the deepest reach
    // of a cycle, 20.3 of 42 in, is 48 %.
    const DesignVerdict works = JudgeDesign(Design(200));
    EXPECT_EQ(works.kind, VerdictKind::Works);
    EXPECT_EQ(works.maximumCapacity, 242);
    EXPECT_NEAR(works.capacityMargin, 100 * (1 - 200.0 / 242), 1e-9);
    EXPECT_EQ(works.gasLimitRate, 242);
    EXPECT_EQ(VerdictSentence(works), "Works: 83 % of capacity, gas reaches 48 % of the dip tube");
    EXPECT_EQ(GasLimitSentence(works), "Gas limit 242 bbl/day");

    const DesignVerdict above = JudgeDesign(Design(250));
    EXPECT_EQ(above.kind, VerdictKind::Fails);
    EXPECT_EQ(above.cause, FailureCause::AboveCapacity);
    EXPECT_NEAR(above.secondsToInlet, 70.43, 0.01);
    EXPECT_EQ(VerdictSentence(above),
              "Fails: above capacity, gas at the dip tube inlet after 1 min 10 s");

    // Below the capacity, a 24 in dip tube at 4 SPM is shorter than the gas's reach (55.5 in is
    // recommended): it fails for that, not for the capacity.
    const DesignVerdict shortTube = JudgeDesign(Design(220, 4, 24));
    EXPECT_EQ(shortTube.kind, VerdictKind::Fails);
    EXPECT_EQ(shortTube.cause, FailureCause::DipTubeTooShort);
    EXPECT_TRUE(shortTube.dipTubeShorterThanRecommended);
    EXPECT_EQ(shortTube.recommendedLength, 55.5);
    EXPECT_LT(*shortTube.gasLimitRate, 220);
    EXPECT_EQ(VerdictSentence(shortTube).rfind("Fails: dip tube shorter than the gas reach", 0),
              0u);

    // Just under the capacity shown (241.5 rounded to 242), the gas still goes deeper every
    // cycle: above capacity, however long the dip tube, not a dip tube too short.
    for (const double length : {42.0, 480.0}) {
        const DesignVerdict sliver = JudgeDesign(Design(241.9, 8, length));
        EXPECT_EQ(sliver.kind, VerdictKind::Fails) << length;
        EXPECT_EQ(sliver.cause, FailureCause::AboveCapacity) << length;
    }

    const DesignVerdict outOfRange = JudgeDesign(Design(200, 31));
    EXPECT_EQ(outOfRange.kind, VerdictKind::DoesNotApply);
    EXPECT_EQ(VerdictWord(outOfRange.kind), std::string("does not apply"));
    EXPECT_EQ(GasLimitSentence(outOfRange), "Gas limit \u2014");
    EXPECT_EQ(VerdictSentence(outOfRange), "Does not apply: a value is out of range");

    // A separator ID above its OD leaves the model its annulus, so the design would "work": no
    // separator of these diameters exists, so no verdict applies, though its figures are given
    // (the gas still gets to the inlet at 250 bbl/day).
    WellParameters contradicting = Design(200);
    contradicting.SetSeparatorID(3.2);
    EXPECT_EQ(JudgeDesign(contradicting).kind, VerdictKind::DoesNotApply);
    EXPECT_EQ(VerdictSentence(JudgeDesign(contradicting)),
              "Does not apply: the diameters contradict each other");
    contradicting.SetSeparatorID(2.75);
    contradicting.SetDipTubeID(1.4); // above the dip tube's OD
    contradicting.SetProductionRate(250);
    const DesignVerdict contradictingAbove = JudgeDesign(contradicting);
    EXPECT_EQ(contradictingAbove.kind, VerdictKind::DoesNotApply);
    EXPECT_TRUE(contradictingAbove.reachesInlet);
    EXPECT_EQ(contradictingAbove.secondsToInlet, above.secondsToInlet);
    EXPECT_EQ(contradictingAbove.gasLimitRate, 242);
    EXPECT_EQ(GasLimitSentence(contradictingAbove), "Gas limit 242 bbl/day"); // as the calculator
}

// Whatever the design, "works" means a plain run never has gas at the inlet and "fails after T"
// means a plain run first has it at T, and the gas limit is where that changes.
TEST(Verdict, AgreesWithPlainRunsOfTheSimulation) {
    for (const auto& [rate, spm, length] : {std::tuple{150.0, 8.0, 42.0},
                                            {241.0, 8.0, 42.0},
                                            {243.0, 8.0, 42.0},
                                            {220.0, 4.0, 24.0},
                                            {120.0, 3.0, 20.0},
                                            {300.0, 20.0, 100.0},
                                            {90.0, 2.0, 60.0}}) {
        SCOPED_TRACE(std::to_string(rate) + " bbl/day at " + std::to_string(spm));
        const DesignVerdict verdict = JudgeDesign(Design(rate, spm, length));
        const std::optional<double> plain = PlainRun(Design(rate, spm, length), 3000);
        if (verdict.kind == VerdictKind::Works) {
            EXPECT_FALSE(plain);
            EXPECT_LT(verdict.reachShare, 100);
            ASSERT_TRUE(verdict.gasLimitRate);
            EXPECT_GT(*verdict.gasLimitRate, rate);
            EXPECT_TRUE(PlainRun(Design(*verdict.gasLimitRate, spm, length), 3000));
        } else {
            ASSERT_TRUE(plain);
            EXPECT_NEAR(verdict.secondsToInlet, *plain, 2.0 / 60);
            EXPECT_LE(*verdict.gasLimitRate, rate);
            EXPECT_EQ(verdict.cause == FailureCause::AboveCapacity, rate > verdict.maximumCapacity);
        }
    }
}

TEST(Verdict, TimesAreSaidAsPeopleSayThem) {
    EXPECT_EQ(SayDuration(0.4), "under a second");
    EXPECT_EQ(SayDuration(3.85), "4 s");
    EXPECT_EQ(SayDuration(59.4), "59 s");
    EXPECT_EQ(SayDuration(60), "1 min");
    EXPECT_EQ(SayDuration(70.43), "1 min 10 s");
    EXPECT_EQ(SayDuration(599), "9 min 59 s");
    EXPECT_EQ(SayDuration(601), "10 min");
    EXPECT_EQ(SayDuration(3600), "1 h");
    EXPECT_EQ(SayDuration(16239), "4 h 30 min");
    EXPECT_EQ(SayDuration(200000), "2 days 7 h");
    EXPECT_EQ(SayDuration(1.09588e6), "13 days");
    EXPECT_EQ(SayDuration(1e12), "11574074 days"); // never an exponent
}

// A pump speed far below any real one, but within its range (above 0), is judged at once: a
// design read at start-up never holds the program up.
TEST(Verdict, APumpSpeedNearZeroIsJudgedAtOnce) {
    for (double spm : {1e-7, 1e-10}) {
        const DesignVerdict above = JudgeDesign(Design(250, spm));
        EXPECT_EQ(above.kind, VerdictKind::Fails) << spm;
        EXPECT_EQ(above.cause, FailureCause::AboveCapacity) << spm;
        // The draw gets past the rise about 9 % into the stroke: years at these speeds.
        EXPECT_NEAR(above.secondsToInlet / (60 / spm), 0.088, 0.001) << spm;
        const DesignVerdict below = JudgeDesign(Design(50, spm));
        EXPECT_EQ(below.kind, VerdictKind::Works) << spm;
        EXPECT_EQ(below.gasLimitRate, 65) << spm; // the peak draw, 3.77 x 65, passes the rise
    }
}
