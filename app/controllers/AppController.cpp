#include "app/controllers/AppController.h"

#include "app/Version.h"
#include "app/files/AtomicFile.h"
#include "app/files/EmbeddedStore.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/platform/UserFolders.h"
#include "app/services/ContactDetails.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include <stdlib.h> // mkdtemp

namespace {
constexpr const char* kCapacityExceededTitle = "Separator capacity exceeded";
constexpr const char* kCapacityExceededText =
    "Gas is reaching the dip tube inlet. Lower the production rate or use a larger annulus.";
constexpr const char* kShortDipTubeTitle = "Dip tube too short";
constexpr const char* kShortDipTubeText =
    "Gas is reaching the dip tube inlet below the separator's capacity: the dip tube is shorter "
    "than the gas reach. Use a longer dip tube or a faster pump.";

// A file that is there and can be read.
bool Readable(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) &&
           std::ifstream(file, std::ios::binary).is_open();
}

// The guide copied into a folder of the user's own, made anew in the system's temporary folder
// (mode 0700, so no other user can swap the file); empty when none can be made or written.
std::filesystem::path GuideInTemporaryFolder(const std::filesystem::path& name) {
    std::error_code error;
    std::string folder = (std::filesystem::temp_directory_path(error) / "gas-separator-XXXXXX");
    if (error || !::mkdtemp(folder.data())) {
        return {};
    }
    const std::filesystem::path file = std::filesystem::path(folder) / name;
    if (ExtractResourceToFile(CAppController::kInfoDocument, file, error) && Readable(file)) {
        return file;
    }
    std::filesystem::remove_all(folder, error); // a full disk: no empty folder left behind
    return {};
}

// What the user can copy when the desktop has no program for a link or a file.
void TellCannotOpen(IShell& shell, const std::string& what, const std::string& where) {
    shell.ShowMessage(CAppController::kErrorTitle,
                      "The desktop has no program to open " + what +
                          ". You can copy it from here:\n\n" + where,
                      MessageIcon::Exclamation);
}

void OpenLink(const std::string& url, const std::string& what, const std::string& where) {
    if (IShell* shell = Platform().shell; shell && !shell->OpenUrl(url)) {
        TellCannotOpen(*shell, what, where);
    }
}
} // namespace

CAppController::CAppController(CGasSeparatorModel& model, CWindowManager& windowManager)
    : model_(model), app_(windowManager.RootView()), pumpController_(model, app_.ButtonBar()),
      wellAnimationController_(model, app_.GasSeparator()),
      parametersController_(model, app_, windowManager),
      readoutController_(model, app_.ParametersPanel(), app_.AboveCapacityNotice()),
      designExportController_(model, readoutController_, parametersController_, app_,
                              windowManager.GetWindowHandle()),
      pumpFluidController_(model, app_), separatorFinderController_(model, app_),
      caseController_(model, parametersController_, windowManager),
      presetsController_(model, parametersController_, app_) {}

void CAppController::Initialise() {
    pumpController_.Initialise();
    wellAnimationController_.Initialise();
    parametersController_.Initialise();
    readoutController_.Initialise();
    designExportController_.Initialise();
    pumpFluidController_.Initialise();
    separatorFinderController_.Initialise();
    caseController_.Initialise();
    presetsController_.Initialise();
    SubscribeEvent(EventName::kSimulationFrameUpdated, this,
                   &CAppController::OnSimulationFrameUpdated);
    SubscribeEvent(EventName::kOpenContactDialog, this, &CAppController::OnOpenContactDialog);
    SubscribeEvent(EventName::kCloseContactDialog, this, &CAppController::OnCloseContactDialog);
    SubscribeEvent(EventName::kOpenHelpDialog, this, &CAppController::OnOpenHelpDialog);
    SubscribeEvent(EventName::kCloseHelpDialog, this, &CAppController::OnCloseHelpDialog);
    SubscribeEvent(EventName::kLaunchQuillmoreWebsite, this, &CAppController::OnLaunchWebsite);
    SubscribeEvent(EventName::kLaunchQuillmoreEmail, this, &CAppController::OnLaunchEmail);
    SubscribeEvent(EventName::kLaunchHelpEmail, this, &CAppController::OnLaunchHelpEmail);
    SubscribeEvent(EventName::kOpenSavePresetDialog, this, &CAppController::OnOpenSavePresetDialog);
    SubscribeEvent(EventName::kCloseSavePresetDialog, this,
                   &CAppController::OnCloseSavePresetDialog);
    SubscribeEvent(EventName::kSavePreset, this, &CAppController::OnSavePreset);
    SubscribeEvent(EventName::kOpenInfoDocument, this, &CAppController::OnOpenInfoDocument);
    SubscribeEvent(EventName::kDialogAccept, this, &CAppController::OnDialogAccept);
    SubscribeEvent(EventName::kDialogCancel, this, &CAppController::OnDialogCancel);
    SubscribeEvent(EventName::kShowAbout, this, &CAppController::ShowAbout);
    SubscribeEvent(EventName::kOilfieldUnitsChosen, this,
                   [this] { ChooseUnits(UnitSystem::Oilfield); });
    SubscribeEvent(EventName::kMetricUnitsChosen, this,
                   [this] { ChooseUnits(UnitSystem::Metric); });
    SubscribeEvent(EventName::kUnitsChanged, this, [this] {
        CheckUnitsMenu();
        app_.PanelsChanged();
    });
    // A change under an open dialog (File > Reset to Defaults, Undo) shows in the panels'
    // pictures.
    SubscribeEvent(EventName::kWellParametersUpdated, this, [this] { app_.PanelsChanged(); });
    CheckUnitsMenu();
    if (const std::string notice = model_.TakeDefaultsNotice(); !notice.empty()) {
        TellOnceDrawn(notice);
    }
}

