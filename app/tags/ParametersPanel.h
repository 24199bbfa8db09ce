#pragma once
// The input panel: preset lists, parameter text boxes and the recommendation label.

#include "app/tags/Tag.h"

#include <vector>

class TParametersPanel : public TPlaceable {
public:
    TagHandle backgroundImage = 0;  // TImage
    TagHandle separatorPresets = 0; // TComboBox
    TagHandle casingSize = 0;       // TComboBox
    TagHandle dipTubeId = 0;        // TTextEdit, as are the eight below
    TagHandle dipTubeLength = 0;
    TagHandle dipTubeOd = 0;
    TagHandle gasBubbleRiseVelocity = 0;
    TagHandle productionRate = 0;
    TagHandle separatorId = 0;
    TagHandle separatorOd = 0;
    TagHandle spm = 0;
    TagHandle maxCapacity = 0;
    TagHandle recommendedDipTubeLength = 0; // TLabel
    TagHandle gasReach = 0;                 // TGasReach; optional

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;

    // The nine text boxes in placement order.
    std::vector<TagHandle> TextEdits() const;
};
