#include "tools/calc/DesignFigures.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/SimulationStep.h"
#include "app/model/TypedNumber.h"
#include "tools/calc/QuotedText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

DesignFigures ComputeFigures(const WellParameters& design, const RunSettings& settings,
                             OutlookCache& cache,
                             const std::function<void(const SimulationState&)>& onStep) {
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
    figures.verdict = JudgeDesign(design, settings.step, cache);
    return figures;
}

std::string FigureValue(double modelValue, Quantity quantity, UnitSystem units) {
    return FormatNumber(ToShown(modelValue, quantity, units));
}

std::vector<Figure> FigureFields(const DesignFigures& f, UnitSystem units) {
    const SimulationState& s = f.last;
    const DesignVerdict& verdict = f.verdict;
    const bool reaches = verdict.reachesInlet;
    const char* cause = CauseText(verdict.cause);
    const auto figure = [units](const char* name, double value, Quantity quantity) {
        return Figure{NameWithUnit(name, quantity, units), FigureValue(value, quantity, units)};
    };
    return {
        figure("annulus_area", s.annulusArea, Quantity::Area),
        figure("dip_tube_bore_area", s.dipTubeBoreArea, Quantity::Area),
        figure("maximum_capacity", s.maximumCapacity, Quantity::Rate),
        figure("recommended_dip_tube_length", RoundToThousandths(s.recommendedDipTubeLength),
               Quantity::Length),
        figure("peak_gas_penetration", f.peakPenetration, Quantity::Length),
        {"gas_reaches_dip_tube_inlet", f.gasReachedInlet ? "true" : "false"},
        {"time_to_dip_tube_inlet_s",
         reaches ? FormatNumber(verdict.secondsToInlet) : std::string("never")},
        figure("long_run_peak_gas_penetration", verdict.deepestReach, Quantity::Length),
        verdict.gasLimitRate
            ? figure("gas_limit_production_rate", *verdict.gasLimitRate, Quantity::Rate)
            : Figure{NameWithUnit("gas_limit_production_rate", Quantity::Rate, units), "none"},
        {"verdict", VerdictWord(verdict.kind)},
        {"verdict_cause", *cause ? cause : "none"},
        {"capacity_margin_percent", FormatDecimals(verdict.capacityMargin, 1)},
    };
}

bool CheckDesign(const WellParameters& design, std::ostream& err, const std::string& prefix,
                 UnitSystem units) {
    bool accepted = true;
    for (const RuleOutcome& outcome : CheckParameterRules(design)) {
        if (outcome.passed) {
            continue;
        }
        const bool refused = outcome.rule.IsRange();
        err << prefix << (refused ? "error: " : "warning: ")
            << DescribeFailure(outcome.rule, design, units) << "\n";
        accepted = accepted && !refused;
    }
    return accepted;
}

double NumberValue(const std::string& what, const std::string& text) {
    const std::optional<double> value = ReadNumber(text);
    if (value && std::isinf(*value)) {
        throw CalculatorError(what + ": " + QuoteInput(text) + " is too large a number");
    }
    if (!value || !std::isfinite(*value)) {
        throw CalculatorError(what + ": " + QuoteInput(text) + " is not a number" +
                              (CommaInNumber(text) != std::string_view::npos
                                   ? " (decimals take a point, 3.5, and no thousands separator)"
                                   : ""));
    }
    return *value;
}

// Adding +0 turns a negative zero (a downward velocity times no flow) into 0, not "-0".
std::string CsvNumber(double value) {
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::general, 10);
    return std::string(buffer, written.ptr);
}
