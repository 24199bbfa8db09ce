#pragma once
// The parameters panel at the left of the window: a panel of boxes (the separator's and the dip
// tube's, the maximum capacity) with the two preset lists, the recommended dip tube length label,
// the gas reach read-out, the gas limit and the verdict.

#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/FieldPanelView.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/NoticeView.h"

class CParametersPanelView : public CFieldPanelView {
public:
    CParametersPanelView() : CFieldPanelView(kFirstFieldIdentifier) {}

    void Init(IMainWindow* window, const std::string& name) override;
    // The boxes, then the preset list, then the casing list (each list raises its selection
    // event), then the labels.
    void Configure(TagHandle tag) override;
    // Shuts the lists and the labels down too.
    void Shutdown() override;
    std::vector<TabStop> TabStops() const override;

    CComboBoxView& SeparatorPreset() { return separatorPreset_; }
    const CComboBoxView& SeparatorPreset() const { return separatorPreset_; }
    CComboBoxView& CasingSize() { return casingSize_; }
    CLabelView& RecommendedDipTubeLength() { return recommended_; }
    CGasReachView& GasReach() { return gasReach_; }
    CLabelView& GasLimit() { return gasLimit_; }
    CNoticeView& Verdict() { return verdict_; }

protected:
    void DrawOver(ICanvas& canvas) const override;
    void InvalidateControls() override;
    void SetControlsVisible(bool visible) override;

private:
    static constexpr int kFirstFieldIdentifier = 102;

    CComboBoxView separatorPreset_;
    CComboBoxView casingSize_;
    CLabelView recommended_;
    CGasReachView gasReach_;
    CLabelView gasLimit_;
    CNoticeView verdict_;
};
