#pragma once
// The separator capacity model: areas, the pump's pulsed draw, velocities, gas penetration,
// maximum capacity and recommended dip tube length. Pure functions of their inputs.

#include "app/model/SimulationState.h"
#include "app/model/WellParameters.h"

namespace CapacityModel {

// The number of whole pump cycles the crank has turned through.
double CycleNumber(double crankAngle);

// Phase of the pump cycle in [0, 1): 0 is the bottom of the stroke, 0.5 the top.
double CyclePhase(double crankAngle);

// The pump's draw as a multiple of the average draw: a trapezoid inside the upstroke.
double FlowMultiplier(double phase);

double AnnulusArea(const WellParameters& parameters);
double DipTubeBoreArea(const WellParameters& parameters);

// Whole bbl/day at which the mean downward annulus velocity equals the rise velocity.
double MaximumCapacity(double riseVelocity, double annulusArea);

// The fastest pump speed, strokes per minute, at which the pump's rate (its displacement times
// its efficiency) stays within the maximum capacity: the capacity over the rate per stroke per
// minute. 0 when the separator has no capacity.
double FastestPumpSpeedWithinCapacity(const WellParameters& parameters);

// Bubble rise distance during one stroke times the design factor; 0 without a pump speed.
double RecommendedDipTubeLength(double riseVelocity, double spm);

// A design without an annulus (a dip tube at least as wide as the separator bore) has no flow
// path to separate in: with the pump running and any production, the well's gas goes straight
// to the dip tube inlet. The velocities stay finite (the annulus carries nothing), the
// penetration is the whole dip tube at every step, and the capacity is 0.
bool CannotSeparate(const WellParameters& parameters, double annulusArea);

// Fills the areas, the four velocities, the penetration depth, fraction and flag, the
// maximum capacity and the recommended length of `state` from its flow multiplier, the
// previous penetration depth and the step time `dt` in seconds.
void Evaluate(const WellParameters& parameters, double dt, SimulationState& state);

// Follows the deepest penetration per pump cycle after a step that began in cycle
// `cycleBefore`: a step into a new cycle closes the one before it, whose deepest point becomes
// the last complete cycle's; the new cycle starts from the depth now.
void TrackDeepestPenetration(double cycleBefore, SimulationState& state);

} // namespace CapacityModel
