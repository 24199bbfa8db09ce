#pragma once
// A panel of inputs: the text boxes it lists and the styles of the captions drawn beside them,
// and the lists, buttons and labels it lists by name;
// the parameters panel also has the preset lists, the recommendation label, the gas reach
// read-out, the gas limit and the verdict (optional keys, absent from the other panels).

#include "app/tags/Tag.h"

#include <vector>

class TParametersPanel : public TPlaceable {
public:
    TagHandle backgroundImage = 0;          // TImage
    TagHandle separatorPresets = 0;         // TComboBox; optional
    TagHandle casingSize = 0;               // TComboBox; optional
    std::vector<TagHandle> fields;          // TTextEdit, each with a name
    std::vector<TagHandle> lists;           // TComboBox, each with a name; optional
    std::vector<TagHandle> buttons;         // TButton, each with a name; optional
    std::vector<TagHandle> labels;          // TLabel, each with a name; optional
    TagHandle recommendedDipTubeLength = 0; // TLabel; optional
    TagHandle gasReach = 0;                 // TGasReach; optional
    TagHandle gasLimit = 0;                 // TLabel; optional
    TagHandle verdict = 0;                  // TNotice; optional
    // TNotice, optional: a caption's first line (the quantity) and its second (detail, unit);
    // their X and Y are offsets from the caption's start and the box's top.
    TagHandle captionStyle = 0;
    TagHandle detailStyle = 0;

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
