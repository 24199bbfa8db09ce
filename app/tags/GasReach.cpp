#include "app/tags/GasReach.h"

#include "app/tags/Tags.h"

void TGasReach::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    label = ReadRefAs<TLabel>(node, "Label", "TLabel");
    barX = ReadInt(node, "Bar X");
    barY = ReadInt(node, "Bar Y");
    barWidth = ReadInt(node, "Bar Width");
    barHeight = ReadInt(node, "Bar Height");
    barColor = ReadColor(node, "Bar Color", barColor);
    borderColor = ReadColor(node, "Border Color", borderColor);
    fillColor = ReadColor(node, "Fill Color", fillColor);
    inletColor = ReadColor(node, "Inlet Color", inletColor);
}

void TGasReach::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(label, absX, absY);
}
