#include "app/tags/TabView.h"

#include "app/tags/Tags.h"

void TTabBar::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    wellTabButton = ReadRefAs<TButton>(node, "Well Tab Button", "TButton");
    geometryTabButton = ReadRefAs<TButton>(node, "Geometry Tab Button", "TButton");
    physicsTabButton = ReadRefAs<TButton>(node, "Physics Tab Button", "TButton");
}

void TTabPanel::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    tabX = ReadInt(node, "Tab X");
    tabY = ReadInt(node, "Tab Y");
    tabImage = ReadRefAs<TImage>(node, "Tab Image", "TImage");
}

void TTabView::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    tabBar = ReadRefAs<TTabBar>(node, "Tab Bar", "TTabBar");
    wellTabPanel = ReadRefAs<TTabPanel>(node, "Well Tab Panel", "TTabPanel");
    geometryTabPanel = ReadRefAs<TTabPanel>(node, "Geometry Tab Panel", "TTabPanel");
    physicsTabPanel = ReadRefAs<TTabPanel>(node, "Physics Tab Panel", "TTabPanel");
}
