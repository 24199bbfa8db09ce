#pragma once
// A button: three looks (base, hover, pressed) and one mouse region whose click raises the
// event its tag names. An inactive button is deaf to the mouse.

#include "app/window_manager/BaseView.h"

class CButtonView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // Takes the TButton tag and (re)activates the button.
    void Configure(TagHandle tag) override;
    // Registers the tag's mouse region with the window manager; nothing when already active
    // or without a tag.
    void Activate();
    // Removes the region and clears hover and pressed.
    void Deactivate();
    void Draw(ICanvas& canvas) const override;

    void OnMouseEnter(TagHandle region) override;
    void OnMouseLeave(TagHandle region) override;
    void OnMouseButtonDown(TagHandle region) override;
    void OnMouseButtonUp(TagHandle region) override;
    void OnMouseClick(TagHandle region) override;
    // What a click on the button does, for its keyboard shortcut.
    void Click();

    const char* Kind() const override { return "button"; }
    void DescribeState(ViewState& state) const override;

    bool IsActive() const { return active_; }
    bool IsHover() const { return hover_; }
    bool IsPressed() const { return pressed_; }
    // The image tag the button draws now.
    TagHandle CurrentImage() const;

private:
    const char* TagPath() const;

    bool active_ = false;
    bool hover_ = false;
    bool pressed_ = false;
};
