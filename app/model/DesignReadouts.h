#pragma once
// What the program reads out about a design beyond the capacity and the recommended length:
// how deep the gas got in the last complete pump cycle (the gas reach), and, when the
// production rate is above the maximum capacity, how soon gas reaches the dip tube inlet.
// The panel, the copied design and the report all take their figures and texts from here.

#include "app/model/SimulationState.h"
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
    // The depth to a tenth of an inch and the percentage as whole numbers, as shown.
    std::string DepthText() const;
    std::string PercentText() const;
};

// The gas reach of the model's state.
GasReach GasReachOf(const WellParameters& parameters, const SimulationState& state);

// "Gas reach 20.3 of 42 in, 48 %"; "Gas reach — of 42 in" before a pump cycle is complete;
// "Gas reach —" when the results do not apply (a value breaks its range rule).
std::string GasReachText(const GasReach& reach, bool resultsApply);

// The maximum capacity of the parameters themselves (not of a simulation step), so a change
// of the rate is judged at once.
double MaximumCapacityOf(const WellParameters& parameters);

// "Above capacity: gas reaches the dip tube inlet in about N s" while the production rate is
// above the maximum capacity and every value is within its range; none otherwise. N is the
// model's time from a pump start to gas at the inlet, found from its cycle behaviour (a few
// thousand simulation steps, so callers work it out once per parameter change).
std::optional<std::string> AboveCapacityText(const WellParameters& parameters);
