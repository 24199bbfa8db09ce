#pragma once
// The terminal rise velocity of large gas bubbles in a liquid, from the fluids' properties, by
// Harmathy's correlation (T. Z. Harmathy, "Velocity of large drops and bubbles in media of
// infinite or restricted extent", AIChE Journal 6 (1960) 281-288):
//
//     v = 1.53 × [g σ (ρL − ρG) / ρL²]^¼
//
// with g = 9.80665 m/s², σ the surface tension (N/m), ρL and ρG the liquid's and the gas's
// densities (kg/m³), in SI units; the velocity comes back in m/s and is converted to in/s. It
// holds for large, distorted bubbles (several millimetres and more) in liquids of low viscosity:
// small bubbles in viscous oil rise far slower (Stokes' law, v = g d² (ρL − ρG) / (18 μ)).

#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <optional>
#include <string>
#include <vector>

// In in/s; none when the properties cannot give one (a gas not lighter than the liquid, values
// not above 0).
std::optional<double> HarmathyRiseVelocity(double liquidDensity, double gasDensity,
                                           double surfaceTension);

// The rise velocity the fluid values of `fluids` give, as the rise velocity's box would hold it
// (rounded to its shown decimals), or the reason there is none: a value outside its range, a gas
// not lighter than the liquid, a velocity outside the rise velocity's range. In `units`.
struct FluidOutcome {
    std::optional<double> riseVelocity; // in/s
    std::string problem;
};
FluidOutcome RiseVelocityFromFluid(const WellParameters& fluids, UnitSystem units);

// Typical fluids, for people to start from: name, liquid and gas density (kg/m³), surface
// tension (N/m).
struct TypicalFluid {
    const char* name;
    double liquidDensity;
    double gasDensity;
    double surfaceTension;
};
const std::vector<TypicalFluid>& TypicalFluids();

// When the correlation does not hold, as people are told.
extern const char* const kHarmathyLimits;
