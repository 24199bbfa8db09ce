#include "app/tags/App.h"

#include "app/tags/Tags.h"

void TApp::Load(const YAML::Node& node) {
    // The fonts first: registering the first one starts Qt's font database, which this thread
    // does while the picture worker decodes the large background it would otherwise wait for.
    fonts = ReadRefListAs<TFont>(node, "Fonts", "TFont");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    icon = ReadRefAs<TIcon>(node, "Icon", "TIcon");
    buttonBar = ReadRefAs<TButtonBar>(node, "Button Bar", "TButtonBar");
    gasSeparator = ReadRefAs<TGasSeparator>(node, "Gas Separator", "TGasSeparator");
    headerBar = ReadRefAs<THeaderBar>(node, "Header Bar", "THeaderBar");
    parametersPanel = ReadRefAs<TParametersPanel>(node, "Parameters Panel", "TParametersPanel");
    flowPanel = ReadOptionalRefAs<TParametersPanel>(node, "Flow Panel", "TParametersPanel");
    warnings = ReadRefListAs<TWarning>(node, "Warnings", "TWarning");
    for (const TagHandle handle : warnings) {
        if (GetTagAs<TWarning>(handle)->name.empty()) {
            throw TagValueError("every warning of \"Warnings\" needs a \"Name\"");
        }
    }
    contactDialog = ReadRefAs<TContactDialog>(node, "Contact Dialog", "TContactDialog");
    helpDialog = ReadRefAs<THelpDialog>(node, "Help Dialog", "THelpDialog");
    savePresetDialog =
        ReadRefAs<TSavePresetDialog>(node, "Save Preset Dialog", "TSavePresetDialog");
    aboveCapacityNotice = ReadOptionalRefAs<TNotice>(node, "Above Capacity Notice", "TNotice");
}

void TApp::OnLoaded() {
    Place(0, 0);
}

// The root sits at the window origin whatever it is given.
void TApp::Place(int, int) {
    x = y = absX = absY = 0;
    for (const TagHandle child :
         {buttonBar, gasSeparator, headerBar, parametersPanel, flowPanel, aboveCapacityNotice}) {
        PlaceChild(child, 0, 0);
    }
    for (const TagHandle warning : warnings) {
        PlaceChild(warning, 0, 0);
    }
    for (const TagHandle dialog : {contactDialog, helpDialog, savePresetDialog}) {
        PlaceChild(dialog, 0, 0);
    }
}
