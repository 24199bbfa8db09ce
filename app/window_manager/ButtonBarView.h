#pragma once
// The command menu: a background and seven buttons, of which the pump pair and the
// dimension pair show one button each.

#include "app/window_manager/ButtonView.h"

#include <array>

class CButtonBarView : public CBaseView {
public:
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

    const char* Kind() const override { return "button_bar"; }
    void DescribeState(ViewState& state) const override;

    bool IsEnabled() const { return enabled_; }
    const CButtonView* CurrentPumpButton() const { return currentPump_; }
    const CButtonView* CurrentDimensionButton() const { return currentDimension_; }

private:
    // Shows `show` and hides `hide` of a pair, making `show` the pair's current button.
    void SwapPair(CButtonView& hide, CButtonView& show, CButtonView*& current);
    std::array<CButtonView*, 5> EnabledButtons() const;

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
