#pragma once
// A ball valve and the seat of the standing valve.

#include "app/tags/Tag.h"

class TValve : public TPlaceable {
public:
    int upperStrokeY = 0; // the ball's two rest positions
    int lowerStrokeY = 0;
    double transitionTime = 0.0;   // seconds between them
    TagHandle backgroundImage = 0; // TImage (the ball)
    int absUpperY = 0;
    int absLowerY = 0;

    void Load(const YAML::Node& node) override;
    // No "Y" key: absY is the parent's Y.
    void Place(int parentX, int parentY) override;
};

class TValveBase : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage

    void Load(const YAML::Node& node) override;
};
