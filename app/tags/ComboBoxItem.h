#pragma once
// Rows of the preset combo boxes.

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

class TSeparatorPreset : public TComboBoxItem {
public:
    double separatorOd = 0.0; // inches, as are the four below
    double separatorId = 0.0;
    double dipTubeOd = 0.0;
    double dipTubeId = 0.0;
    double dipTubeLength = 0.0;

    void Load(const YAML::Node& node) override;
};
