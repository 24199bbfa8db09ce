#include "app/tags/Plunger.h"

#include "app/tags/Tags.h"

void TPlunger::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    upperStrokeY = ReadInt(node, "Upper Stroke Y");
    lowerStrokeY = ReadInt(node, "Lower Stroke Y");
    width = ReadInt(node, "Width");
    height = ReadInt(node, "Height");
    valve = ReadRefAs<TValve>(node, "Valve", "TValve");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
}

void TPlunger::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    absUpperY = parentY + upperStrokeY;
    absLowerY = parentY + lowerStrokeY;
    // The traveling valve moves with the plunger: its coordinates stay picture-relative.
    PlaceChild(valve, 0, 0);
}
