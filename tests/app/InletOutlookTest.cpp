// The long-run outlook against plain runs of the simulation's own step.
#include "app/model/InletOutlook.h"

#include "app/model/CapacityModel.h"
#include "app/model/SimulationStep.h"

#include <gtest/gtest.h>

#include <cmath>

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

// The outlook as first written: every step the simulation's own full step, the drift measured
// and the cycles skipped the same way. The oracle the faster outlook and gas limit search must
// match exactly.
class ReferenceRun {
public:
    ReferenceRun(WellParameters p, double step) : p_(p), step_(step) { p_.SetPumpRunning(true); }
    bool FinishCycle() {
        const double cycle = CapacityModel::CycleNumber(s_.crankAngle), startSum = sum_;
        while (CapacityModel::CycleNumber(s_.crankAngle) == cycle) {
            StepSimulation(p_, step_, s_);
            sum_ -= step_ * s_.annulusBubbleVelocity;
            deepest_ = std::max(deepest_, s_.gasPenetrationDepth);
            peakRise_ = std::max(peakRise_, sum_ - startSum);
            if (s_.gasAtDipTubeInlet) {
                return false;
            }
        }
        return true;
    }
    double SumAtBoundary() const {
        const double beyond = std::fmod(s_.crankAngle, kTwoPi) / p_.GetCrankAngularSpeed();
        return sum_ + p_.GetGasBubbleRiseVelocity() * std::min(beyond, step_);
    }
    void Skip(double cycles, double drift) {
        s_.elapsedTime += cycles * kTwoPi / p_.GetCrankAngularSpeed();
        s_.gasPenetrationDepth += cycles * drift;
        sum_ += cycles * drift;
    }
    InletOutlook Reached() const { return {true, s_.elapsedTime, p_.GetDipTubeLength()}; }
    InletOutlook Never() const { return {false, 0, deepest_}; }
    double Depth() const { return s_.gasPenetrationDepth; }
    double PeakRise() const { return peakRise_; }

private:
    WellParameters p_;
    double step_;
    SimulationState s_;
    double sum_ = 0, peakRise_ = 0, deepest_ = 0;
};

InletOutlook ReferenceOutlook(const WellParameters& p, double step) {
    ReferenceRun run(p, step);
    const int measured = static_cast<int>(
        std::clamp(8192.0 / (kTwoPi / p.GetCrankAngularSpeed() / step), 2.0, 16.0));
    if (!run.FinishCycle()) {
        return run.Reached();
    }
    const double first = run.SumAtBoundary();
    for (int i = 0; i < measured; ++i) {
        if (!run.FinishCycle()) {
            return run.Reached();
        }
    }
    const double drift = (run.SumAtBoundary() - first) / measured;
    if (!(drift > 0)) {
        return run.Never();
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const double cycles = (p.GetDipTubeLength() - run.Depth() - run.PeakRise()) / drift;
        if (cycles > 3) {
            run.Skip(std::floor(cycles) - 2, drift);
        }
        for (int i = 0; i < measured + 2; ++i) {
            if (!run.FinishCycle()) {
                return run.Reached();
            }
        }
    }
    return run.Reached();
}

