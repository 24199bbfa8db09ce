#include "app/model/InletOutlook.h"

#include "app/model/CapacityModel.h"
#include "app/model/SimulationState.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Cycles stepped for a measurement: enough steps to average the sampling of the pump's draw.
int MeasuredCycles(double stepsPerCycle) {
    return static_cast<int>(std::clamp(8192.0 / stepsPerCycle, 2.0, 16.0));
}

// The step an outlook takes: the simulation's, or the cycle's kMostStepsPerCycle-th part when
// a cycle would take more steps than that. `step` is above 0.
double OutlookStep(const WellParameters& parameters, double step) {
    const double omega = parameters.GetCrankAngularSpeed();
    if (!(omega > 0) || !std::isfinite(omega)) {
        return step;
    }
    const double cycle = kTwoPi / omega;
    return cycle / step > kMostStepsPerCycle ? cycle / kMostStepsPerCycle : step;
}

// What the simulation step derives from the crank angle alone, at one step of a run from the
// bottom of the stroke: the pump's draw as a multiple of its mean, and whether the step began
// a new cycle.
struct DrawStep {
    double multiplier;
    bool newCycle;
};

// The draw at each step for one pump speed and step, the same for every run with them (the
// crank turns alike whatever the rest of the design): tabulated as runs first reach each step,
// up to kMostTabulatedSteps; later steps are computed as they come.
class DrawSteps {
public:
    static constexpr size_t kMostTabulatedSteps = 1 << 16;

    DrawSteps(double omega, double step) : omega_(omega), step_(step) {
        // An outlook's first cycle and measurement, and two cycles more.
        const double perCycle = kTwoPi / omega / step;
        const double expected = (MeasuredCycles(perCycle) + 3) * (perCycle + 1);
        if (std::isfinite(expected)) {
            const auto size = static_cast<size_t>(std::min(expected, 1.0 * kMostTabulatedSteps));
            multipliers_.reserve(size);
            newCycles_.reserve(size);
        }
    }
    bool Matches(double omega, double step) const { return omega == omega_ && step == step_; }
    size_t Size() const { return multipliers_.size(); }

    // The draw at step `k` (from 0), whose crank angle went from `before` to `after`.
    DrawStep At(size_t k, double before, double after) {
        if (k < multipliers_.size()) {
            return {multipliers_[k], newCycles_[k] != 0};
        }
        const DrawStep draw{CapacityModel::FlowMultiplier(CapacityModel::CyclePhase(after)),
                            CapacityModel::CycleNumber(after) !=
                                CapacityModel::CycleNumber(before)};
        if (k == multipliers_.size() && k < kMostTabulatedSteps) {
            multipliers_.push_back(draw.multiplier);
            newCycles_.push_back(draw.newCycle);
        }
        return draw;
    }

private:
    double omega_, step_;
    std::vector<double> multipliers_;
    std::vector<unsigned char> newCycles_;
};
} // namespace

struct OutlookCache::Memory {
    // The draws of the last few pump speeds and steps, the latest last.
    DrawSteps& DrawsFor(double omega, double step) {
        const auto found = std::find_if(draws.begin(), draws.end(),
                                        [&](const DrawSteps& d) { return d.Matches(omega, step); });
        if (found != draws.end()) {
            std::rotate(found, found + 1, draws.end());
            return draws.back();
        }
        // The oldest make room: a few megabytes at most, whatever the pump speeds.
        size_t kept = 0;
        for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
            kept += it->Size();
            if (kept > kMostKeptSteps) {
                draws.erase(draws.begin(), it.base());
                break;
            }
        }
        draws.emplace_back(omega, step);
        return draws.back();
    }

    // The gas limit found for a design at any production rate, searched with these settings.
    struct KnownLimit {
        WellParameters design; // the production rate set to 0
        double step;
        long maxRate;
        std::optional<long> rate;
    };
    static WellParameters WithoutRate(WellParameters design) {
        design.SetProductionRate(0);
        design.SetPumpRunning(false);
        return design;
    }
    const KnownLimit* Known(const WellParameters& design, double step, long maxRate) const {
        const WellParameters key = WithoutRate(design);
        for (const KnownLimit& known : limits) {
            if (known.design == key && known.step == step && known.maxRate == maxRate) {
                return &known;
            }
        }
        return nullptr;
    }
    void Remember(const WellParameters& design, double step, long maxRate,
                  std::optional<long> rate) {
        if (limits.size() >= kKeptLimits) {
            limits.erase(limits.begin());
        }
        limits.push_back({WithoutRate(design), step, maxRate, rate});
    }

    static constexpr size_t kMostKeptSteps = 3 * DrawSteps::kMostTabulatedSteps, kKeptLimits = 16;
    std::vector<DrawSteps> draws;
    std::vector<KnownLimit> limits;
};

