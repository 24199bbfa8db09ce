#include "app/tags/Warning.h"

#include "app/tags/Tags.h"

void TWarning::Load(const YAML::Node& node) {
    name = ReadString(node, "Name", "");
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    lifespan = ReadDouble(node, "Lifespan");
    title = ReadString(node, "Title", "");
    titleStyle = ReadOptionalRefAs<TNotice>(node, "Title Style", "TNotice");
    text = ReadString(node, "Text", "");
    textStyle = ReadOptionalRefAs<TNotice>(node, "Text Style", "TNotice");
}

void TWarning::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(titleStyle, 0, 0);
    PlaceChild(textStyle, 0, 0);
}
