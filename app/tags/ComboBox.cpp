#include "app/tags/ComboBox.h"

#include "app/tags/Tags.h"

void TComboBox::Load(const YAML::Node& node) {
    name = ReadString(node, "Name", "");
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    width = ReadInt(node, "Width");
    height = ReadInt(node, "Height");
    selectedItemChangedEvent = ReadString(node, "Selected Item Changed Event", "");
    backgroundImage = ReadOptionalRefAs<TImage>(node, "Background Image", "TImage");
    dropdownBackgroundImage =
        ReadOptionalRefAs<TImage>(node, "Dropdown Background Image", "TImage");
    selectionBackgroundImage =
        ReadOptionalRefAs<TImage>(node, "Selection Background Image", "TImage");
    fontName = ReadString(node, "Font Name", "");
    fontSize = ReadInt(node, "Font Size", 0);
    items = ReadRefListAs<TComboBoxItem>(node, "Items", "TComboBoxItem");
    defaultText = ReadString(node, "Default Text", "");
}

void TComboBox::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    RecreateScreenFont(screenFont, fontName, fontSize);
}
