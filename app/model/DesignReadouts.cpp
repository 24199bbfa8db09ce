#include "app/model/DesignReadouts.h"

#include "app/model/CapacityModel.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/Verdict.h"

#include <algorithm>
#include <cmath>

double GasReach::Fraction() const {
    if (!known || !(length > 0)) {
        return 0;
    }
    return std::clamp(depth / length, 0.0, 1.0);
}

std::string GasReach::DepthText(UnitSystem units) const {
    if (!known) {
        return kNotApplying;
    }
    // To the nearest tenth of an inch (a thousandth of a metre), but never to the whole length
    // before the gas is at the inlet.
    const int decimals = units == UnitSystem::Metric ? 3 : 1;
    const double scale = std::pow(10.0, decimals);
    const double shownDepth = ToShown(depth, Quantity::Length, units) * scale;
    const double shownLength = ToShown(length, Quantity::Length, units) * scale;
    double steps = std::round(shownDepth);
    if (steps >= std::round(shownLength) && depth < length) {
        steps = std::floor(shownDepth);
    }
    return FormatDecimals(steps / scale, decimals);
}

std::string GasReach::PercentText() const {
    return known ? FormatNumber(std::floor(Fraction() * 100 + 1e-9)) : kNotApplying;
}

GasReach GasReachOf(const WellParameters& parameters, const SimulationState& state) {
    return {state.completedCycles > 0, state.lastCycleDeepestPenetration,
            parameters.GetDipTubeLength()};
}

std::string GasReachText(const GasReach& reach, bool resultsApply, UnitSystem units) {
    if (!resultsApply) {
        return std::string("Gas reach ") + kNotApplying;
    }
    const std::string of = " of " + FormatShown(reach.length, Quantity::Length, units) + " " +
                           UnitOf(Quantity::Length, units).symbol;
    if (!reach.known) {
        return "Gas reach " + reach.DepthText(units) + of;
    }
    return "Gas reach " + reach.DepthText(units) + of + ", " + reach.PercentText() + " %";
}

double MaximumCapacityOf(const WellParameters& parameters) {
    return CapacityModel::MaximumCapacity(parameters.GetGasBubbleRiseVelocity(),
                                          CapacityModel::AnnulusArea(parameters));
}

std::optional<std::string> AboveCapacityText(const WellParameters& parameters,
                                             const DesignVerdict& verdict, bool arrived) {
    if (!verdict.FiguresApply() || !(parameters.GetProductionRate() > verdict.maximumCapacity)) {
        return std::nullopt;
    }
    if (!verdict.reachesInlet) { // the pump's pulses keep a rate just above it
        return "Above capacity";
    }
    const std::string time = SayDuration(verdict.secondsToInlet);
    const bool instant = verdict.secondsToInlet < 1; // "under a second" needs no "about"
    if (arrived) {
        return "Above capacity: gas reached the dip tube inlet after " +
               (instant ? time : "about " + time);
    }
    return "Above capacity: gas reaches the dip tube inlet in " +
           (instant ? time : "about " + time);
}
