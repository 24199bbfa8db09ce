#include "app/tags/ButtonBar.h"

#include "app/tags/Tags.h"

void TButtonBar::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    const auto button = [&node](const char* key) {
        return ReadRefAs<TButton>(node, key, "TButton");
    };
    pumpButtonGo = button("Pump Button Go");
    pumpButtonStop = button("Pump Button Stop");
    dimensionsButtonShow = button("Dimensions Button Show");
    dimensionsButtonHide = button("Dimensions Button Hide");
    helpButton = button("Help Button");
    savePresetButton = button("Save Preset Button");
    infoButton = button("Info Button");
}

void TButtonBar::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    for (const TagHandle button : Buttons()) {
        PlaceChild(button, absX, absY);
    }
}

std::vector<TagHandle> TButtonBar::Buttons() const {
    return {
        pumpButtonGo,     pumpButtonStop, dimensionsButtonShow, dimensionsButtonHide, helpButton,
        savePresetButton, infoButton};
}
