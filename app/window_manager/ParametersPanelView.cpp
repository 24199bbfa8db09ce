#include "app/window_manager/ParametersPanelView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/tags/ComboBox.h"
#include "app/tags/Image.h"
#include "app/tags/ParametersPanel.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/window_manager/ViewNames.h"

#include <algorithm>
#include <tuple>

namespace {
struct TextEditMember {
    const char* name;
    int identifier;
    TagHandle TParametersPanel::*key;
};

// The boxes in member order, with their view names, identifiers and panel keys.
constexpr std::array<TextEditMember, CParametersPanelView::kTextEditCount> kTextEdits = {{
    {ViewName::kDipTubeID, 102, &TParametersPanel::dipTubeId},
    {ViewName::kDipTubeLength, 103, &TParametersPanel::dipTubeLength},
    {ViewName::kDipTubeOD, 104, &TParametersPanel::dipTubeOd},
    {ViewName::kGasBubbleRiseVelocity, 105, &TParametersPanel::gasBubbleRiseVelocity},
    {ViewName::kProductionRate, 106, &TParametersPanel::productionRate},
    {ViewName::kSeparatorID, 107, &TParametersPanel::separatorId},
    {ViewName::kSeparatorOD, 108, &TParametersPanel::separatorOd},
    {ViewName::kSPM, 109, &TParametersPanel::spm},
    {ViewName::kMaxCapacity, 110, &TParametersPanel::maxCapacity},
}};

// The order in which Configure configures the boxes, as indices into kTextEdits.
constexpr std::array<int, CParametersPanelView::kTextEditCount> kConfigureOrder = {8, 4, 7, 3, 1,
                                                                                   0, 2, 6, 5};

// A control's place in the Tab order: its top, then its left edge, in window coordinates.
struct TabStop {
    int y;
    int x;
    INativeControl* control;
};
} // namespace

void CParametersPanelView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    snapshot_ = {};
    controlsHidden_ = false;
    separatorPreset_.Init(window, ViewName::kSeparatorPreset, 201);
    casingSize_.Init(window, ViewName::kCasingSize, 202);
    for (int i = 0; i < kTextEditCount; ++i) {
        textEdits_[i].Init(window, kTextEdits[i].name, kTextEdits[i].identifier);
    }
    recommended_.Init(window, ViewName::kRecommendedDipTubeLength);
    gasReach_.Init(window, ViewName::kGasReach);
    Register();
}

void CParametersPanelView::Configure(TagHandle tag) {
    tag_ = tag;
    const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag);
    if (!panel) {
        return;
    }
    for (int index : kConfigureOrder) {
        textEdits_[index].Configure(panel->*kTextEdits[index].key);
    }
    separatorPreset_.Configure(panel->separatorPresets);
    casingSize_.Configure(panel->casingSize);
    recommended_.Configure(panel->recommendedDipTubeLength);
    gasReach_.Configure(panel->gasReach);
    ChainTabOrder();
}

void CParametersPanelView::ChainTabOrder() {
    std::vector<TabStop> stops;
    auto add = [&stops](TagHandle tag, INativeControl* control) {
        if (const auto* placed = dynamic_cast<const TPlaceable*>(GetTag(tag)); placed && control) {
            stops.push_back({placed->absY, placed->absX, control});
        }
    };
    add(separatorPreset_.GetTagHandle(), separatorPreset_.Control());
    add(casingSize_.GetTagHandle(), casingSize_.Control());
    for (const CTextEditView& edit : textEdits_) {
        add(edit.GetTagHandle(), edit.Control());
    }
    std::stable_sort(stops.begin(), stops.end(), [](const TabStop& a, const TabStop& b) {
        return std::tie(a.y, a.x) < std::tie(b.y, b.x);
    });
    for (size_t i = 1; i < stops.size(); ++i) {
        stops[i].control->SetTabOrderAfter(*stops[i - 1].control);
    }
}

void CParametersPanelView::Draw(ICanvas& canvas) const {
    if (HasSnapshot()) {
        canvas.CopyImage(RefOf(snapshot_), snapshotX_, snapshotY_);
        return;
    }
    const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag_);
    if (!panel) {
        return;
    }
    DrawImage(canvas, panel->backgroundImage, panel->absX, panel->absY);
    recommended_.Draw(canvas);
    gasReach_.Draw(canvas);
}

void CParametersPanelView::HideControls() {
    separatorPreset_.Invalidate();
    casingSize_.Invalidate();
    for (CTextEditView& edit : textEdits_) {
        edit.Invalidate();
    }
    // A second call while hidden (a tag refresh with a dialog open) would picture the dialog
    // over the panel, so the first picture stays.
    if (!controlsHidden_ || !HasSnapshot()) {
        TakeSnapshot();
    }
    separatorPreset_.Hide();
    casingSize_.Hide();
    for (CTextEditView& edit : textEdits_) {
        edit.Hide();
    }
    controlsHidden_ = true;
}

void CParametersPanelView::TakeSnapshot() {
    snapshot_ = {};
    const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag_);
    const TImage* background = panel ? GetTagAs<TImage>(panel->backgroundImage) : nullptr;
    if (!background || !window_) {
        return;
    }
    // The panel may stick out of the window (it starts at x = -2): only the part inside can be
    // pictured, and it is drawn back where it was taken.
    snapshotX_ = std::max(panel->absX, 0);
    snapshotY_ = std::max(panel->absY, 0);
    const int width = background->width - (snapshotX_ - panel->absX);
    const int height = background->height - (snapshotY_ - panel->absY);
    if (width > 0 && height > 0) {
        snapshot_ = window_->GrabClient(snapshotX_, snapshotY_, width, height);
    }
}

void CParametersPanelView::ShowControls() {
    snapshot_ = {};
    controlsHidden_ = false;
    separatorPreset_.Show();
    casingSize_.Show();
    for (CTextEditView& edit : textEdits_) {
        edit.Show();
    }
}

void CParametersPanelView::Shutdown() {
    snapshot_ = {};
    separatorPreset_.Shutdown();
    casingSize_.Shutdown();
    for (CTextEditView& edit : textEdits_) {
        edit.Shutdown();
    }
    recommended_.Shutdown();
    gasReach_.Shutdown();
    CBaseView::Shutdown();
}

void CParametersPanelView::DescribeState(ViewState& state) const {
    state.emplace_back("controls_hidden", BoolText(controlsHidden_));
    state.emplace_back("snapshot", BoolText(HasSnapshot()));
}
