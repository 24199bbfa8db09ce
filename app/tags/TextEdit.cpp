#include "app/tags/TextEdit.h"

#include "app/tags/Tags.h"

void TTextEdit::Load(const YAML::Node& node) {
    name = ReadString(node, "Name", "");
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    width = ReadInt(node, "Width");
    height = ReadInt(node, "Height");
    leftMargin = ReadInt(node, "Left Margin", 0);
    topMargin = ReadInt(node, "Top Margin", 0);
    defaultText = ReadString(node, "Default Text", "");
    textChangedEvent = ReadString(node, "Text Changed Event", "");
    backgroundImage = ReadOptionalRefAs<TImage>(node, "Background Image", "TImage");
    fontName = ReadString(node, "Font Name", "");
    fontSize = ReadInt(node, "Font Size", 0);
    readOnly = ReadBool(node, "Read Only", false);
    textColorR = ReadInt(node, "Text Color R", 0);
    textColorG = ReadInt(node, "Text Color G", 0);
    textColorB = ReadInt(node, "Text Color B", 0);
    errorTextColorR = ReadInt(node, "Error Text Color R", 255);
    errorTextColorG = ReadInt(node, "Error Text Color G", 0);
    errorTextColorB = ReadInt(node, "Error Text Color B", 0);
    captionX = ReadInt(node, "Caption X", 0);
}

void TTextEdit::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    RecreateScreenFont(screenFont, fontName, fontSize);
}
