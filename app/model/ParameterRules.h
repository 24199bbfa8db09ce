#pragma once
// The input rules, read from the parameter table. Each input has a range rule: a value outside
// it must not reach the model (a value that is not a finite number breaks it too). Three
// consistency rules only flag values that contradict each other: the separator's inside
// diameter below its outside diameter, the dip tube inside the separator, the dip tube's inside
// diameter below its outside diameter. A consistency rule is checked right after the range rule
// of the input it marks first.

#include "app/model/ParameterTable.h"

#include <span>
#include <string>
#include <vector>

// `below` must be less than `above` whenever `above` is above 0.
struct ConsistencyRule {
    ParameterId below;
    ParameterId above;
    const char* warning; // the warning view shown while it fails
};

struct Rule {
    const ParameterEntry* parameter;    // the input judged (a consistency rule: `below`)
    const ConsistencyRule* consistency; // null for the input's range rule

    bool IsRange() const { return consistency == nullptr; }
    // The second input a consistency rule marks; null for a range rule.
    const ParameterEntry* Other() const;
    // The warning view the rule shows while it fails.
    const char* Warning() const;
    bool operator==(const Rule&) const = default;
};

struct RuleOutcome {
    Rule rule;
    bool passed;
};

// Every rule in the order they are checked.
std::span<const Rule> Rules();

// Every rule, in order, with its outcome for `parameters`.
std::vector<RuleOutcome> CheckParameterRules(const WellParameters& parameters);

// Whether any value of `parameters` breaks its range rule.
bool BreaksARangeRule(const WellParameters& parameters);
// Whether values of `parameters` contradict each other (a separator ID not below its OD, ...).
bool BreaksAConsistencyRule(const WellParameters& parameters);

// The part of an input's range rule that judges `value` alone, without the casing size that
// bounds the diameters: a finite number above 0 for a diameter, 12 to 480 for the dip tube
// length, ...
bool WithinOwnLimits(const ParameterEntry& parameter, double value);

// The values the range rule allows as the tooltips list them: "above 0, at most 30" for the pump
// speed, "above 0, below the casing inside diameter" for a diameter.
std::string DescribeLimits(const ParameterEntry& parameter,
                           UnitSystem units = UnitSystem::Oilfield);

// The range as a sentence says it, with the unit: "above 0 and at most 30 SPM", "from 12 to 480
// in", "above 0 and below the casing inside diameter".
std::string RangeText(const ParameterEntry& parameter, UnitSystem units = UnitSystem::Oilfield);

// A failed rule for people, naming the input(s), the allowed range and the value: "pump speed
// must be above 0 and at most 30 SPM; got 31", "separator ID (3.2) must be less than separator
// OD (3)".
std::string DescribeFailure(const Rule& rule, const WellParameters& parameters,
                            UnitSystem units = UnitSystem::Oilfield);

// The text a range warning card shows under its title: "Must be above 0 and at most 30 SPM."
std::string RangeWarningText(const ParameterEntry& parameter,
                             UnitSystem units = UnitSystem::Oilfield);

// A text box's tooltip, built from the rules that judge it: "Pump speed in strokes per minute:
// above 0, at most 30"; "Separator inside diameter in inches: above 0, below the casing inside
// diameter, below the separator outside diameter".
std::string FieldTooltip(const ParameterEntry& parameter, UnitSystem units = UnitSystem::Oilfield);
