#pragma once
// The separator capacity model: areas, the pump's pulsed draw, velocities, gas penetration,
// maximum capacity and recommended dip tube length. Pure functions of their inputs.

#include "app/SimulationState.h"
#include "app/WellParameters.h"

namespace CapacityModel {

// Phase of the pump cycle in [0, 1): 0 is the bottom of the stroke, 0.5 the top.
double CyclePhase(double crankAngle);

// The pump's draw as a multiple of the average draw: a trapezoid inside the upstroke.
double FlowMultiplier(double phase);

double AnnulusArea(const WellParameters& parameters);
double DipTubeBoreArea(const WellParameters& parameters);

// Whole bbl/day at which the mean downward annulus velocity equals the rise velocity.
double MaximumCapacity(double riseVelocity, double annulusArea);

// Bubble rise distance during one stroke times the design factor; 0 without a pump speed.
double RecommendedDipTubeLength(double riseVelocity, double spm);

// Fills the areas, the four velocities, the penetration depth, fraction and flag, the
// maximum capacity and the recommended length of `state` from its flow multiplier, the
// previous penetration depth and the step time `dt` in seconds.
void Evaluate(const WellParameters& parameters, double dt, SimulationState& state);

} // namespace CapacityModel
