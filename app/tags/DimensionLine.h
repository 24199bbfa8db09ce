#pragma once
// A dimension arrow with its value label.

#include "app/tags/Tag.h"

class TDimensionLine : public TPlaceable {
public:
    TagHandle image = 0; // TImage (the arrow)
    TagHandle label = 0; // TLabel (the value text)

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
