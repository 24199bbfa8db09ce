#include "app/tags/Button.h"

#include "app/tags/Tags.h"

void TButton::Load(const YAML::Node& node) {
    name = ReadString(node, "Name", "");
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    baseImage = ReadRefAs<TImage>(node, "Base Image", "TImage");
    hoverImage = ReadRefAs<TImage>(node, "Hover Image", "TImage");
    pressedImage = ReadRefAs<TImage>(node, "Pressed Image", "TImage");
    mouseRegion = ReadRefAs<TMouseRegion>(node, "Mouse Region", "TMouseRegion");
}

void TButton::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(mouseRegion, absX, absY);
}
