#pragma once
// A separator preset as the model knows it: a display name and the five separator dimensions
// it fixes, in inches. A plain value; the preset lists' rows are built from it.

#include <string>

struct SeparatorPreset {
    std::string displayName;
    double separatorOd = 0.0;
    double separatorId = 0.0;
    double dipTubeOd = 0.0;
    double dipTubeId = 0.0;
    double dipTubeLength = 0.0;

    bool operator==(const SeparatorPreset&) const = default;
};
