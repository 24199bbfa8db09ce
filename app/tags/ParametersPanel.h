#pragma once
// The input panel: preset lists, the text boxes it lists, the recommendation label, the gas
// reach read-out, and the styles of the captions drawn beside the boxes.

#include "app/tags/Tag.h"

#include <vector>

class TParametersPanel : public TPlaceable {
public:
    TagHandle backgroundImage = 0;          // TImage
    TagHandle separatorPresets = 0;         // TComboBox
    TagHandle casingSize = 0;               // TComboBox
    std::vector<TagHandle> fields;          // TTextEdit, each with a name
    TagHandle recommendedDipTubeLength = 0; // TLabel
    TagHandle gasReach = 0;                 // TGasReach; optional
    // TNotice, optional: a caption's first line (the quantity) and its second (detail, unit);
    // their X and Y are offsets from the caption's start and the box's top.
    TagHandle captionStyle = 0;
    TagHandle detailStyle = 0;

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
