#include "app/tags/HeaderBar.h"

#include "app/tags/Tags.h"

void THeaderBar::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    titleImageX = ReadInt(node, "Title Image X");
    titleImageY = ReadInt(node, "Title Image Y");
    titleImage = ReadRefAs<TImage>(node, "Title Image", "TImage");
}

void THeaderBar::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    // The title offsets count from the bar's parent origin, not from the bar itself.
    titleAbsX = parentX + titleImageX;
    titleAbsY = parentY + titleImageY;
}
