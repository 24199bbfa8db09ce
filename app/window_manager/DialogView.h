#pragma once
// What the contact, help and save preset dialogs share: a picture drawn over the window and
// buttons that are active only while the dialog is open.

#include "app/window_manager/ButtonView.h"

#include <deque>
#include <vector>

class CDialogView : public CBaseView {
public:
    // The close button's tooltip: Return closes too where there is nothing to accept.
    static constexpr const char* kCloseTooltip = "Close (Esc)";

    // Open: activates every button and puts the dialog on top of the dialogs open before.
    // Close: deactivates them. Both may be repeated.
    virtual void Open();
    virtual void Close();
    bool IsOpen() const { return open_; }
    // A dialog opened over this one covers it: its buttons (and native controls) are deaf
    // until the one on top closes. Nothing changes while closed.
    virtual void SetCovered(bool covered);
    // Gives the keyboard focus back to the dialog's own box, when it has one: a click elsewhere
    // while it is open must not leave the keys going nowhere.
    virtual void TakeFocus() {}
    bool IsCovered() const { return covered_; }
    // Rises with every Open: the dialog opened last is drawn on top.
    unsigned long OpenOrder() const { return openOrder_; }
    // Nothing when closed; otherwise the background and the buttons in member order.
    void Draw(ICanvas& canvas) const override;
    void Shutdown() override;

    const char* Kind() const override { return "dialog"; }
    void DescribeState(ViewState& state) const override;

protected:
    // A member button's view name and tooltip.
    struct ButtonMember {
        std::string name;
        std::string tooltip;
    };
    // Stores the window and name, closes the dialog and initialises the buttons with their
    // names and tooltips, then registers the dialog.
    void InitDialog(IMainWindow* window, const std::string& name,
                    const std::vector<ButtonMember>& buttons);
    // Keeps the tag and configures the buttons with their tags, in member order; a closed
    // dialog's buttons are deactivated again.
    void ConfigureDialog(TagHandle tag, const std::vector<TagHandle>& buttonTags);
    // The background image of the dialog's tag.
    virtual TagHandle BackgroundImage() const = 0;

    std::deque<CButtonView>& Buttons() { return buttons_; }

private:
    bool open_ = false;
    bool covered_ = false;
    unsigned long openOrder_ = 0;
    std::deque<CButtonView> buttons_; // views stay where they are constructed
};
