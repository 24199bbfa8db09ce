#pragma once
// A warning picture shown next to a bad input.

#include "app/tags/Tag.h"

class TWarning : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    double lifespan = 0.0;         // seconds until it hides itself; 0 or less: stays

    void Load(const YAML::Node& node) override;
};
