#include "app/tags/ParametersPanel.h"

#include "app/tags/Tags.h"

void TParametersPanel::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    separatorPresets = ReadRefAs<TComboBox>(node, "Separator Presets", "TComboBox");
    casingSize = ReadRefAs<TComboBox>(node, "Casing Size", "TComboBox");
    const auto textEdit = [&node](const char* key) {
        return ReadRefAs<TTextEdit>(node, key, "TTextEdit");
    };
    dipTubeId = textEdit("Dip Tube ID");
    dipTubeLength = textEdit("Dip Tube Length");
    dipTubeOd = textEdit("Dip Tube OD");
    gasBubbleRiseVelocity = textEdit("Gas Bubble Rise Velocity");
    productionRate = textEdit("Production Rate");
    separatorId = textEdit("Separator ID");
    separatorOd = textEdit("Separator OD");
    spm = textEdit("SPM");
    maxCapacity = textEdit("Max Capacity");
    recommendedDipTubeLength = ReadRefAs<TLabel>(node, "Recommended Dip Tube Length", "TLabel");
    gasReach = ReadOptionalRefAs<TGasReach>(node, "Gas Reach", "TGasReach");
}

void TParametersPanel::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(separatorPresets, absX, absY);
    PlaceChild(casingSize, absX, absY);
    for (const TagHandle textEdit : TextEdits()) {
        PlaceChild(textEdit, absX, absY);
    }
    PlaceChild(recommendedDipTubeLength, absX, absY);
    PlaceChild(gasReach, absX, absY);
}

std::vector<TagHandle> TParametersPanel::TextEdits() const {
    return {dipTubeId,      dipTubeLength, dipTubeOd,   gasBubbleRiseVelocity,
            productionRate, separatorId,   separatorOd, spm,
            maxCapacity};
}
