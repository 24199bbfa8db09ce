#include "app/AppController.h"

#include "app/ContactDetails.h"
#include "app/EventNames.h"
#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/ViewNames.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/platform/UserFolders.h"
#include "app/tags/EmbeddedStore.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"

#include <filesystem>
#include <fstream>

CAppController* gAppController = nullptr;

namespace {
template <class T> T* Find(const std::string& name) {
    return FindViewOf<T>(name);
}

void OpenLink(const std::string& url) {
    if (IShell* shell = Platform().shell) {
        shell->OpenUrl(url);
    }
}
} // namespace

void CAppController::Initialise(IMainWindow* window) {
    window_ = window;
    pumpController_.Initialise();
    dimensionLineController_.Initialise();
    gasSeparatorController_.Initialise();
    readoutController_.Initialise();
    designExportController_.Initialise();
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
    if (CGasSeparatorModel* model = RequireModel("the defaults notice")) {
        if (const std::string notice = model->TakeDefaultsNotice(); !notice.empty()) {
            ShowError(notice);
        }
    }
}

void CAppController::ShowError(const std::string& text) const {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(kErrorTitle, text, MessageIcon::Exclamation);
    }
}

// A preset that could not be saved keeps the dialog open with the typed name, so the user can
// pick another name or free the folder and save again.
void CAppController::OnSavePreset() {
    std::string failure;
    if (gasSeparatorController_.SavePreset(failure)) {
        CloseDialog(ViewName::kSavePresetDialog);
        return;
    }
    ShowError("The preset could not be saved: " + failure +
              ".\n\nChoose another name, or check the folder, then save again.");
}

void CAppController::OnSimulationFrameUpdated() {
    const CGasSeparatorModel* model = RequireModel("the capacity warning");
    if (!model || !model->GetState().gasAtDipTubeInlet) {
        return;
    }
    if (CWarningView* warning = Find<CWarningView>(ViewName::kMaxCapacityWarning)) {
        warning->Show(); // restarts its lifespan every frame the gas reaches the inlet
    }
}

// The menu can open the contact dialog over another one. Interaction is suspended by the
// first dialog that opens and resumed only when the last one closes, so closing one of two
// never brings the bar and the input controls back under the other, and the panel's
// snapshot is never taken of a dialog.
bool CAppController::AnyDialogOpen() {
    for (const char* name :
         {ViewName::kContactDialog, ViewName::kHelpDialog, ViewName::kSavePresetDialog}) {
        const CDialogView* dialog = Find<CDialogView>(name);
        if (dialog && dialog->IsOpen()) {
            return true;
        }
    }
    return false;
}

void CAppController::OpenDialog(const std::string& name) {
    CDialogView* dialog = Find<CDialogView>(name);
    if (!dialog || dialog->IsOpen()) {
        return;
    }
    if (!AnyDialogOpen()) {
        if (CAppView* app = Find<CAppView>(ViewName::kApp)) {
            app->SuspendInteraction();
        }
        if (CButtonBarView* bar = Find<CButtonBarView>(ViewName::kButtonBar)) {
            bar->Disable();
        }
    }
    dialog->Open();
}

void CAppController::CloseDialog(const std::string& name) {
    CDialogView* dialog = Find<CDialogView>(name);
    if (!dialog || !dialog->IsOpen()) {
        return;
    }
    dialog->Close();
    if (AnyDialogOpen()) {
        return;
    }
    if (CAppView* app = Find<CAppView>(ViewName::kApp)) {
        app->ResumeInteraction();
    }
    if (CButtonBarView* bar = Find<CButtonBarView>(ViewName::kButtonBar)) {
        bar->Enable();
    }
}

void CAppController::OnLaunchWebsite() {
    OpenLink(ContactDetails::kWebsite);
}

void CAppController::OnLaunchEmail() {
    OpenLink(std::string("mailto:") + ContactDetails::kGeneralEmail);
}

void CAppController::OnLaunchHelpEmail() {
    OpenLink(std::string("mailto:") + ContactDetails::kSupportEmail);
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
    const std::filesystem::path target = folder / std::filesystem::path(kInfoDocument).filename();
    ExtractResourceToFile(kInfoDocument, target); // a failure shows up as a missing file
    std::error_code error;
    if (!std::filesystem::is_regular_file(target, error) ||
        !std::ifstream(target, std::ios::binary).is_open()) {
        ShowError(MissingDocumentText());
        return;
    }
    if (IShell* shell = Platform().shell) {
        shell->OpenFile(target);
    }
}
