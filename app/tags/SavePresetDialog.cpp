#include "app/tags/SavePresetDialog.h"

#include "app/tags/Tags.h"

void TSavePresetDialog::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    closeButton = ReadRefAs<TButton>(node, "Close Button", "TButton");
    saveButton = ReadRefAs<TButton>(node, "Save Button", "TButton");
    cancelButton = ReadRefAs<TButton>(node, "Cancel Button", "TButton");
    presetName = ReadRefAs<TTextEdit>(node, "Preset Name", "TTextEdit");
}

void TSavePresetDialog::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    for (const TagHandle button : {closeButton, saveButton, cancelButton}) {
        PlaceChild(button, absX, absY);
    }
    PlaceChild(presetName, absX, absY); // also creates its screen font
}
