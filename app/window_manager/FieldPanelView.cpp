#include "app/window_manager/FieldPanelView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/tags/Image.h"
#include "app/tags/Label.h"
#include "app/tags/ParametersPanel.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/window_manager/NoticeView.h"

#include <algorithm>
#include <tuple>

void CFieldPanelView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    snapshot_ = {};
    controlsHidden_ = false;
    for (const auto& field : fields_) {
        field->Shutdown();
    }
    fields_.clear(); // made by Configure, from the panel tag's list
    Register();
}

void CFieldPanelView::Configure(TagHandle tag) {
    tag_ = tag;
    if (const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag)) {
        ConfigureFields(panel->fields);
    }
}

void CFieldPanelView::ConfigureFields(const std::vector<TagHandle>& tags) {
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
            fields_.back()->Init(window_, names[i], firstIdentifier_ + static_cast<int>(i));
        }
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->Configure(tags[i]);
    }
}

CTextEditView* CFieldPanelView::Field(const std::string& name) const {
    for (const auto& field : fields_) {
        if (field->Name() == name) {
            return field.get();
        }
    }
    return nullptr;
}

void CFieldPanelView::AddStop(std::vector<TabStop>& stops, TagHandle tag, INativeControl* control) {
    if (const auto* placed = dynamic_cast<const TPlaceable*>(GetTag(tag)); placed && control) {
        stops.push_back({placed->absY, placed->absX, control});
    }
}

std::vector<TabStop> CFieldPanelView::TabStops() const {
    std::vector<TabStop> stops;
    for (const auto& field : fields_) {
        AddStop(stops, field->GetTagHandle(), field->Control());
    }
    std::stable_sort(stops.begin(), stops.end(), [](const TabStop& a, const TabStop& b) {
        return std::tie(a.y, a.x) < std::tie(b.y, b.x);
    });
    return stops;
}

// The caption's two lines left of the box, in the panel's caption and detail styles.
void CFieldPanelView::DrawCaption(ICanvas& canvas, const CTextEditView& field) const {
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

void CFieldPanelView::Draw(ICanvas& canvas) const {
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
    DrawOver(canvas);
}

void CFieldPanelView::HideControls() {
    InvalidateControls();
    for (const auto& field : fields_) {
        field->Invalidate();
    }
    // A second call while hidden (a tag refresh with a dialog open) would picture the dialog
    // over the panel, so the first picture stays.
    if (!controlsHidden_ || !HasSnapshot()) {
        TakeSnapshot();
    }
    SetControlsVisible(false);
    for (const auto& field : fields_) {
        field->Hide();
    }
    controlsHidden_ = true;
}

void CFieldPanelView::TakeSnapshot() {
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

void CFieldPanelView::ShowControls() {
    snapshot_ = {};
    controlsHidden_ = false;
    SetControlsVisible(true);
    for (const auto& field : fields_) {
        field->Show();
    }
}

void CFieldPanelView::Shutdown() {
    snapshot_ = {};
    for (const auto& field : fields_) {
        field->Shutdown();
    }
    fields_.clear();
    CBaseView::Shutdown();
}

void CFieldPanelView::DescribeState(ViewState& state) const {
    state.emplace_back("controls_hidden", BoolText(controlsHidden_));
    state.emplace_back("snapshot", BoolText(HasSnapshot()));
}
