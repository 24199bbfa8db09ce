#include "tools/calc/DesignFigures.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/SimulationStep.h"
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

std::vector<Figure> FigureFields(const DesignFigures& f) {
    const SimulationState& s = f.last;
    const DesignVerdict& verdict = f.verdict;
    const bool reaches = verdict.kind == VerdictKind::Fails;
    const char* cause = CauseText(verdict.cause);
    return {
        {"annulus_area_in2", FormatNumber(s.annulusArea)},
        {"dip_tube_bore_area_in2", FormatNumber(s.dipTubeBoreArea)},
        {"maximum_capacity_bbl_per_day", FormatNumber(s.maximumCapacity)},
        {"recommended_dip_tube_length_in",
         FormatNumber(RoundToThousandths(s.recommendedDipTubeLength))},
        {"peak_gas_penetration_in", FormatNumber(f.peakPenetration)},
        {"gas_reaches_dip_tube_inlet", f.gasReachedInlet ? "true" : "false"},
        {"time_to_dip_tube_inlet_s",
         reaches ? FormatNumber(verdict.secondsToInlet) : std::string("never")},
        {"long_run_peak_gas_penetration_in", FormatNumber(verdict.deepestReach)},
        {"gas_limit_production_rate_bbl_per_day",
         verdict.gasLimitRate ? std::to_string(*verdict.gasLimitRate) : "none"},
        {"verdict", VerdictWord(verdict.kind)},
        {"verdict_cause", *cause ? cause : "none"},
        {"capacity_margin_percent", FormatDecimals(verdict.capacityMargin, 1)},
    };
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
        throw CalculatorError(what + ": " + QuoteInput(text) + " is not a number");
    }
    return *value;
}

std::string CsvNumber(double value) {
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return std::string(buffer, written.ptr);
}
