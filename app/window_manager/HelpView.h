#pragma once
// The help dialog, with a link to the support e-mail address.

#include "app/window_manager/DialogView.h"

class CHelpView : public CDialogView {
public:
    // The buttons keep their fixed names whatever name the dialog is given.
    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override;

protected:
    TagHandle BackgroundImage() const override;
};
