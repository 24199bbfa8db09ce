#pragma once
// Every named event the code raises or listens to. Many are also written in the tags (a
// button's "Click Event", a text box's "Text Changed Event", a list's "Selected Item Changed
// Event"), where they must be spelled exactly as here. Text boxes and lists also raise their
// view name followed by " Focus" and " Lose Focus" (FocusEvent, LoseFocusEvent).

#include <string>

namespace EventName {
// Raised by the model, the window manager and its menu.
inline constexpr const char* kSimulationFrameUpdated = "SimulationFrameUpdated";
inline constexpr const char* kWellParametersUpdated = "WellParametersUpdated";
inline constexpr const char* kTagsReloaded = "Tags Reloaded";
inline constexpr const char* kResetToDefaults = "Reset to Defaults";
inline constexpr const char* kOpenContactDialog = "Open Contact Dialog";
inline constexpr const char* kCopyDesign = "Copy Design";
inline constexpr const char* kExportReport = "Export Report";
inline constexpr const char* kShowAbout = "Show About";
inline constexpr const char* kNewCase = "New Case";
inline constexpr const char* kOpenCase = "Open Case";
inline constexpr const char* kOpenRecentCase = "Open Recent Case";
inline constexpr const char* kOpenDroppedCase = "Open Dropped Case";
inline constexpr const char* kSaveCase = "Save Case";
inline constexpr const char* kSaveCaseAs = "Save Case As";
inline constexpr const char* kEditCaseDetails = "Edit Case Details";
inline constexpr const char* kUndo = "Undo";
inline constexpr const char* kRedo = "Redo";
inline constexpr const char* kRenamePreset = "Rename Preset";
inline constexpr const char* kDeletePreset = "Delete Preset";
// Closing the window or Exit: a subscriber that must keep the program calls RefuseQuit.
inline constexpr const char* kQuitRequested = "Quit Requested";
// Return and Escape that no control used: the dialog on top accepts or cancels.
inline constexpr const char* kDialogAccept = "Dialog Accept";
inline constexpr const char* kDialogCancel = "Dialog Cancel";

// Raised by buttons (their tags' "Click Event").
inline constexpr const char* kPumpStart = "Pump Start";
inline constexpr const char* kPumpStop = "Pump Stop";
inline constexpr const char* kShowDimensions = "Show Dimensions";
inline constexpr const char* kHideDimensions = "Hide Dimensions";
inline constexpr const char* kOpenHelpDialog = "Open Help Dialog";
inline constexpr const char* kCloseHelpDialog = "Close Help Dialog";
inline constexpr const char* kCloseContactDialog = "Close Contact Dialog";
inline constexpr const char* kLaunchQuillmoreWebsite = "Launch Quillmore Website";
inline constexpr const char* kLaunchQuillmoreEmail = "Launch Quillmore Email";
inline constexpr const char* kLaunchHelpEmail = "Launch Help Email";
inline constexpr const char* kOpenSavePresetDialog = "Open Save Preset Dialog";
inline constexpr const char* kCloseSavePresetDialog = "Close Save Preset Dialog";
inline constexpr const char* kSavePreset = "Save Preset";
inline constexpr const char* kOpenInfoDocument = "Open Info Document";
inline constexpr const char* kRiseVelocityFromFluid = "Rise Velocity From Fluid";
inline constexpr const char* kFindSeparator = "Find Separator";
// The View menu's unit systems; then "Units Changed" once the model shows numbers in the new
// units (every view with a number redraws it).
inline constexpr const char* kOilfieldUnitsChosen = "Oilfield Units Chosen";
inline constexpr const char* kMetricUnitsChosen = "Metric Units Chosen";
inline constexpr const char* kUnitsChanged = "Units Changed";

// Raised by the lists (their tags' change events); the text boxes' change events are named by
// the parameter table.
inline constexpr const char* kCasingSizeChanged = "Casing Size Changed";
inline constexpr const char* kSeparatorPresetChanged = "Separator Preset Changed";
// The save preset dialog's name box: raised, heard by nobody.
inline constexpr const char* kSavePresetNameChanged = "Save Preset Name Changed";

inline constexpr const char* kFocusSuffix = " Focus";
inline constexpr const char* kLoseFocusSuffix = " Lose Focus";
} // namespace EventName

// "<view> Focus" and "<view> Lose Focus": a text box or list gained or lost the keyboard focus.
inline std::string FocusEvent(const std::string& viewName) {
    return viewName + EventName::kFocusSuffix;
}
inline std::string LoseFocusEvent(const std::string& viewName) {
    return viewName + EventName::kLoseFocusSuffix;
}
