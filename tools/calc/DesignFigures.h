#pragma once
// One design's figures as the calculator reports them, for a single run, a batch or a sweep:
// the value options, the input check and the figures as (key, text) pairs in output order.

#include "app/model/InletOutlook.h"
#include "app/model/ParameterTable.h"
#include "app/model/SimulationState.h"
#include "app/model/WellParameters.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Input the calculator cannot use: a bad command line or file. Ends the run with status 2.
class CalculatorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RunSettings {
    double seconds = 30;    // simulated time with the pump running
    double step = 1.0 / 60; // simulation step
    bool gasLimit = false;  // also search the long-run gas limit rate
};

struct DesignFigures {
    SimulationState last;       // after the run
    double peakPenetration = 0; // within the run
    bool gasReachedInlet = false;
    InletOutlook outlook; // however long the pump runs
    std::optional<long> gasLimitRate;
    bool gasLimitSearched = false;
};

// Runs the pump for the settings' time from the bottom of the stroke and computes the long-run
// figures; `onStep` is called after each step. `gasLimitRate`, when given, is the gas limit
// already known for this design at any production rate (the search then is skipped).
DesignFigures ComputeFigures(const WellParameters& design, const RunSettings& settings,
                             const std::function<void(const SimulationState&)>& onStep = {},
                             std::optional<std::optional<long>> gasLimitRate = {});

using Figure = std::pair<std::string, std::string>;
// The figures' keys and values as the single run prints them, in that order.
std::vector<Figure> FigureFields(const DesignFigures& figures);

// Refuses out-of-range values (errors) and reports inconsistent ones (warnings) on `err`, each
// line after `prefix`. False when anything was refused.
bool CheckDesign(const WellParameters& design, std::ostream& err, const std::string& prefix = "");

// The whole of `text` as a finite number (a decimal or a fraction); not "12abc", "", "inf",
// "1e999", "2,5" or "7/0", for which it throws CalculatorError naming `what`.
double NumberValue(const std::string& what, const std::string& text);

// Ten significant digits, as printf's "%.10g" in the "C" locale.
std::string CsvNumber(double value);
