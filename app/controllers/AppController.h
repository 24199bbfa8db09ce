#pragma once
// Application commands: the dialogs, the maker's links, the information document and the
// capacity warning. Starts the pump, dimension-line, parameters, read-out, design export,
// pump-and-fluid and separator finder controllers.

#include "app/controllers/CaseController.h"
#include "app/controllers/DesignExportController.h"
#include "app/controllers/ParametersController.h"
#include "app/controllers/PresetsController.h"
#include "app/controllers/PumpController.h"
#include "app/controllers/PumpFluidController.h"
#include "app/controllers/ReadoutController.h"
#include "app/controllers/SeparatorFinderController.h"
#include "app/controllers/WellAnimationController.h"
#include "app/tags/ViewNames.h"

#include <string>

class CAppView;
class CDialogView;
class CGasSeparatorModel;
class CWindowManager;
class IMainWindow;

class CAppController {
public:
    // The controllers drive the model and the window manager's views, which outlive them.
    CAppController(CGasSeparatorModel& model, CWindowManager& windowManager);

    // The embedded information document; the copy in the user's folder has the same name.
    static constexpr const char* kInfoDocument = "docs/GasSeparatorSimulatorGuide.docx";
    static constexpr const char* kErrorTitle = "Quillmore Gas Separator Simulator Error";
    static constexpr const char* kAboutTitle = "About Gas Separator Simulator";

    // Initialises the other controllers, subscribes its own events, and tells the user what
    // became of an unusable defaults file, if anything, once the window is drawn.
    void Initialise();

    // Says `text` in an error message: at once, or, at start, once the window is drawn with the
    // panel's results, so that a message at start stands over the whole window, not an empty
    // one.
    void TellOnceDrawn(const std::string& text);

    // Opens the named dialog, first suspending interaction and disabling the button bar
    // unless another dialog is open already. Nothing happens when it is open or missing.
    void OpenDialog(const std::string& name);
    // Closes it; the last dialog to close resumes interaction and enables the bar.
    void CloseDialog(const std::string& name);
    // Extracts the information document into the user's folder and opens it.
    void OpenInfoDocument();
    // The missing-document message.
    static std::string MissingDocumentText();

    CPumpController& PumpController() { return pumpController_; }
    CWellAnimationController& WellAnimationController() { return wellAnimationController_; }
    CDesignExportController& DesignExport() { return designExportController_; }
    CPumpFluidController& PumpFluid() { return pumpFluidController_; }
    CSeparatorFinderController& SeparatorFinder() { return separatorFinderController_; }
    CCaseController& Cases() { return caseController_; }
    CPresetsController& Presets() { return presetsController_; }

    // The About box: version, toolkit, font licence and the maker's contact details.
    void ShowAbout();
    static std::string AboutText();

private:
    CDialogView* TopDialog() const;
    void OnDialogAccept();
    void OnDialogCancel();
    void OnSimulationFrameUpdated();
    void OnOpenContactDialog() { OpenDialog(ViewName::kContactDialog); }
    void OnCloseContactDialog() { CloseDialog(ViewName::kContactDialog); }
    void OnOpenHelpDialog() { OpenDialog(ViewName::kHelpDialog); }
    void OnCloseHelpDialog() { CloseDialog(ViewName::kHelpDialog); }
    void OnLaunchWebsite();
    void OnLaunchEmail();
    void OnLaunchHelpEmail();
    void OnOpenSavePresetDialog() { OpenDialog(ViewName::kSavePresetDialog); }
    void OnCloseSavePresetDialog() { CloseDialog(ViewName::kSavePresetDialog); }
    void OnSavePreset();
    void ShowError(const std::string& text) const;
    void OnOpenInfoDocument() { OpenInfoDocument(); }
    // The View menu's unit systems: the model's, then every number shown again.
    void ChooseUnits(UnitSystem units);
    void CheckUnitsMenu() const;

    CGasSeparatorModel& model_;
    CAppView& app_;
    CPumpController pumpController_;
    CWellAnimationController wellAnimationController_;
    CParametersController parametersController_;
    CReadoutController readoutController_;
    CDesignExportController designExportController_;
    CPumpFluidController pumpFluidController_;
    CSeparatorFinderController separatorFinderController_;
    CCaseController caseController_;
    CPresetsController presetsController_;
    // Frames counted until the window is drawn whole, with the panel's results: the first
    // frame comes before them.
    static constexpr int kWholeFrame = 2;
    int framesUpdated_ = 0;
    std::vector<std::string> untold_; // messages waiting for it
};
