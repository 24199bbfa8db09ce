#pragma once
// A push button: three looks and the mouse region that makes it clickable.

#include "app/tags/Tag.h"

#include <string>

class TButton : public TPlaceable {
public:
    std::string name;           // optional; a panel's buttons are found by it
    TagHandle baseImage = 0;    // TImage
    TagHandle hoverImage = 0;   // TImage
    TagHandle pressedImage = 0; // TImage
    TagHandle mouseRegion = 0;  // TMouseRegion

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
