#include "app/tags/ParametersPanel.h"

#include "app/tags/Tags.h"

void TParametersPanel::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    separatorPresets = ReadOptionalRefAs<TComboBox>(node, "Separator Presets", "TComboBox");
    casingSize = ReadOptionalRefAs<TComboBox>(node, "Casing Size", "TComboBox");
    fields = ReadRefListAs<TTextEdit>(node, "Fields", "TTextEdit");
    for (const TagHandle field : fields) {
        if (GetTagAs<TTextEdit>(field)->name.empty()) {
            throw TagValueError("every text box of \"Fields\" needs a \"Name\"");
        }
    }
    recommendedDipTubeLength =
        ReadOptionalRefAs<TLabel>(node, "Recommended Dip Tube Length", "TLabel");
    gasReach = ReadOptionalRefAs<TGasReach>(node, "Gas Reach", "TGasReach");
    gasLimit = ReadOptionalRefAs<TLabel>(node, "Gas Limit", "TLabel");
    verdict = ReadOptionalRefAs<TNotice>(node, "Verdict", "TNotice");
    captionStyle = ReadOptionalRefAs<TNotice>(node, "Caption Style", "TNotice");
    detailStyle = ReadOptionalRefAs<TNotice>(node, "Detail Style", "TNotice");
}

void TParametersPanel::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(separatorPresets, absX, absY);
    PlaceChild(casingSize, absX, absY);
    for (const TagHandle field : fields) {
        PlaceChild(field, absX, absY);
    }
    PlaceChild(recommendedDipTubeLength, absX, absY);
    PlaceChild(gasReach, absX, absY);
    PlaceChild(gasLimit, absX, absY);
    PlaceChild(verdict, absX, absY);
    // The caption styles' X and Y are offsets; placing them makes their fonts.
    PlaceChild(captionStyle, 0, 0);
    PlaceChild(detailStyle, 0, 0);
}
