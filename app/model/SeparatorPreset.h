#pragma once
// A separator preset as the model knows it: a display name and the separator dimensions it fixes
// (the inputs the parameter table marks as in presets), in inches. A plain value; the preset
// lists' rows are built from it.

#include "app/model/WellParameters.h"

#include <string>

struct SeparatorPreset {
    std::string displayName;
    // The preset's dimensions; only the inputs presets fix are used.
    WellParameters dimensions;

    // The dimensions the preset fixes, taken from `parameters`.
    static SeparatorPreset Of(const std::string& displayName, const WellParameters& parameters);
    // Puts the preset's dimensions into `parameters`, leaving the other inputs as they are.
    void ApplyTo(WellParameters& parameters) const;
    // Whether `parameters` holds exactly the preset's dimensions.
    bool Matches(const WellParameters& parameters) const;
    bool operator==(const SeparatorPreset& other) const;
};
