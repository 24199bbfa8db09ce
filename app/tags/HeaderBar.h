#pragma once
// The title strip along the top of the window.

#include "app/tags/Tag.h"

class THeaderBar : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    int titleImageX = 0;
    int titleImageY = 0;
    TagHandle titleImage = 0; // TImage
    // The title counts from the bar's parent origin, not from the bar's own position.
    int titleAbsX = 0;
    int titleAbsY = 0;

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
