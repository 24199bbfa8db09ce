#include "app/model/SeparatorPreset.h"

#include "app/model/ParameterTable.h"

SeparatorPreset SeparatorPreset::Of(const std::string& displayName,
                                    const WellParameters& parameters) {
    SeparatorPreset preset{displayName, {}};
    for (const ParameterSpec& spec : Parameters()) {
        if (spec.inPresets) {
            spec.Set(preset.dimensions, spec.Get(parameters));
        }
    }
    return preset;
}

void SeparatorPreset::ApplyTo(WellParameters& parameters) const {
    for (const ParameterSpec& spec : Parameters()) {
        if (spec.inPresets) {
            spec.Set(parameters, spec.Get(dimensions));
        }
    }
}

bool SeparatorPreset::Matches(const WellParameters& parameters) const {
    for (const ParameterSpec& spec : Parameters()) {
        if (spec.inPresets && !(spec.Get(parameters) == spec.Get(dimensions))) {
            return false;
        }
    }
    return true;
}

bool SeparatorPreset::operator==(const SeparatorPreset& other) const {
    return displayName == other.displayName && Matches(other.dimensions);
}
