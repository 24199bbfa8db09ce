#pragma once
// The root tag: the window's background, icon, fonts and every top-level view.

#include "app/tags/Tag.h"

#include <vector>

class TApp : public TPlaceable {
public:
    TagHandle backgroundImage = 0; // TImage
    TagHandle icon = 0;            // TIcon
    std::vector<TagHandle> fonts;  // TFont
    TagHandle buttonBar = 0;       // TButtonBar
    TagHandle gasSeparator = 0;    // TGasSeparator
    TagHandle headerBar = 0;       // THeaderBar
    TagHandle parametersPanel = 0; // TParametersPanel
    TagHandle flowPanel = 0;       // TParametersPanel; optional
    // TWarning, in drawing order (later ones on top); each names its view.
    std::vector<TagHandle> warnings;
    TagHandle contactDialog = 0;       // TContactDialog
    TagHandle helpDialog = 0;          // THelpDialog
    TagHandle savePresetDialog = 0;    // TSavePresetDialog
    TagHandle aboveCapacityNotice = 0; // TNotice; optional

    void Load(const YAML::Node& node) override;
    // Starts the placement walk at the window origin.
    void OnLoaded() override;
    void Place(int parentX, int parentY) override;
};
