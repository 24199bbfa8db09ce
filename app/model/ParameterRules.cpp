#include "app/model/ParameterRules.h"

#include "app/model/NumberFormat.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace {
constexpr double kNoLimit = std::numeric_limits<double>::infinity();

const ConsistencyRule kConsistencyRules[] = {
    {ParameterId::SeparatorID, ParameterId::SeparatorOD, "Separator Diameter Warning View"},
    {ParameterId::DipTubeOD, ParameterId::SeparatorID, "Separator Inner Diameter Warning View"},
    {ParameterId::DipTubeID, ParameterId::DipTubeOD, "Dip Tube Diameter Warning View"},
    {ParameterId::GasDensity, ParameterId::LiquidDensity, ""}, // judged in the fluid's form
};

// Each input's range rule, each followed by the consistency rules that mark that input first.
std::vector<Rule> OrderedRules() {
    std::vector<Rule> rules;
    for (const ParameterEntry& parameter : Parameters()) {
        rules.push_back({&parameter, nullptr});
        for (const ConsistencyRule& consistency : kConsistencyRules) {
            if (consistency.below == parameter.id) {
                rules.push_back({&parameter, &consistency});
            }
        }
    }
    return rules;
}

bool Passes(const Rule& rule, const WellParameters& p) {
    const double value = rule.parameter->Get(p);
    if (rule.IsRange()) {
        return WithinOwnLimits(*rule.parameter, value) &&
               (!rule.parameter->limits.belowCasing || value < p.GetCasingSize());
    }
    const double above = rule.Other()->Get(p);
    return !(above > 0 && value >= above);
}

std::string Limit(const ParameterEntry& parameter, double value, UnitSystem units) {
    return FormatLimit(value, parameter.quantity, units);
}
} // namespace

const ParameterEntry* Rule::Other() const {
    return consistency ? &ParameterOf(consistency->above) : nullptr;
}

const char* Rule::Warning() const {
    return consistency ? consistency->warning : parameter->rangeWarning;
}

std::span<const Rule> Rules() {
    static const std::vector<Rule> rules = OrderedRules();
    return rules;
}

std::vector<RuleOutcome> CheckParameterRules(const WellParameters& parameters) {
    std::vector<RuleOutcome> outcomes;
    outcomes.reserve(Rules().size());
    for (const Rule& rule : Rules()) {
        outcomes.push_back({rule, Passes(rule, parameters)});
    }
    return outcomes;
}

namespace {
bool BreaksARule(const WellParameters& parameters, bool range) {
    for (const Rule& rule : Rules()) {
        if (rule.IsRange() == range && !Passes(rule, parameters)) {
            return true;
        }
    }
    return false;
}
} // namespace

bool BreaksARangeRule(const WellParameters& parameters) {
    return BreaksARule(parameters, true);
}

bool BreaksAConsistencyRule(const WellParameters& parameters) {
    return BreaksARule(parameters, false);
}

bool WithinOwnLimits(const ParameterEntry& parameter, double v) {
    const Limits& limits = parameter.limits;
    return std::isfinite(v) && (limits.lowAllowed ? v >= limits.low : v > limits.low) &&
           (limits.highAllowed ? v <= limits.high : v < limits.high);
}

std::string DescribeLimits(const ParameterEntry& parameter, UnitSystem units) {
    const Limits& limits = parameter.limits;
    std::string text =
        (limits.lowAllowed ? "at least " : "above ") + Limit(parameter, limits.low, units);
    if (limits.high != kNoLimit) {
        text +=
            (limits.highAllowed ? ", at most " : ", below ") + Limit(parameter, limits.high, units);
    }
    if (limits.belowCasing) {
        text += ", below the casing inside diameter";
    }
    return text;
}

std::string RangeText(const ParameterEntry& parameter, UnitSystem units) {
    const Limits& limits = parameter.limits;
    const std::string unit = std::string(" ") + parameter.UnitIn(units).symbol;
    const std::string low = Limit(parameter, limits.low, units);
    if (limits.belowCasing) {
        return "above " + low + " and below the casing inside diameter";
    }
    if (limits.high == kNoLimit) {
        return (limits.lowAllowed ? "at least " : "above ") + low + unit;
    }
    const std::string high = Limit(parameter, limits.high, units);
    if (limits.lowAllowed && limits.highAllowed) {
        return "from " + low + " to " + high + unit;
    }
    return (limits.lowAllowed ? "at least " : "above ") + low +
           (limits.highAllowed ? " and at most " : " and below ") + high + unit;
}

std::string DescribeFailure(const Rule& rule, const WellParameters& p, UnitSystem units) {
    const ParameterEntry& parameter = *rule.parameter;
    // Every figure with its unit: a metric report or batch reads "69.9 mm", not a bare 69.9.
    const auto shown = [&](const ParameterEntry& entry) {
        return FormatWithUnit(entry.Get(p), entry.quantity, units);
    };
    if (!rule.IsRange()) {
        const ParameterEntry& other = *rule.Other();
        return std::string(parameter.name) + " (" + shown(parameter) + ") must be less than " +
               other.name + " (" + shown(other) + ")";
    }
    std::string text = std::string(parameter.name) + " must be " + RangeText(parameter, units);
    if (parameter.limits.belowCasing) {
        text += " (" + shown(ParameterOf(ParameterId::CasingSize)) + ")";
    }
    return text + "; got " + shown(parameter);
}

std::string RangeWarningText(const ParameterEntry& parameter, UnitSystem units) {
    return "Must be " + RangeText(parameter, units) + ".";
}

std::string FieldTooltip(const ParameterEntry& parameter, UnitSystem units) {
    std::string text =
        std::string(parameter.fullName) + " in " + parameter.UnitIn(units).longName + ":";
    for (const Rule& rule : Rules()) {
        if (rule.parameter != &parameter) {
            continue;
        }
        if (rule.IsRange()) {
            text += " " + DescribeLimits(parameter, units);
        } else {
            std::string other = rule.Other()->fullName;
            other[0] = AsciiLower(other[0]);
            text += ", below the " + other;
        }
    }
    return text;
}
