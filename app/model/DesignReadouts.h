#pragma once
// What the program reads out about a design beyond the capacity and the recommended length:
// how deep the gas got in the last complete pump cycle (the gas reach), and, when the
// production rate is above the maximum capacity, how soon gas reaches the dip tube inlet.
// The panel, the copied design and the report all take their figures and texts from here.

#include "app/model/SimulationState.h"
#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <optional>
#include <string>

// What a result reads while it does not apply: an em dash, as the panel shows it.
inline constexpr const char* kNotApplying = "\u2014";

struct GasReach {
    bool known = false; // a pump cycle has been completed since the parameters last changed
    double depth = 0;   // in, the deepest penetration of the last complete cycle
    double length = 0;  // in, the dip tube length
    // depth / length, 0 to 1; 0 while unknown or without a length.
    double Fraction() const;
    // The depth to a tenth of an inch (a millimetre in metric: the length in m to three
    // decimals) and the percentage as a whole number, both rounded down: the whole dip tube,
    // 100 %, is said only of gas at the inlet.
    std::string DepthText(UnitSystem units = UnitSystem::Oilfield) const;
    std::string PercentText() const;
};

// The gas reach of the model's state.
GasReach GasReachOf(const WellParameters& parameters, const SimulationState& state);

// "Gas reach 20.3 of 42 in, 48 %"; "Gas reach — of 42 in" before a pump cycle is complete;
// "Gas reach —" when the results do not apply (a value breaks its range rule).
// In metric: "Gas reach 0.515 of 1.067 m, 48 %".
std::string GasReachText(const GasReach& reach, bool resultsApply,
                         UnitSystem units = UnitSystem::Oilfield);

// The maximum capacity of the parameters themselves (not of a simulation step), so a change
// of the rate is judged at once.
double MaximumCapacityOf(const WellParameters& parameters);

struct DesignVerdict;

// "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s" while the production rate
// is above the maximum capacity and the verdict applies; none otherwise. The time is the
// verdict's, from a pump start; once the simulation has had gas at the inlet (`arrived`) it
// says "gas reached the dip tube inlet after about ...".
std::optional<std::string> AboveCapacityText(const WellParameters& parameters,
                                             const DesignVerdict& verdict, bool arrived);
