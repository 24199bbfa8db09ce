#pragma once
// What the contact, help and save preset dialogs share: a picture drawn over the window and
// buttons that are active only while the dialog is open.

#include "app/window_manager/ButtonView.h"

#include <deque>
#include <vector>

class CDialogView : public CBaseView {
public:
    // Open: activates every button. Close: deactivates them. Both may be repeated.
    virtual void Open();
    virtual void Close();
    bool IsOpen() const { return open_; }
    // Nothing when closed; otherwise the background and the buttons in member order.
    void Draw(ICanvas& canvas) const override;
    void Shutdown() override;

    const char* Kind() const override { return "dialog"; }
    void DescribeState(ViewState& state) const override;

protected:
    // Stores the window and name, closes the dialog and initialises the buttons with their
    // names, then registers the dialog.
    void InitDialog(IMainWindow* window, const std::string& name,
                    const std::vector<std::string>& buttonNames);
    // Keeps the tag and configures the buttons with their tags, in member order; a closed
    // dialog's buttons are deactivated again.
    void ConfigureDialog(TagHandle tag, const std::vector<TagHandle>& buttonTags);
    // The background image of the dialog's tag.
    virtual TagHandle BackgroundImage() const = 0;

    std::deque<CButtonView>& Buttons() { return buttons_; }

private:
    bool open_ = false;
    std::deque<CButtonView> buttons_; // views stay where they are constructed
};
