#include "app/tags/ParametersPanel.h"

#include "app/tags/Tags.h"

namespace {
// A list of tags of class T under `key`, each of which must have a name.
template <class T>
std::vector<TagHandle> ReadNamedList(const YAML::Node& node, const char* key, const char* cls,
                                     const char* what) {
    std::vector<TagHandle> tags = ReadRefListAs<T>(node, key, cls);
    for (const TagHandle tag : tags) {
        if (GetTagAs<T>(tag)->name.empty()) {
            throw TagValueError(std::string("every ") + what + " of \"" + key +
                                "\" needs a \"Name\"");
        }
    }
    return tags;
}
} // namespace

void TParametersPanel::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    separatorPresets = ReadOptionalRefAs<TComboBox>(node, "Separator Presets", "TComboBox");
    casingSize = ReadOptionalRefAs<TComboBox>(node, "Casing Size", "TComboBox");
    fields = ReadNamedList<TTextEdit>(node, "Fields", "TTextEdit", "text box");
    lists = ReadNamedList<TComboBox>(node, "Lists", "TComboBox", "list");
    buttons = ReadNamedList<TButton>(node, "Buttons", "TButton", "button");
    labels = ReadNamedList<TLabel>(node, "Labels", "TLabel", "label");
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
    for (const auto* list : {&fields, &lists, &buttons, &labels}) {
        for (const TagHandle tag : *list) {
            PlaceChild(tag, absX, absY);
        }
    }
    PlaceChild(recommendedDipTubeLength, absX, absY);
    PlaceChild(gasReach, absX, absY);
    PlaceChild(gasLimit, absX, absY);
    PlaceChild(verdict, absX, absY);
    // The caption styles' X and Y are offsets; placing them makes their fonts.
    PlaceChild(captionStyle, 0, 0);
    PlaceChild(detailStyle, 0, 0);
}
