#include "app/model/DesignReadouts.h"

#include "app/model/CapacityModel.h"
#include "app/model/InletOutlook.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"

#include <algorithm>
#include <cmath>

namespace {
// The outlook steps as the main loop does, 60 passes a second.
constexpr double kOutlookStep = 1.0 / 60.0;
} // namespace

double GasReach::Fraction() const {
    if (!known || !(length > 0)) {
        return 0;
    }
    return std::clamp(depth / length, 0.0, 1.0);
}

std::string GasReach::DepthText() const {
    return known ? FormatNumber(std::round(depth * 10) / 10) : kNotApplying;
}

std::string GasReach::PercentText() const {
    return known ? FormatNumber(std::round(Fraction() * 100)) : kNotApplying;
}

GasReach GasReachOf(const WellParameters& parameters, const SimulationState& state) {
    return {state.completedCycles > 0, state.lastCycleDeepestPenetration,
            parameters.GetDipTubeLength()};
}

std::string GasReachText(const GasReach& reach, bool resultsApply) {
    if (!resultsApply) {
        return std::string("Gas reach ") + kNotApplying;
    }
    const std::string of = " of " + FormatNumber(reach.length) + " in";
    if (!reach.known) {
        return "Gas reach " + reach.DepthText() + of;
    }
    return "Gas reach " + reach.DepthText() + of + ", " + reach.PercentText() + " %";
}

double MaximumCapacityOf(const WellParameters& parameters) {
    return CapacityModel::MaximumCapacity(parameters.GetGasBubbleRiseVelocity(),
                                          CapacityModel::AnnulusArea(parameters));
}

std::optional<std::string> AboveCapacityText(const WellParameters& parameters) {
    if (BreaksARangeRule(parameters) ||
        !(parameters.GetProductionRate() > MaximumCapacityOf(parameters))) {
        return std::nullopt;
    }
    const InletOutlook outlook = DipTubeInletOutlook(parameters, kOutlookStep);
    if (!outlook.reaches) { // the pump's pulses keep a rate just above it from gaining
        return "Above capacity";
    }
    if (outlook.seconds < 1) {
        return "Above capacity: gas reaches the dip tube inlet in under a second";
    }
    return "Above capacity: gas reaches the dip tube inlet in about " +
           FormatNumber(std::round(outlook.seconds)) + " s";
}
