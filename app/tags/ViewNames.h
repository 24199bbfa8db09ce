#pragma once
// Every view name: the views register under these names and the controllers, the driver and
// the tests find them by them. The names of composite views' members that follow their
// owner's name are built by the functions at the end.

#include <string>

namespace ViewName {
// The root and its children.
inline constexpr const char* kApp = "App";
inline constexpr const char* kButtonBar = "Button Bar";
inline constexpr const char* kHeaderBar = "Header Bar View";
inline constexpr const char* kParametersPanel = "Parameters Panel View";
inline constexpr const char* kFlowPanel = "Flow Panel View";
inline constexpr const char* kGasSeparator = "Gas Separator";
inline constexpr const char* kContactDialog = "Contact Dialog";
inline constexpr const char* kHelpDialog = "Help Dialog";
inline constexpr const char* kSavePresetDialog = "Save Preset Dialog";

// The capacity warning, which the program shows when gas reaches the dip tube inlet; the input
// warnings are named by the parameter table and the root tag lists them all.
inline constexpr const char* kMaxCapacityWarning = "Max Capacity Warning View";

// The button bar's buttons.
inline constexpr const char* kPumpButtonGo = "Pump Button Go";
inline constexpr const char* kPumpButtonStop = "Pump Button Stop";
inline constexpr const char* kDimensionButtonShow = "Dimension Button Show";
inline constexpr const char* kDimensionButtonHide = "Dimension Button Hide";
inline constexpr const char* kHelpButton = "Help Button";
inline constexpr const char* kInfoButton = "Info Button";
inline constexpr const char* kSavePresetButton = "Save Preset Button";

// The contact and help dialogs' buttons (fixed, whatever the dialogs are called).
inline constexpr const char* kContactDialogCloseButton = "Contact Dialog Close Button";
inline constexpr const char* kContactDialogEmailButton = "Contact Dialog Email Button";
inline constexpr const char* kContactDialogWebsiteButton = "Contact Dialog Website Button";
inline constexpr const char* kHelpDialogCloseButton = "Help Dialog Close Button";
inline constexpr const char* kHelpDialogEmailButton = "Help Dialog Email Button";

// The parameters panel's lists, result box, labels and read-outs (the input boxes are named by
// the parameter table).
inline constexpr const char* kSeparatorPreset = "Separator Preset";
inline constexpr const char* kCasingSize = "Casing Size";
inline constexpr const char* kMaxCapacity = "Max Capacity";
inline constexpr const char* kRecommendedDipTubeLength = "Recommended Dip Tube Length";
inline constexpr const char* kGasReach = "Gas Reach";
inline constexpr const char* kGasLimit = "Gas Limit";
inline constexpr const char* kVerdict = "Verdict";
inline constexpr const char* kAboveCapacityNotice = "Above Capacity Notice";
inline constexpr const char* kDriftDiameter = "Drift Diameter";
inline constexpr const char* kPumpDisplacement = "Pump Displacement";
inline constexpr const char* kFastestPumpSpeed = "Fastest Pump Speed";

// The well picture's parts.
inline constexpr const char* kPlunger = "Plunger";
inline constexpr const char* kStandingValve = "Valve";
inline constexpr const char* kValveBase = "Valve Base";
inline constexpr const char* kCasingRegion = "Particle Region Casing Left";
inline constexpr const char* kPerfLeftRegion = "Particle Region Perf Left";
inline constexpr const char* kPerfLeftTopRegion = "Particle Region Perf Left Top";
inline constexpr const char* kPerfLeftTopFluidRegion = "Particle Region Perf Left Top Fluid";
inline constexpr const char* kPerfLeftBottomRegion = "Particle Region Perf Left Bottom";
inline constexpr const char* kPerfRightRegion = "Particle Region Perf Right";
inline constexpr const char* kPerfRightTopRegion = "Particle Region Perf Right Top";
inline constexpr const char* kPerfRightTopFluidRegion = "Particle Region Perf Right Top Fluid";
inline constexpr const char* kPerfRightBottomRegion = "Particle Region Perf Right Bottom";
inline constexpr const char* kDipTubeLeftRegion = "Particle Region Dip Tube Left";
inline constexpr const char* kDipTubeLeftFluidRegion = "Particle Region Dip Tube Left Fluid";
inline constexpr const char* kDipTubeCenterFluidRegion = "Particle Region Dip Tube Center Fluid";
inline constexpr const char* kDipTubeCenterBottomFluidRegion =
    "Particle Region Dip Tube Center Bottom Fluid";
inline constexpr const char* kDipTubeTopFluidRegion = "Particle Region Dip Tube Top Fluid";
inline constexpr const char* kDipTubeCenterRegion = "Particle Region Dip Tube Center";
inline constexpr const char* kDipTubeRightRegion = "Particle Region Dip Tube Right";
inline constexpr const char* kDipTubeRightFluidRegion = "Particle Region Dip Tube Right Fluid";
// The name keeps its long-standing spelling.
inline constexpr const char* kFlowIndicator = "Dip Tube Fluid Inidicator View";
inline constexpr const char* kCasingDimLine = "Casing Dim Line";
inline constexpr const char* kSeparatorODDimLine = "Separator OD Dim Line";
inline constexpr const char* kSeparatorIDDimLine = "Separator ID Dim Line";
inline constexpr const char* kDipTubeODDimLine = "Dip Tube OD Dim Line";
inline constexpr const char* kDipTubeIDDimLine = "Dip Tube ID Dim Line";
inline constexpr const char* kDipTubeLengthDimLine = "Dip Tube Length Dim Line";

// Suffixes of members named after their owner.
inline constexpr const char* kValveSuffix = " Valve";
inline constexpr const char* kLabelSuffix = " Label";
inline constexpr const char* kCloseButtonSuffix = " Close Button";
inline constexpr const char* kSaveButtonSuffix = " Save Button";
inline constexpr const char* kCancelButtonSuffix = " Cancel Button";
inline constexpr const char* kPresetNameSuffix = " Preset Name";
} // namespace ViewName

// A member named after its owner, e.g. Member("Save Preset Dialog", kPresetNameSuffix).
inline std::string MemberName(const std::string& owner, const char* suffix) {
    return owner + suffix;
}

namespace ViewName {
// The save preset dialog's name box as the program names it.
inline const std::string kSavePresetName = MemberName(kSavePresetDialog, kPresetNameSuffix);
} // namespace ViewName