// The gas limit by halving [0, 10,000,000] bbl/day with whole reference outlooks.
std::optional<long> ReferenceGasLimit(WellParameters p, double step) {
    auto reaches = [&](long rate) {
        p.SetProductionRate(static_cast<double>(rate));
        return ReferenceOutlook(p, step).reaches;
    };
    long low = 0, high = 10000000;
    if (!reaches(high)) {
        return std::nullopt;
    }
    while (high - low > 1) {
        const long middle = low + (high - low) / 2;
        (reaches(middle) ? high : low) = middle;
    }
    return high;
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

namespace {
// A spread of designs: pump speeds with whole and fractional steps per cycle, slow and fast
// rises, narrow and wide annuli, dip tubes from far shorter than a cycle's reach to far longer.
std::vector<WellParameters> DesignSpread() {
    std::vector<WellParameters> designs;
    const std::pair<double, double> annuli[] = {{2.75, 1.35}, {4, 1.5}, {2.2, 1.9}};
    for (double spm : {2.0, 7.3, 8.0, 13.7, 30.0}) {
        for (double rise : {1.5, 6.0, 11.0}) {
            for (double length : {12.0, 17.5, 42.0, 300.0}) {
                for (const auto& [id, od] : annuli) {
                    WellParameters p = ShippedParameters(0, spm);
                    p.SetSeparatorID(id);
                    p.SetDipTubeOD(od);
                    p.SetGasBubbleRiseVelocity(rise);
                    p.SetDipTubeLength(length);
                    designs.push_back(p);
                }
            }
        }
    }
    return designs;
}
} // namespace

// The outlook and the gas limit search, whatever shortcuts they take, give exactly the figures
// of the plain stepping and the plain halving search (a gas limit far below capacity where the
// dip tube is short, at capacity where it is long).
TEST(InletOutlook, FiguresAreThoseOfPlainSteppingAndPlainHalving) {
    OutlookCache cache; // shared by every design, as the calculator's workers share theirs
    int belowCapacity = 0;
    for (WellParameters p : DesignSpread()) {
        const std::optional<long> limit = ReferenceGasLimit(p, kStep);
        ASSERT_TRUE(limit);
        SCOPED_TRACE(testing::Message()
                     << "SPM " << p.GetSPM() << ", rise " << p.GetGasBubbleRiseVelocity()
                     << ", length " << p.GetDipTubeLength() << ", ID " << p.GetSeparatorID());
        EXPECT_EQ(LongRunGasLimitRate(p, kStep, 10000000, cache), limit);
        EXPECT_EQ(LongRunGasLimitRate(p, kStep, 10000000), limit);
        const double capacity = CapacityModel::MaximumCapacity(p.GetGasBubbleRiseVelocity(),
                                                               CapacityModel::AnnulusArea(p));
        belowCapacity += *limit < capacity - 1;
        for (long rate : {*limit / 2, *limit - 1, *limit, *limit + 1, *limit * 3 / 2}) {
            p.SetProductionRate(static_cast<double>(std::max(rate, 1L)));
            const InletOutlook expected = ReferenceOutlook(p, kStep);
            const InletOutlook outlook = DipTubeInletOutlook(p, kStep, cache);
            EXPECT_EQ(outlook.reaches, expected.reaches) << rate;
            EXPECT_EQ(outlook.seconds, expected.seconds) << rate;
            EXPECT_EQ(outlook.deepest, expected.deepest) << rate;
        }
    }
    EXPECT_GT(belowCapacity, 20); // the spread holds both kinds of limit
}

namespace {
// When gas first reaches the inlet with the pump's draw taken as continuous: nothing gets below
// the separator inlet until the draw, rising along its ramp, exceeds the rise; from then the
// depth is the integral of the excess, (flow / area) x slope x (t - t0)^2 / (2 x cycle).
double ContinuousSecondsToInlet(const WellParameters& p) {
    const double cycle = 60 / p.GetSPM(), rampSlope = 3.77 / 0.15;
    const double perMultiplier = p.GetProductionFlow() / CapacityModel::AnnulusArea(p);
    const double start = (0.05 + p.GetGasBubbleRiseVelocity() / perMultiplier / rampSlope) * cycle;
    return start + std::sqrt(2 * p.GetDipTubeLength() * cycle / (perMultiplier * rampSlope));
}
} // namespace

// A pump cycle of years costs no more than a long one: the outlook steps it in a bounded number
// of steps and returns at once, with the figures of the continuous draw.
TEST(InletOutlook, APumpSpeedNearZeroIsJudgedAtOnce) {
    for (double spm : {1e-7, 1e-10}) {
        SCOPED_TRACE(spm);
        const double coarseStep = 60 / spm / kMostStepsPerCycle;
        const InletOutlook above = DipTubeInletOutlook(ShippedParameters(250, spm), kStep);
        ASSERT_TRUE(above.reaches);
        EXPECT_NEAR(above.seconds, ContinuousSecondsToInlet(ShippedParameters(250, spm)),
                    3 * coarseStep);
        // 50 bbl/day: even the peak draw, 3.77 times the mean, is below the rise (6 in/s).
        const InletOutlook below = DipTubeInletOutlook(ShippedParameters(50, spm), kStep);
        EXPECT_FALSE(below.reaches);
        EXPECT_EQ(below.deepest, 0);
        // The limit: the first whole rate whose peak draw exceeds rise x annulus area.
        const WellParameters p = ShippedParameters(0, spm);
        const double peakDrawFree = p.GetGasBubbleRiseVelocity() * CapacityModel::AnnulusArea(p) /
                                    (kCubicInchesPerSecondPerBblPerDay * 3.77);
        EXPECT_EQ(LongRunGasLimitRate(p, kStep, 10000000), std::floor(peakDrawFree) + 1);
    }
}
