#pragma once
// The input rules for a parameter set, in the order they are checked. Range rules fail a value
// that must not reach the model; the three consistency rules (separator wall, dip tube inside
// the separator, dip tube wall) only flag values that are inconsistent with each other. A value
// that is not a finite number fails its range rule.

#include "app/model/WellParameters.h"

#include <string>
#include <vector>

enum class ParameterRule {
    CasingSize,             // casing size above 0
    SeparatorODRange,       // 0 < separator OD < casing size
    SeparatorIDRange,       // 0 < separator ID < casing size
    SeparatorWall,          // separator ID below separator OD
    DipTubeODRange,         // 0 < dip tube OD < casing size
    DipTubeInsideSeparator, // dip tube OD below separator ID
    DipTubeIDRange,         // 0 < dip tube ID < casing size
    DipTubeWall,            // dip tube ID below dip tube OD
    DipTubeLength,          // 12 <= length <= 480
    RiseVelocity,           // 0 < velocity <= 12
    ProductionRate,         // rate above 0
    SPM,                    // 0 < pump speed <= 30
};

struct RuleOutcome {
    ParameterRule rule;
    bool passed;
};

// Every rule, in the order above, with its outcome for `parameters`.
std::vector<RuleOutcome> CheckParameterRules(const WellParameters& parameters);

// Whether a failure of `rule` keeps the value out of the model (range rules) or only flags it.
bool IsRangeRule(ParameterRule rule);

// Whether any value of `parameters` breaks its range rule.
bool BreaksARangeRule(const WellParameters& parameters);

// The part of range rule `rule` that judges `value` alone, without the casing size that bounds
// the diameters: a finite number above 0 for a diameter, 12 to 480 for the dip tube length, ...
bool WithinOwnLimits(ParameterRule rule, double value);

// The values range rule `rule` allows, as people read them: "above 0, at most 30" for the pump
// speed, "above 0, below the casing inside diameter" for a diameter.
std::string DescribeLimits(ParameterRule rule);

// A one-line explanation of a failed rule for people, naming the field(s) and the allowed
// range, e.g. "SPM must be above 0 and at most 30 strokes/min (got 31)".
std::string DescribeFailure(ParameterRule rule, const WellParameters& parameters);
