#pragma once
// A drop-down list of presets.

#include "app/platform/ScreenFont.h"
#include "app/tags/Tag.h"

#include <memory>
#include <string>
#include <vector>

class TComboBox : public TPlaceable {
public:
    std::string name; // optional; a panel's lists are found by it
    int width = 0;
    int height = 0;
    std::string selectedItemChangedEvent;
    TagHandle backgroundImage = 0;          // TImage, optional
    TagHandle dropdownBackgroundImage = 0;  // TImage, optional
    TagHandle selectionBackgroundImage = 0; // TImage, optional
    std::string fontName;
    int fontSize = 0;
    std::vector<TagHandle> items; // TComboBoxItem (TCasingSize, TSeparatorPreset or TChoice)
    std::string defaultText;
    std::unique_ptr<IScreenFont> screenFont; // created at placement; may be empty

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
