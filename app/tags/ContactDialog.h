#pragma once

#include "app/tags/Tag.h"

class TContactDialog : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    TagHandle closeButton = 0;     // TButton
    TagHandle emailButton = 0;     // TButton
    TagHandle websiteButton = 0;   // TButton

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
