#pragma once
// The parameters panel at the left of the window: its picture, the two preset lists, the text
// boxes its tag lists (each with a caption drawn beside it), the recommended dip tube length
// label and the gas reach read-out. While a dialog is open the native controls are hidden and
// the panel shows a still picture of itself instead.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"

#include <memory>
#include <string>
#include <vector>

class CParametersPanelView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // Makes the boxes the tag lists (anew when their names changed) and configures them, then
    // the preset list, then the casing list (each list raises its selection event), then the
    // label; then chains the Tab order from top to bottom.
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
    // The boxes in the tag's order; rebuilt when a tag refresh changes the list, so holders
    // look them up again after "Tags Reloaded".
    const std::vector<std::unique_ptr<CTextEditView>>& Fields() const { return fields_; }
    // The box of that name, or null.
    CTextEditView* Field(const std::string& name) const;

    const char* Kind() const override { return "panel"; }
    void DescribeState(ViewState& state) const override;

private:
    void TakeSnapshot();
    void ChainTabOrder();
    void ConfigureFields(const std::vector<TagHandle>& tags);
    void DrawCaption(ICanvas& canvas, const CTextEditView& field) const;

    PixelBuffer snapshot_;
    int snapshotX_ = 0;
    int snapshotY_ = 0;
    bool controlsHidden_ = false;
    CComboBoxView separatorPreset_;
    CComboBoxView casingSize_;
    std::vector<std::unique_ptr<CTextEditView>> fields_;
    CLabelView recommended_;
    CGasReachView gasReach_;
};
