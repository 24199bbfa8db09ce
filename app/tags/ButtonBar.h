#pragma once
// The command menu with its seven buttons.

#include "app/tags/Tag.h"

#include <vector>

class TButtonBar : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    TagHandle pumpButtonGo = 0;    // TButton, as are the six below
    TagHandle pumpButtonStop = 0;
    TagHandle dimensionsButtonShow = 0;
    TagHandle dimensionsButtonHide = 0;
    TagHandle helpButton = 0;
    TagHandle savePresetButton = 0;
    TagHandle infoButton = 0;

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;

    // The seven buttons in reading order.
    std::vector<TagHandle> Buttons() const;
};
