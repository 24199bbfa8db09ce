#pragma once
// One design's figures as the calculator reports them, for a single run, a batch or a sweep:
// the value options, the input check and the figures as (key, text) pairs in output order.

#include "app/model/InletOutlook.h"
#include "app/model/ParameterTable.h"
#include "app/model/SimulationState.h"
#include "app/model/Units.h"
#include "app/model/Verdict.h"
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
    double seconds = 30;                     // simulated time with the pump running
    double step = 1.0 / 60;                  // simulation step
    UnitSystem units = UnitSystem::Oilfield; // of the options' values and the output
};

struct DesignFigures {
    SimulationState last;       // after the run
    double peakPenetration = 0; // within the run
    bool gasReachedInlet = false;
    // However long the pump runs, as the program's panel judges it: the outlook (when gas
    // reaches the dip tube inlet, how deep it gets), the gas limit, the capacity margin.
    DesignVerdict verdict;
};

// Runs the pump for the settings' time from the bottom of the stroke and judges the design
// (JudgeDesign); `onStep` is called after each step. What designs share (the pump's draw at a
// speed, the gas limit of a design at any rate) is kept in `cache`.
DesignFigures ComputeFigures(const WellParameters& design, const RunSettings& settings,
                             OutlookCache& cache,
                             const std::function<void(const SimulationState&)>& onStep = {});

using Figure = std::pair<std::string, std::string>;
// The figures' keys and values as the single run prints them and a table's row holds them, in
// that order. Keys name their unit ("maximum_capacity_bbl_per_day", "..._m3_per_day").
std::vector<Figure> FigureFields(const DesignFigures& figures,
                                 UnitSystem units = UnitSystem::Oilfield);
// A model value as the calculator writes it in `units` (six significant digits).
std::string FigureValue(double modelValue, Quantity quantity, UnitSystem units);

// Refuses out-of-range values (errors) and reports inconsistent ones (warnings) on `err`, each
// line after `prefix`. False when anything was refused.
bool CheckDesign(const WellParameters& design, std::ostream& err, const std::string& prefix = "",
                 UnitSystem units = UnitSystem::Oilfield);

// The whole of `text` as a finite number (a decimal or a fraction); not "12abc", "", "inf",
// "1e999", "2,5" or "7/0", for which it throws CalculatorError naming `what`.
double NumberValue(const std::string& what, const std::string& text);

// Ten significant digits, as printf's "%.10g" in the "C" locale.
std::string CsvNumber(double value);
