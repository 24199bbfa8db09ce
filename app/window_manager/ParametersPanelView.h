#pragma once
// The parameters panel at the left of the window: its picture, the two preset lists, the
// nine parameter boxes, the recommended dip tube length label and the gas reach read-out. While a
// dialog is open the native controls are hidden and the panel shows a still picture of itself
// instead.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"

#include <array>

class CParametersPanelView : public CBaseView {
public:
    static constexpr int kTextEditCount = 9;

    void Init(IMainWindow* window, const std::string& name) override;
    // Configures the boxes, then the preset list, then the casing list (each list raises its
    // selection event), then the label; then chains the Tab order from top to bottom.
    void Configure(TagHandle tag) override;
    // The still picture when there is one; otherwise the background and the label (the
    // native controls paint themselves).
    void Draw(ICanvas& canvas) const override;
    // Takes a picture of the panel as it is on screen, typed text included, then hides the
    // controls. While they are already hidden the picture taken first is kept.
    void HideControls();
    // Drops the picture and shows the controls again.
    void ShowControls();
    bool HasSnapshot() const { return !snapshot_.pixels.empty(); }
    // Shuts the controls and the label down, then unregisters the panel.
    void Shutdown() override;

    CComboBoxView& SeparatorPreset() { return separatorPreset_; }
    CComboBoxView& CasingSize() { return casingSize_; }
    CLabelView& RecommendedDipTubeLength() { return recommended_; }
    CGasReachView& GasReach() { return gasReach_; }
    // The boxes in member order: "Dip Tube ID", "Dip Tube Length", "Dip Tube OD", "Gas Bubble
    // Rise Velocity", "Production Rate", "Separator ID", "Separator OD", "SPM", "Max Capacity".
    std::array<CTextEditView, kTextEditCount>& TextEdits() { return textEdits_; }

    const char* Kind() const override { return "panel"; }
    void DescribeState(ViewState& state) const override;

private:
    void TakeSnapshot();
    void ChainTabOrder();

    PixelBuffer snapshot_;
    int snapshotX_ = 0;
    int snapshotY_ = 0;
    bool controlsHidden_ = false;
    CComboBoxView separatorPreset_;
    CComboBoxView casingSize_;
    std::array<CTextEditView, kTextEditCount> textEdits_;
    CLabelView recommended_;
    CGasReachView gasReach_;
};
