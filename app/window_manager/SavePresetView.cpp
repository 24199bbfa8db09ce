#include "app/window_manager/SavePresetView.h"

#include "app/tags/SavePresetDialog.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

namespace {
// Shared with the panel's "Max Capacity" box; each control hears only its own changes.
constexpr int kPresetNameIdentifier = 110;
} // namespace

void CSavePresetView::Init(IMainWindow* window, const std::string& name) {
    InitDialog(window, name,
               {{MemberName(name, ViewName::kCloseButtonSuffix), "Close without saving (Esc)"},
                {MemberName(name, ViewName::kSaveButtonSuffix), "Save the preset (Return)"},
                {MemberName(name, ViewName::kCancelButtonSuffix), "Cancel (Esc)"}});
    presetName_.Init(window, MemberName(name, ViewName::kPresetNameSuffix), kPresetNameIdentifier);
}

void CSavePresetView::Configure(TagHandle tag) {
    const TSavePresetDialog* dialog = GetTagAs<TSavePresetDialog>(tag);
    ConfigureDialog(tag, dialog ? std::vector<TagHandle>{dialog->closeButton, dialog->saveButton,
                                                         dialog->cancelButton}
                                : std::vector<TagHandle>{});
    presetName_.Configure(dialog ? dialog->presetName : 0);
    if (!IsOpen() || IsCovered()) {
        presetName_.Hide();
    }
}

// The name box takes the focus at once, so the user can type the name and press Return.
void CSavePresetView::Open() {
    presetName_.SetText("");
    CDialogView::Open();
    presetName_.Show();
    presetName_.Focus();
}

void CSavePresetView::SetCovered(bool covered) {
    const bool wasCovered = IsCovered();
    CDialogView::SetCovered(covered);
    if (IsCovered() == wasCovered) {
        return;
    }
    if (covered) {
        presetName_.Hide();
    } else {
        presetName_.Show();
        presetName_.Focus();
    }
}

void CSavePresetView::Close() {
    CDialogView::Close();
    presetName_.Hide();
}

void CSavePresetView::Shutdown() {
    presetName_.Shutdown();
    CDialogView::Shutdown();
}

TagHandle CSavePresetView::BackgroundImage() const {
    const TSavePresetDialog* dialog = GetTagAs<TSavePresetDialog>(tag_);
    return dialog ? dialog->backgroundImage : 0;
}
