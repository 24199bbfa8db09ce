#include "SavePresetView.h"

#include "SavePresetDialog.h"
#include "TagManager.h"

// The name box (a text edit view named "<name> Preset Name", identifier 110, configured
// from the tag's "Preset Name") joins with the text edit view: Init initialises it after the
// buttons, Configure configures it and hides it when closed, Open empties it first and shows
// it last, Close hides it, Shutdown shuts it down with the buttons.

void CSavePresetView::Init(IMainWindow* window, const std::string& name) {
    InitDialog(window, name,
               {name + " Close Button", name + " Save Button", name + " Cancel Button"});
}

void CSavePresetView::Configure(TagHandle tag) {
    const TSavePresetDialog* dialog = GetTagAs<TSavePresetDialog>(tag);
    ConfigureDialog(tag, dialog ? std::vector<TagHandle>{dialog->closeButton, dialog->saveButton,
                                                         dialog->cancelButton}
                                : std::vector<TagHandle>{});
}

void CSavePresetView::Open() {
    CDialogView::Open();
}

void CSavePresetView::Close() {
    CDialogView::Close();
}

TagHandle CSavePresetView::BackgroundImage() const {
    const TSavePresetDialog* dialog = GetTagAs<TSavePresetDialog>(tag_);
    return dialog ? dialog->backgroundImage : 0;
}
