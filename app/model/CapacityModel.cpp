#include "app/model/CapacityModel.h"

#include <algorithm>
#include <cmath>

namespace CapacityModel {

namespace {
constexpr double kPeakMultiplier = 3.77;
constexpr double kRiseSlope = 25.13333333333333;  // 3.77 / 0.15
constexpr double kFallSlope = 20.944444444444446; // 3.77 / 0.18
constexpr double kLengthFactor = 1.23333333333;   // written with eleven decimals on purpose

// Liquid velocity for a flow through an area. A closed (non-positive) flow path carries no
// liquid: such designs are marked invalid in the panel, and the rest of the program needs
// finite numbers to draw and display them.
double VelocityThrough(double flow, double area) {
    return area > 0 ? flow / area : 0.0;
}
} // namespace

double CycleNumber(double crankAngle) {
    return std::floor(crankAngle / kTwoPi);
}

double CyclePhase(double crankAngle) {
    return std::fmod(crankAngle, kTwoPi) / kTwoPi;
}

double FlowMultiplier(double phase) {
    if (phase < 0.05) {
        return 0;
    }
    if (phase < 0.2) {
        return (phase - 0.05) * kRiseSlope;
    }
    if (phase < 0.3) {
        return kPeakMultiplier;
    }
    if (phase < 0.48) {
        return kPeakMultiplier - (phase - 0.3) * kFallSlope;
    }
    return 0;
}

double AnnulusArea(const WellParameters& p) {
    return kQuarterPi *
           (p.GetSeparatorID() * p.GetSeparatorID() - p.GetDipTubeOD() * p.GetDipTubeOD());
}

double DipTubeBoreArea(const WellParameters& p) {
    return kQuarterPi * p.GetDipTubeID() * p.GetDipTubeID();
}

double MaximumCapacity(double riseVelocity, double annulusArea) {
    // A closed annulus passes nothing: the capacity is never negative.
    const double capacity =
        std::floor(riseVelocity * annulusArea / kCubicInchesPerSecondPerBblPerDay + 0.5);
    return capacity > 0 ? capacity : 0.0;
}

double FastestPumpSpeedWithinCapacity(const WellParameters& p) {
    const double capacity = MaximumCapacity(p.GetGasBubbleRiseVelocity(), AnnulusArea(p));
    const double ratePerStrokePerMinute = kDisplacementConstant * p.GetStrokeLength() *
                                          p.GetPlungerDiameter() * p.GetPlungerDiameter() *
                                          p.GetPumpEfficiency() / 100.0;
    return ratePerStrokePerMinute > 0 ? capacity / ratePerStrokePerMinute : 0.0;
}

double RecommendedDipTubeLength(double riseVelocity, double spm) {
    if (spm <= 0) {
        return 0; // no strokes, no stroke time to rise through
    }
    return riseVelocity * (60.0 / spm * 0.5) * kLengthFactor;
}

bool CannotSeparate(const WellParameters& p, double annulusArea) {
    return !(annulusArea > 0) && p.GetPumpRunning() && p.GetProductionRate() > 0;
}

namespace {
// Moves the penetration depth by one step and derives the fraction and the inlet flag.
// A dip tube of no (or negative) length has its inlet at the separator inlet: gas is there
// whenever the annulus carries bubbles downward.
void StepPenetration(const WellParameters& p, double dt, SimulationState& s) {
    const double length = p.GetDipTubeLength();
    if (CannotSeparate(p, s.annulusArea)) {
        s.gasPenetrationDepth = std::max(length, 0.0);
        s.gasPenetrationFraction = 1;
        s.gasAtDipTubeInlet = true;
        return;
    }
    if (!(length > 0)) {
        s.gasPenetrationDepth = 0;
        s.gasPenetrationFraction = s.annulusBubbleVelocity < 0 ? 1.0 : 0.0;
        s.gasAtDipTubeInlet = s.gasPenetrationFraction >= 1;
        return;
    }
    const double depth = s.gasPenetrationDepth - dt * s.annulusBubbleVelocity;
    s.gasPenetrationDepth = std::min(std::max(depth, 0.0), length);
    s.gasPenetrationFraction = s.gasPenetrationDepth / length;
    s.gasAtDipTubeInlet = s.gasPenetrationFraction >= 1;
}
} // namespace

void Evaluate(const WellParameters& p, double dt, SimulationState& s) {
    const double riseVelocity = p.GetGasBubbleRiseVelocity();
    const double draw = p.GetProductionFlow() * s.flowMultiplier;
    s.annulusArea = AnnulusArea(p);
    s.dipTubeBoreArea = DipTubeBoreArea(p);
    s.annulusLiquidVelocity = -VelocityThrough(draw, s.annulusArea);
    s.annulusBubbleVelocity = riseVelocity + s.annulusLiquidVelocity;
    s.dipTubeLiquidVelocity = VelocityThrough(draw, s.dipTubeBoreArea);
    s.dipTubeBubbleVelocity = riseVelocity + s.dipTubeLiquidVelocity;
    StepPenetration(p, dt, s);
    s.maximumCapacity = MaximumCapacity(riseVelocity, s.annulusArea);
    s.recommendedDipTubeLength = RecommendedDipTubeLength(riseVelocity, p.GetSPM());
}

void TrackDeepestPenetration(double cycleBefore, SimulationState& s) {
    if (CycleNumber(s.crankAngle) > cycleBefore) {
        s.lastCycleDeepestPenetration = s.cycleDeepestPenetration;
        ++s.completedCycles;
        s.cycleDeepestPenetration = s.gasPenetrationDepth;
        return;
    }
    s.cycleDeepestPenetration = std::max(s.cycleDeepestPenetration, s.gasPenetrationDepth);
}

} // namespace CapacityModel
