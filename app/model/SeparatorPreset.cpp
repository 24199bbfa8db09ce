#include "app/model/SeparatorPreset.h"

#include "app/model/ParameterTable.h"

SeparatorPreset SeparatorPreset::Of(const std::string& displayName,
                                    const WellParameters& parameters) {
    SeparatorPreset preset{displayName, {}};
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.inPresets) {
            entry.Set(preset.dimensions, entry.Get(parameters));
        }
    }
    return preset;
}

void SeparatorPreset::ApplyTo(WellParameters& parameters) const {
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.inPresets) {
            entry.Set(parameters, entry.Get(dimensions));
        }
    }
}

bool SeparatorPreset::Matches(const WellParameters& parameters) const {
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.inPresets && !(entry.Get(parameters) == entry.Get(dimensions))) {
            return false;
        }
    }
    return true;
}

bool SeparatorPreset::operator==(const SeparatorPreset& other) const {
    return displayName == other.displayName && Matches(other.dimensions);
}
