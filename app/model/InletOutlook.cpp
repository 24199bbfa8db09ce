#include "app/model/InletOutlook.h"

#include "app/model/CapacityModel.h"
#include "app/model/SimulationState.h"
#include "app/model/SimulationStep.h"

#include <algorithm>
#include <cmath>

namespace {
// Cycles stepped for a measurement: enough steps to average the sampling of the pump's draw.
int MeasuredCycles(double stepsPerCycle) {
    return static_cast<int>(std::clamp(8192.0 / stepsPerCycle, 2.0, 16.0));
}

// The simulation with the pump running, and the sum of the depth's increments without the
// clamping at 0 and at the dip tube length.
class PumpRun {
public:
    PumpRun(const WellParameters& parameters, double step) : parameters_(parameters), step_(step) {
        parameters_.SetPumpRunning(true);
    }

    // Steps to the first step at or past the end of the cycle under way. False when gas
    // reached the inlet on the way.
    bool FinishCycle() {
        const double cycle = CapacityModel::CycleNumber(state_.crankAngle);
        const double cycleStartSum = sum_;
        while (CapacityModel::CycleNumber(state_.crankAngle) == cycle) {
            Step();
            peakRise_ = std::max(peakRise_, sum_ - cycleStartSum);
            if (state_.gasAtDipTubeInlet) {
                return false;
            }
        }
        return true;
    }
    void Step() {
        StepSimulation(parameters_, step_, state_);
        sum_ -= step_ * state_.annulusBubbleVelocity;
        deepest_ = std::max(deepest_, state_.gasPenetrationDepth);
    }
    // The sum at the exact cycle boundary just passed. Around it the pump draws nothing, so the
    // depth moves at the rise velocity for the part of the last step beyond the boundary.
    double SumAtBoundary() const {
        const double omega = parameters_.GetCrankAngularSpeed();
        const double beyond = std::fmod(state_.crankAngle, kTwoPi) / omega;
        return sum_ + parameters_.GetGasBubbleRiseVelocity() * std::min(beyond, step_);
    }
    void SkipCycles(double cycles, double drift) {
        state_.elapsedTime += cycles * kTwoPi / parameters_.GetCrankAngularSpeed();
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
    double step_;
    SimulationState state_;
    double sum_ = 0;
    double peakRise_ = 0;
    double deepest_ = 0;
};
} // namespace

InletOutlook DipTubeInletOutlook(const WellParameters& parameters, double step) {
    PumpRun run(parameters, step);
    const double omega = parameters.GetCrankAngularSpeed();
    if (!(step > 0)) {
        return {};
    }
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

std::optional<long> LongRunGasLimitRate(WellParameters parameters, double step, long maxRate) {
    auto reaches = [&](long rate) {
        parameters.SetProductionRate(static_cast<double>(rate));
        return DipTubeInletOutlook(parameters, step).reaches;
    };
    if (maxRate < 1 || !reaches(maxRate)) {
        return std::nullopt;
    }
    long low = 0, high = maxRate; // `low` never reaches (no production); `high` does
    while (high - low > 1) {
        const long middle = low + (high - low) / 2;
        (reaches(middle) ? high : low) = middle;
    }
    return high;
}
