#pragma once
// The view names the tests look inputs' boxes and warnings up by, read from the parameter table
// and its rules instead of being typed again.

#include "app/model/ParameterRules.h"

#include <string>

namespace names {
// The text box (or list) of an input.
inline std::string Field(ParameterId id) {
    return ParameterOf(id).field;
}
// The warning an input's range rule shows.
inline std::string RangeWarning(ParameterId id) {
    return ParameterOf(id).rangeWarning;
}
// The warning of the consistency rule that marks `first` first (the separator ID's, the dip
// tube OD's, the dip tube ID's).
inline std::string ConsistencyWarning(ParameterId first) {
    for (const Rule& rule : Rules()) {
        if (!rule.IsRange() && rule.parameter->id == first) {
            return rule.Warning();
        }
    }
    return {};
}
} // namespace names