OutlookCache::OutlookCache() : memory_(std::make_unique<Memory>()) {}
OutlookCache::~OutlookCache() = default;

namespace {
// The simulation with the pump running, and the sum of the depth's increments without the
// clamping at 0 and at the dip tube length. Each step is the simulation's (StepSimulation) as
// far as the penetration goes: the crank turned by the same sums, the draw it gives, and the
// capacity model's own evaluation; the plunger, which nothing here reads, is left out.
class PumpRun {
public:
    PumpRun(const WellParameters& parameters, double step, DrawSteps& draws)
        : parameters_(parameters), step_(step), omega_(parameters.GetCrankAngularSpeed()),
          draws_(draws) {
        parameters_.SetPumpRunning(true);
    }

    // Steps to the first step at or past the end of the cycle under way. False when gas
    // reached the inlet on the way.
    bool FinishCycle() {
        const double cycleStartSum = sum_;
        do {
            Step();
            peakRise_ = std::max(peakRise_, sum_ - cycleStartSum);
            if (state_.gasAtDipTubeInlet) {
                return false;
            }
        } while (!newCycle_);
        return true;
    }
    void Step() {
        const double before = state_.crankAngle;
        state_.elapsedTime += step_;
        state_.crankAngle += omega_ * step_;
        const DrawStep draw = draws_.At(steps_++, before, state_.crankAngle);
        newCycle_ = draw.newCycle;
        state_.flowMultiplier = draw.multiplier;
        CapacityModel::Evaluate(parameters_, step_, state_);
        sum_ -= step_ * state_.annulusBubbleVelocity;
        deepest_ = std::max(deepest_, state_.gasPenetrationDepth);
    }
    // The sum at the exact cycle boundary just passed. Around it the pump draws nothing, so the
    // depth moves at the rise velocity for the part of the last step beyond the boundary.
    double SumAtBoundary() const {
        const double beyond = std::fmod(state_.crankAngle, kTwoPi) / omega_;
        return sum_ + parameters_.GetGasBubbleRiseVelocity() * std::min(beyond, step_);
    }
    void SkipCycles(double cycles, double drift) {
        state_.elapsedTime += cycles * kTwoPi / omega_;
        state_.gasPenetrationDepth += cycles * drift;
        sum_ += cycles * drift;
    }
    const SimulationState& State() const { return state_; }
    double PeakRise() const { return peakRise_; } // the largest rise within a cycle so far
    InletOutlook Reached() const {
        return {true, state_.elapsedTime, parameters_.GetDipTubeLength()};
    }
    InletOutlook NeverReached() const { return {false, 0, deepest_}; }

private:
    WellParameters parameters_;
    double step_, omega_;
    DrawSteps& draws_;
    SimulationState state_;
    size_t steps_ = 0;
    bool newCycle_ = false;
    double sum_ = 0;
    double peakRise_ = 0;
    double deepest_ = 0;
};

// The outlook stepped by `step` (the outlook's step). Without `when`, only whether gas ever
// gets there counts: a positive drift answers it without finding the time.
InletOutlook Outlook(const WellParameters& parameters, double step, DrawSteps& draws, bool when) {
    PumpRun run(parameters, step, draws);
    const double omega = parameters.GetCrankAngularSpeed();
    if (!(omega > 0) || !std::isfinite(omega)) { // no strokes: every step is the same
        run.Step();
        return run.State().gasAtDipTubeInlet ? run.Reached() : run.NeverReached();
    }
    const int measured = MeasuredCycles(kTwoPi / omega / step);
    if (!run.FinishCycle()) { // the first cycle starts with no gas below the inlet
        return run.Reached();
    }
    const double firstBoundary = run.SumAtBoundary();
    for (int i = 0; i < measured; ++i) {
        if (!run.FinishCycle()) {
            return run.Reached();
        }
    }
    const double drift = (run.SumAtBoundary() - firstBoundary) / measured;
    if (!(drift > 0)) {
        return run.NeverReached();
    }
    if (!when) {
        return {true, 0, parameters.GetDipTubeLength()};
    }
    const double length = parameters.GetDipTubeLength();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const double cycles = (length - run.State().gasPenetrationDepth - run.PeakRise()) / drift;
        if (cycles > 3) {
            run.SkipCycles(std::floor(cycles) - 2, drift);
        }
        for (int i = 0; i < measured + 2; ++i) {
            if (!run.FinishCycle()) {
                return run.Reached();
            }
        }
    }
    // Still short of the inlet: a drift too small to measure well. The gas does get there,
    // later than this.
    return run.Reached();
}

