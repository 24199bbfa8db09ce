#pragma once
// The pump plunger and the traveling valve it carries.

#include "app/tags/Tag.h"

class TPlunger : public TPlaceable {
public:
    int upperStrokeY = 0; // the plunger's Y at the top of its stroke
    int lowerStrokeY = 0; // ... and at the bottom
    int width = 0;
    int height = 0;
    TagHandle valve = 0;           // TValve, placed relative to the plunger picture
    TagHandle backgroundImage = 0; // TImage
    int absUpperY = 0;
    int absLowerY = 0;

    void Load(const YAML::Node& node) override;
    // No "Y" key: absY is the parent's Y. The valve is placed with origin (0, 0).
    void Place(int parentX, int parentY) override;
};
