#include "app/tags/App.h"

#include "app/tags/Tags.h"

void TApp::Load(const YAML::Node& node) {
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    icon = ReadRefAs<TIcon>(node, "Icon", "TIcon");
    fonts = ReadRefListAs<TFont>(node, "Fonts", "TFont");
    buttonBar = ReadRefAs<TButtonBar>(node, "Button Bar", "TButtonBar");
    gasSeparator = ReadRefAs<TGasSeparator>(node, "Gas Separator", "TGasSeparator");
    headerBar = ReadRefAs<THeaderBar>(node, "Header Bar", "THeaderBar");
    parametersPanel = ReadRefAs<TParametersPanel>(node, "Parameters Panel", "TParametersPanel");
    const auto warning = [&node](const char* key) {
        return ReadRefAs<TWarning>(node, key, "TWarning");
    };
    maxCapacityWarning = warning("Max Capacity Warning");
    dipTubeDiameterWarning = warning("Dip Tube Diameter Warning");
    dipTubeLengthWarning = warning("Dip Tube Length Warning");
    separatorDiameterWarning = warning("Separator Diameter Warning");
    separatorInnerDiameterWarning = warning("Separator Inner Diameter Warning");
    dipTubeIdRangeWarning = warning("Dip Tube ID Range Warning");
    dipTubeOdRangeWarning = warning("Dip Tube OD Range Warning");
    gasBubbleVelocityRangeWarning = warning("Gas Bubble Velocity Range Warning");
    productionRateRangeWarning = warning("Production Rate Range Warning");
    separatorIdRangeWarning = warning("Separator ID Range Warning");
    separatorOdRangeWarning = warning("Separator OD Range Warning");
    spmRangeWarning = warning("SPM Range Warning");
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
         {buttonBar, gasSeparator, headerBar, parametersPanel, aboveCapacityNotice}) {
        PlaceChild(child, 0, 0);
    }
    for (const TagHandle warning : Warnings()) {
        PlaceChild(warning, 0, 0);
    }
    for (const TagHandle dialog : {contactDialog, helpDialog, savePresetDialog}) {
        PlaceChild(dialog, 0, 0);
    }
}

std::vector<TagHandle> TApp::Warnings() const {
    return {maxCapacityWarning,       dipTubeDiameterWarning,        dipTubeLengthWarning,
            separatorDiameterWarning, separatorInnerDiameterWarning, dipTubeIdRangeWarning,
            dipTubeOdRangeWarning,    gasBubbleVelocityRangeWarning, productionRateRangeWarning,
            separatorIdRangeWarning,  separatorOdRangeWarning,       spmRangeWarning};
}
