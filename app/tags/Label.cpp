#include "app/tags/Label.h"

#include "app/tags/TagReader.h"

void TLabel::Load(const YAML::Node& node) {
    name = ReadString(node, "Name", "");
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    defaultText = ReadString(node, "Default Text", "");
    unit = ReadString(node, "Unit", "");
    fillColor = ReadColor(node, "Fill Color", 0xFFFFFFFF);
    fillAlpha = ReadInt(node, "Fill Alpha", 255);
    alertFillColor = ReadColor(node, "Alert Fill Color", fillColor);
    strokeColor = ReadColor(node, "Stroke Color", 0xFFFFFFFF);
    strokeAlpha = ReadInt(node, "Stroke Alpha", 255);
    strokeWidth = ReadDouble(node, "Stroke Width", 0.0);
    fontName = ReadString(node, "Font Name", "");
    fontSize = ReadInt(node, "Font Size", 0);
    horizontalAlignment = ReadString(node, "Horizontal Alignment", "Center");
}

void TNotice::Load(const YAML::Node& node) {
    TLabel::Load(node);
    wrapWidth = ReadInt(node, "Wrap Width", 0);
    lineHeight = ReadInt(node, "Line Height", fontSize);
    shrinkToFit = ReadBool(node, "Shrink To Fit", false);
}

void TLabel::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    RecreateScreenFont(screenFont, fontName, fontSize);
}
