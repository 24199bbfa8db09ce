#include "app/tags/Valve.h"

#include "app/tags/Tags.h"

void TValve::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    upperStrokeY = ReadInt(node, "Upper Stroke Y");
    lowerStrokeY = ReadInt(node, "Lower Stroke Y");
    transitionTime = ReadDouble(node, "Transition Time");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
}

void TValve::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    absUpperY = parentY + upperStrokeY;
    absLowerY = parentY + lowerStrokeY;
}

void TValveBase::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
}
