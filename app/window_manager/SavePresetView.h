#pragma once
// The save preset dialog: a name box and save, cancel and close buttons. Its members are
// named after the dialog ("<name> Close Button", ...).

#include "app/window_manager/DialogView.h"
#include "app/window_manager/TextEditView.h"

class CSavePresetView : public CDialogView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override;
    // Opening always starts with an empty name box.
    void Open() override;
    void Close() override;
    // The name box hides under a dialog on top, keeping what was typed.
    void SetCovered(bool covered) override;
    void TakeFocus() override { presetName_.Focus(); }
    void Shutdown() override;
    CTextEditView& PresetName() { return presetName_; }

protected:
    TagHandle BackgroundImage() const override;

private:
    CTextEditView presetName_; // shown only while the dialog is open
};
