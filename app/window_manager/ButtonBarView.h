#pragma once
// The command menu: a background and seven buttons, of which the pump pair and the
// dimension pair show one button each.

#include "app/window_manager/ButtonView.h"

#include <array>

// A key that clicks one of the bar's buttons, and what the button does; a pair's two buttons
// share one command and key.
struct ButtonShortcut {
    const char* button; // the button's view name
    int command;        // the window command the key gives
    const char* keys;   // portable key text, e.g. "F5"
    const char* action; // e.g. "Start the pump"
};

class CButtonBarView : public CBaseView {
public:
    static constexpr int kButtonCount = 7;
    // The buttons in the bar's order, pairs next to each other.
    static const std::array<ButtonShortcut, kButtonCount>& Shortcuts();

    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override;
    // Running shows the stop button, stopped the go button. Ignored while disabled.
    void SetPumpRunning(bool running);
    // Shown shows the hide button, hidden the show button. Ignored while disabled.
    void SetDimensionsShown(bool shown);
    // Activates (or deactivates) the current pump and dimension buttons, help, save preset
    // and info.
    void Enable();
    void Disable();
    void Draw(ICanvas& canvas) const override;
    void Shutdown() override;
    // A shortcut's command clicks the button of the pair that is shown; nothing while the bar
    // is disabled (a dialog is open).
    int HandleCommand(int command) override;

    const char* Kind() const override { return "button_bar"; }
    void DescribeState(ViewState& state) const override;

    bool IsEnabled() const { return enabled_; }
    const CButtonView* CurrentPumpButton() const { return currentPump_; }
    const CButtonView* CurrentDimensionButton() const { return currentDimension_; }

private:
    // Shows `show` and hides `hide` of a pair, making `show` the pair's current button.
    void SwapPair(CButtonView& hide, CButtonView& show, CButtonView*& current);
    std::array<CButtonView*, 5> EnabledButtons() const;
    CButtonView* ButtonNamed(const std::string& name);

    bool enabled_ = true;
    CButtonView* currentPump_ = nullptr;
    CButtonView* currentDimension_ = nullptr;
    CButtonView pumpGo_;
    CButtonView pumpStop_;
    CButtonView dimensionShow_;
    CButtonView dimensionHide_;
    CButtonView help_;
    CButtonView savePreset_;
    CButtonView info_;
};
