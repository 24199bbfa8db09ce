#include "tools/calc/DesignFigures.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/SimulationStep.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

namespace {
constexpr long kGasLimitSearchRate = 10000000; // bbl/day, the highest rate the search tries

} // namespace

DesignFigures ComputeFigures(const WellParameters& design, const RunSettings& settings,
                             const std::function<void(const SimulationState&)>& onStep,
                             std::optional<std::optional<long>> gasLimitRate) {
    // The model's pure step from a zeroed state, the pump running from the bottom of the stroke:
    // nothing shared, so designs can be computed side by side.
    WellParameters parameters = design;
    parameters.SetPumpRunning(true);
    SimulationState state;
    DesignFigures figures;
    const long steps = std::lround(settings.seconds / settings.step);
    for (long i = 0; i < steps; ++i) {
        StepSimulation(parameters, settings.step, state);
        figures.peakPenetration = std::max(figures.peakPenetration, state.gasPenetrationDepth);
        figures.gasReachedInlet = figures.gasReachedInlet || state.gasAtDipTubeInlet;
        if (onStep) {
            onStep(state);
        }
    }
    // Without any step the figures that do not depend on time still come from one step of 0 s.
    if (steps == 0) {
        StepSimulation(parameters, 0, state);
    }
    figures.last = state;
    figures.outlook = DipTubeInletOutlook(design, settings.step);
    figures.gasLimitSearched = settings.gasLimit;
    if (settings.gasLimit) {
        figures.gasLimitRate =
            gasLimitRate ? *gasLimitRate
                         : LongRunGasLimitRate(design, settings.step, kGasLimitSearchRate);
    }
    return figures;
}

std::vector<Figure> FigureFields(const DesignFigures& f) {
    const SimulationState& s = f.last;
    std::vector<Figure> fields = {
        {"annulus_area_in2", FormatNumber(s.annulusArea)},
        {"dip_tube_bore_area_in2", FormatNumber(s.dipTubeBoreArea)},
        {"maximum_capacity_bbl_per_day", FormatNumber(s.maximumCapacity)},
        {"recommended_dip_tube_length_in",
         FormatNumber(RoundToThousandths(s.recommendedDipTubeLength))},
        {"peak_gas_penetration_in", FormatNumber(f.peakPenetration)},
        {"gas_reaches_dip_tube_inlet", f.gasReachedInlet ? "true" : "false"},
        {"time_to_dip_tube_inlet_s",
         f.outlook.reaches ? FormatNumber(f.outlook.seconds) : std::string("never")},
        {"long_run_peak_gas_penetration_in", FormatNumber(f.outlook.deepest)},
    };
    if (f.gasLimitSearched) {
        fields.emplace_back("gas_limit_production_rate_bbl_per_day",
                            f.gasLimitRate ? std::to_string(*f.gasLimitRate) : "none");
    }
    return fields;
}

bool CheckDesign(const WellParameters& design, std::ostream& err, const std::string& prefix) {
    bool accepted = true;
    for (const RuleOutcome& outcome : CheckParameterRules(design)) {
        if (outcome.passed) {
            continue;
        }
        const bool refused = outcome.rule.IsRange();
        err << prefix << (refused ? "error: " : "warning: ")
            << DescribeFailure(outcome.rule, design) << "\n";
        accepted = accepted && !refused;
    }
    return accepted;
}

double NumberValue(const std::string& what, const std::string& text) {
    const std::optional<double> value = ReadNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw CalculatorError(what + ": '" + text + "' is not a number");
    }
    return *value;
}

std::string CsvNumber(double value) {
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return std::string(buffer, written.ptr);
}
