#pragma once

#include "app/tags/Tag.h"

class TSavePresetDialog : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    TagHandle closeButton = 0;     // TButton
    TagHandle saveButton = 0;      // TButton
    TagHandle cancelButton = 0;    // TButton
    TagHandle presetName = 0;      // TTextEdit

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