void CAppController::TellOnceDrawn(const std::string& text) {
    framesUpdated_ >= kWholeFrame ? ShowError(text) : untold_.push_back(text);
}

// The check mark on the View menu's item of the model's unit system.
void CAppController::CheckUnitsMenu() const {
    if (IMainWindow* window = Platform().mainWindow) {
        window->CheckMenuItem(model_.GetUnitSystem() == UnitSystem::Metric
                                  ? CWindowManager::kCommandMetricUnits
                                  : CWindowManager::kCommandOilfieldUnits);
    }
}

void CAppController::ChooseUnits(UnitSystem units) {
    CheckUnitsMenu(); // also when unchanged: a script's choice shows as the user's would
    if (model_.GetUnitSystem() == units) {
        return;
    }
    model_.SetUnitSystem(units);
    RaiseEvent(EventName::kUnitsChanged);
}

void CAppController::ShowError(const std::string& text) const {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(kErrorTitle, text, MessageIcon::Exclamation);
    }
}

// A preset that could not be saved keeps the dialog open with the typed name, so the user can
// pick another name or free the folder and save again; so does a name that is taken, when the
// user cancels the question about it.
void CAppController::OnSavePreset() {
    const std::string name = app_.SavePresetDialog().PresetName().GetText();
    if (name.find_first_not_of(" \t") == std::string::npos) {
        ShowError("Nothing was saved: a preset needs a name. Type one, or press Cancel.");
        return;
    }
    std::string failure;
    const CPresetsController::SaveResult result = presetsController_.SavePreset(name, failure);
    if (result == CPresetsController::SaveResult::Saved) {
        CloseDialog(ViewName::kSavePresetDialog);
        return;
    }
    if (result == CPresetsController::SaveResult::Cancelled) {
        return;
    }
    ShowError("The preset could not be saved: " + failure +
              ".\n\nChoose another name, or check the folder, then save again.");
}

// The card says why the gas got there: above capacity it is the capacity; below it, a dip tube
// shorter than the gas's reach.
void CAppController::OnSimulationFrameUpdated() {
    // The first frame is drawn before this event first shows the results in the panel; once
    // the second is on the screen, the window is whole behind a message.
    if (framesUpdated_ < kWholeFrame && ++framesUpdated_ == kWholeFrame) {
        // A dialog opened before (a key pressed as the program starts) pictured the panels
        // unpainted: they are pictured again, now with their results.
        app_.PanelsChanged();
        for (const std::string& text : std::exchange(untold_, {})) {
            ShowError(text);
        }
    }
    if (!model_.GetState().gasAtDipTubeInlet) {
        return;
    }
    CWarningView* warning = app_.Warning(ViewName::kMaxCapacityWarning);
    if (!warning) {
        return;
    }
    const bool shortDipTube = readoutController_.Verdict().cause == FailureCause::DipTubeTooShort;
    warning->SetTitle(shortDipTube ? kShortDipTubeTitle : kCapacityExceededTitle);
    warning->SetText(shortDipTube ? kShortDipTubeText : kCapacityExceededText);
    warning->Show(); // restarts its lifespan every frame the gas reaches the inlet
}

// The menu can open the contact dialog over another one. Interaction is suspended by the
// first dialog that opens and resumed only when the last one closes, so closing one of two
// never brings the bar and the input controls back under the other, and the panel's
// snapshot is never taken of a dialog. The dialog opened last is drawn on top and is the only
// one that takes clicks and keys; the one beneath wakes when it closes.
CDialogView* CAppController::TopDialog() const {
    return app_.TopDialog();
}