// The gas limit search at one pump speed and step: whether gas ever reaches the inlet at a
// production rate, exactly as the outlook says it, and cheaper estimates of where that starts.
class LimitSearch {
public:
    LimitSearch(const WellParameters& parameters, double step, DrawSteps& draws)
        : parameters_(parameters), step_(step), draws_(draws) {}

    bool Reaches(long rate) { return Outlook(AtRate(rate), step_, draws_, false).reaches; }

    // Whether gas gets to the inlet within the first two cycles. Below capacity that is the
    // deepest reach of any cycle: the reach is periodic, and a stretch longer than a cycle
    // takes the gas no deeper than a shorter one. It grows with the rate.
    bool PeakReaches(long rate) {
        PumpRun run(AtRate(rate), step_, draws_);
        return !run.FinishCycle() || !run.FinishCycle();
    }

    // The rate at which the drift per cycle turns positive: where the pump's mean draw over the
    // measured cycles takes the annulus down as fast as the bubbles rise. Not a number when the
    // design has no such rate.
    double DriftFreeRate() {
        const double omega = parameters_.GetCrankAngularSpeed();
        const double area = CapacityModel::AnnulusArea(parameters_);
        const double flowPerRate = AtRate(1).GetProductionFlow();
        const double rise = parameters_.GetGasBubbleRiseVelocity();
        if (!(omega > 0) || !std::isfinite(omega) || !(area > 0) || !(flowPerRate > 0)) {
            return std::nan("");
        }
        const int measured = MeasuredCycles(kTwoPi / omega / step_);
        double angle = 0, drawn = 0, steps = 0, firstBeyond = 0;
        for (int cycle = 0, k = 0; cycle <= measured; ++k) {
            const double before = angle;
            angle += omega * step_;
            const DrawStep draw = draws_.At(static_cast<size_t>(k), before, angle);
            drawn += cycle > 0 ? draw.multiplier : 0;
            steps += cycle > 0 ? 1 : 0;
            if (draw.newCycle && cycle++ == 0) {
                firstBeyond = std::min(std::fmod(angle, kTwoPi) / omega, step_);
            }
        }
        const double lastBeyond = std::min(std::fmod(angle, kTwoPi) / omega, step_);
        const double risen = rise * (steps * step_ - lastBeyond + firstBeyond);
        return risen * area / (step_ * drawn * flowPerRate);
    }

private:
    WellParameters AtRate(long rate) const {
        WellParameters p = parameters_;
        p.SetProductionRate(static_cast<double>(rate));
        return p;
    }

