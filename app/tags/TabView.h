#pragma once
// Tab tags. They load like any other tag; no view is built from them and nothing places
// them, so they keep the generic placement rule without children.

#include "app/tags/Tag.h"

class TTabBar : public TPlaceable {
public:
    TagHandle backgroundImage = 0;   // TImage
    TagHandle wellTabButton = 0;     // TButton
    TagHandle geometryTabButton = 0; // TButton
    TagHandle physicsTabButton = 0;  // TButton

    void Load(const YAML::Node& node) override;
};

class TTabPanel : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    int tabX = 0;
    int tabY = 0;
    TagHandle tabImage = 0; // TImage

    void Load(const YAML::Node& node) override;
};

class TTabView : public TPlaceable {
public:
    TagHandle tabBar = 0;           // TTabBar
    TagHandle wellTabPanel = 0;     // TTabPanel
    TagHandle geometryTabPanel = 0; // TTabPanel
    TagHandle physicsTabPanel = 0;  // TTabPanel

    void Load(const YAML::Node& node) override;
};