void CAppController::OpenDialog(const std::string& name) {
    CDialogView* dialog = app_.Dialog(name);
    if (!dialog || dialog->IsOpen()) {
        return;
    }
    if (CDialogView* beneath = TopDialog()) {
        beneath->SetCovered(true);
    } else {
        app_.SuspendInteraction();
        app_.ButtonBar().Disable();
    }
    dialog->Open();
}

void CAppController::CloseDialog(const std::string& name) {
    CDialogView* dialog = app_.Dialog(name);
    if (!dialog || !dialog->IsOpen()) {
        return;
    }
    dialog->Close();
    if (CDialogView* beneath = TopDialog()) {
        beneath->SetCovered(false);
        return;
    }
    app_.ResumeInteraction();
    app_.ButtonBar().Enable();
}

// Return saves in the save preset dialog and closes the others; Escape closes the dialog on
// top (for the save preset dialog, that is cancel).
void CAppController::OnDialogAccept() {
    CDialogView* top = TopDialog();
    if (top && top->Name() == ViewName::kSavePresetDialog) {
        RaiseEvent(EventName::kSavePreset);
    } else if (top) {
        CloseDialog(top->Name());
    }
}

void CAppController::OnDialogCancel() {
    if (CDialogView* top = TopDialog()) {
        CloseDialog(top->Name());
    }
}

void CAppController::OnLaunchWebsite() {
    OpenLink(ContactDetails::kWebsite, "the website", ContactDetails::kWebsite);
}

void CAppController::OnLaunchEmail() {
    OpenLink(std::string("mailto:") + ContactDetails::kGeneralEmail, "an e-mail",
             ContactDetails::kGeneralEmail);
}

void CAppController::OnLaunchHelpEmail() {
    OpenLink(std::string("mailto:") + ContactDetails::kSupportEmail, "an e-mail",
             ContactDetails::kSupportEmail);
}

std::string CAppController::AboutText() {
    const char* toolkit = Platform().toolkit;
    return std::string("Gas Separator Simulator ") + ProgramVersion() + "\nBuilt with " +
           (toolkit ? toolkit : "no window toolkit") +
           ".\n\nFonts: Exo Regular, Exo Bold and Exo Italic, copyright 2017 The Exo Project "
           "Authors, under the SIL Open Font License, Version 1.1 (OFL.txt, installed with the "
           "program's documentation).\n\nQuillmore\nWebsite: " +
           ContactDetails::kWebsite + "\nE-mail: " + ContactDetails::kGeneralEmail +
           "\nSupport: " + ContactDetails::kSupportEmail + ", telephone " +
           ContactDetails::kSupportTelephone;
}

void CAppController::ShowAbout() {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(kAboutTitle, AboutText(), MessageIcon::Information);
    }
}

std::string CAppController::MissingDocumentText() {
    return std::string("Information document cannot be found. Please contact Quillmore to "
                       "obtain a copy. (Telephone ") +
           ContactDetails::kSupportTelephone + ", e-mail " + ContactDetails::kSupportEmail + ")";
}

void CAppController::OpenInfoDocument() {
    const std::filesystem::path folder = DocumentsFolder();
    if (folder.empty()) {
        return;
    }
    const std::filesystem::path name = std::filesystem::path(kInfoDocument).filename();
    std::filesystem::path target = folder / name;
    // A copy left from before still opens. Without one, a documents folder that cannot take the
    // guide (a locked-down training room, a full disk) has it opened from a temporary folder;
    // only when that fails too is it missing, and the message also says why the copy failed,
    // which the user can mend without the maker.
    std::error_code written;
    ExtractResourceToFile(kInfoDocument, target, written);
    if (!Readable(target)) {
        const std::string reason = written ? WriteFailureReason(target, written) : "";
        target = GuideInTemporaryFolder(name);
        if (target.empty()) {
            ShowError(MissingDocumentText() +
                      (written ? "\n\nIt could not be copied to \"" + (folder / name).string() +
                                     "\": " + reason + "."
                               : ""));
            return;
        }
        LOG_WARNING("App", "The engineer's guide could not be copied to %s (%s); opened from %s",
                    folder.string().c_str(), reason.c_str(), target.string().c_str());
    }
    if (IShell* shell = Platform().shell; shell && !shell->OpenFile(target)) {
        TellCannotOpen(*shell, "the engineer's guide (a Word document)", target.string());
    }
}
