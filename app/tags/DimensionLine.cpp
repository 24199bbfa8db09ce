#include "app/tags/DimensionLine.h"

#include "app/tags/Tags.h"

void TDimensionLine::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    image = ReadRefAs<TImage>(node, "Image", "TImage");
    label = ReadRefAs<TLabel>(node, "Label", "TLabel");
}

void TDimensionLine::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(label, absX, absY); // also creates the label's screen font
}