    WellParameters parameters_;
    double step_;
    DrawSteps& draws_;
};

// Where the search starts: the first whole rate past the drift-free one, or, below it, the
// smallest at which a cycle's peak reaches the inlet. From 1 to `maxRate`.
long EstimatedLimit(LimitSearch& search, long maxRate) {
    const double driftFree = search.DriftFreeRate();
    if (!(driftFree >= 0)) {
        return 1;
    }
    const long aboveDriftFree =
        driftFree < static_cast<double>(maxRate) ? static_cast<long>(driftFree) + 1 : maxRate;
    if (!search.PeakReaches(aboveDriftFree)) {
        return aboveDriftFree;
    }
    long low = 0, high = aboveDriftFree; // a cycle's peak reaches the inlet at `high`
    while (high - low > 1) {
        const long middle = low + (high - low) / 2;
        (search.PeakReaches(middle) ? high : low) = middle;
    }
    return high;
}

// The smallest rate from 1 to `maxRate` at which the search `Reaches`, starting from
// `estimate`: a bracket around it widened by doubling steps, then halved. The answer does not
// depend on the estimate, only the work does.
std::optional<long> SearchFrom(LimitSearch& search, long estimate, long maxRate) {
    long low = 0,
         high = estimate; // gas never reaches at `low` (0: no production), at `high` it does
    if (search.Reaches(estimate)) {
        for (long width = 1; low == 0 && high > 1; width *= 2) {
            const long below = std::max(high - width, 1L);
            (search.Reaches(below) ? high : low) = below;
        }
    } else if (estimate >= maxRate) {
        return std::nullopt;
    } else {
        low = estimate;
        for (long width = 1;; width *= 2) {
            high = std::min(low + width, maxRate);
            if (search.Reaches(high)) {
                break;
            }
            if (high == maxRate) {
                return std::nullopt;
            }
            low = high;
        }
    }
    while (high - low > 1) {
        const long middle = low + (high - low) / 2;
        (search.Reaches(middle) ? high : low) = middle;
    }
    return high;
}
} // namespace

InletOutlook DipTubeInletOutlook(const WellParameters& parameters, double step) {
    OutlookCache cache;
    return DipTubeInletOutlook(parameters, step, cache);
}

InletOutlook DipTubeInletOutlook(const WellParameters& parameters, double step,
                                 OutlookCache& cache) {
    if (!(step > 0)) {
        return {};
    }
    step = OutlookStep(parameters, step);
    DrawSteps& draws = cache.Get().DrawsFor(parameters.GetCrankAngularSpeed(), step);
    return Outlook(parameters, step, draws, true);
}

std::optional<long> LongRunGasLimitRate(const WellParameters& parameters, double step,
                                        long maxRate) {
    OutlookCache cache;
    return LongRunGasLimitRate(parameters, step, maxRate, cache);
}

std::optional<long> LongRunGasLimitRate(const WellParameters& parameters, double step, long maxRate,
                                        OutlookCache& cache) {
    if (maxRate < 1 || !(step > 0)) {
        return std::nullopt;
    }
    OutlookCache::Memory& memory = cache.Get();
    if (const auto* known = memory.Known(parameters, step, maxRate)) {
        return known->rate;
    }
    const double outlookStep = OutlookStep(parameters, step);
    LimitSearch search(parameters, outlookStep,
                       memory.DrawsFor(parameters.GetCrankAngularSpeed(), outlookStep));
    const std::optional<long> rate = SearchFrom(search, EstimatedLimit(search, maxRate), maxRate);
    memory.Remember(parameters, step, maxRate, rate);
    return rate;
}

double DriftFreeRate(const WellParameters& parameters, double step, OutlookCache& cache) {
    if (!(step > 0)) {
        return std::nan("");
    }
    const double outlookStep = OutlookStep(parameters, step);
    LimitSearch search(parameters, outlookStep,
                       cache.Get().DrawsFor(parameters.GetCrankAngularSpeed(), outlookStep));
    return search.DriftFreeRate();
}
