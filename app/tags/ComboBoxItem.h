#pragma once
// Rows of the preset combo boxes.

#include "app/model/SeparatorPreset.h"
#include "app/tags/Tag.h"

#include <string>

class TComboBoxItem : public Tag {
public:
    std::string displayName;

    void Load(const YAML::Node& node) override;
};

class TCasingSize : public TComboBoxItem {
public:
    double casingSize = 0.0; // casing inner diameter, inches

    void Load(const YAML::Node& node) override;
};

// A row of a list that sets an input to a value ("From the pump" sets the rate source to 1).
class TChoice : public TComboBoxItem {
public:
    double value = 0.0;

    void Load(const YAML::Node& node) override;
};

class TSeparatorPreset : public TComboBoxItem {
public:
    // The preset: the display name and the dimensions presets fix (under their stored keys).
    SeparatorPreset preset;

    void Load(const YAML::Node& node) override;
};
