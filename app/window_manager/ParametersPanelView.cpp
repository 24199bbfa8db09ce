#include "app/window_manager/ParametersPanelView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/tags/ComboBox.h"
#include "app/tags/Image.h"
#include "app/tags/Label.h"
#include "app/tags/ParametersPanel.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/NoticeView.h"

#include <algorithm>
#include <tuple>

namespace {
// The native identifiers of the boxes, in the tag's order.
constexpr int kFirstFieldIdentifier = 102;

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
    for (const auto& field : fields_) {
        field->Shutdown();
    }
    fields_.clear(); // made by Configure, from the panel tag's list
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
    ConfigureFields(panel->fields);
    separatorPreset_.Configure(panel->separatorPresets);
    casingSize_.Configure(panel->casingSize);
    recommended_.Configure(panel->recommendedDipTubeLength);
    gasReach_.Configure(panel->gasReach);
    ChainTabOrder();
}

void CParametersPanelView::ConfigureFields(const std::vector<TagHandle>& tags) {
    std::vector<std::string> names;
    for (const TagHandle tag : tags) {
        names.push_back(GetTagAs<TTextEdit>(tag)->name);
    }
    bool same = names.size() == fields_.size();
    for (size_t i = 0; same && i < names.size(); ++i) {
        same = fields_[i]->Name() == names[i];
    }
    if (!same) {
        for (const auto& field : fields_) {
            field->Shutdown();
        }
        fields_.clear();
        for (size_t i = 0; i < names.size(); ++i) {
            fields_.push_back(std::make_unique<CTextEditView>());
            fields_.back()->Init(window_, names[i], kFirstFieldIdentifier + static_cast<int>(i));
        }
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->Configure(tags[i]);
    }
}

CTextEditView* CParametersPanelView::Field(const std::string& name) const {
    for (const auto& field : fields_) {
        if (field->Name() == name) {
            return field.get();
        }
    }
    return nullptr;
}

// The caption's two lines left of the box, in the panel's caption and detail styles.
void CParametersPanelView::DrawCaption(ICanvas& canvas, const CTextEditView& field) const {
    const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag_);
    const TTextEdit* box = GetTagAs<TTextEdit>(field.GetTagHandle());
    if (!panel || !box || box->captionX == 0) {
        return;
    }
    const int x = box->absX + box->captionX;
    const auto line = [&](TagHandle style, const std::string& text) {
        if (const TNotice* notice = GetTagAs<TNotice>(style); notice && !text.empty()) {
            DrawNoticeText(canvas, *notice, x + notice->x, box->absY + notice->y, text);
        }
    };
    line(panel->captionStyle, field.Caption());
    line(panel->detailStyle, field.CaptionDetail());
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
    for (const auto& field : fields_) {
        add(field->GetTagHandle(), field->Control());
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
    for (const auto& field : fields_) {
        DrawCaption(canvas, *field);
    }
    recommended_.Draw(canvas);
    gasReach_.Draw(canvas);
}

void CParametersPanelView::HideControls() {
    separatorPreset_.Invalidate();
    casingSize_.Invalidate();
    for (const auto& field : fields_) {
        field->Invalidate();
    }
    // A second call while hidden (a tag refresh with a dialog open) would picture the dialog
    // over the panel, so the first picture stays.
    if (!controlsHidden_ || !HasSnapshot()) {
        TakeSnapshot();
    }
    separatorPreset_.Hide();
    casingSize_.Hide();
    for (const auto& field : fields_) {
        field->Hide();
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
    for (const auto& field : fields_) {
        field->Show();
    }
}

void CParametersPanelView::Shutdown() {
    snapshot_ = {};
    separatorPreset_.Shutdown();
    casingSize_.Shutdown();
    for (const auto& field : fields_) {
        field->Shutdown();
    }
    recommended_.Shutdown();
    gasReach_.Shutdown();
    CBaseView::Shutdown();
}

void CParametersPanelView::DescribeState(ViewState& state) const {
    state.emplace_back("controls_hidden", BoolText(controlsHidden_));
    state.emplace_back("snapshot", BoolText(HasSnapshot()));
}
