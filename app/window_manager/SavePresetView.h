#pragma once
// The save preset dialog: a name box and save, cancel and close buttons. Its members are
// named after the dialog ("<name> Close Button", ...).

#include "DialogView.h"

class CSavePresetView : public CDialogView {
public:
    void Init(IMainWindow* window, const std::string& name);
    void Configure(TagHandle tag);
    // Opening always starts with an empty name box.
    void Open() override;
    void Close() override;

protected:
    TagHandle BackgroundImage() const override;
};
