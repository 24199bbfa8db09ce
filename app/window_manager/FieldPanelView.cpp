#include "app/window_manager/FieldPanelView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/tags/Button.h"
#include "app/tags/ComboBox.h"
#include "app/tags/Image.h"
#include "app/tags/Label.h"
#include "app/tags/ParametersPanel.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/window_manager/NoticeView.h"

#include <algorithm>
#include <tuple>

namespace {
// The lists' native identifiers follow the boxes' after this many.
constexpr int kListIdentifierOffset = 40;

template <class View> void ShutDownAll(std::vector<std::unique_ptr<View>>& views) {
    for (const auto& view : views) {
        view->Shutdown();
    }
    views.clear();
}

template <class View>
View* Named(const std::vector<std::unique_ptr<View>>& views, const std::string& name) {
    for (const auto& view : views) {
        if (view->Name() == name) {
            return view.get();
        }
    }
    return nullptr;
}
} // namespace

void CFieldPanelView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    snapshot_ = {};
    controlsHidden_ = false;
    ShutdownMembers(); // made by Configure, from the panel tag's lists
    Register();
}

void CFieldPanelView::Configure(TagHandle tag) {
    tag_ = tag;
    if (const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag)) {
        ConfigureNamed<CTextEditView, TTextEdit>(fields_, panel->fields, firstIdentifier_);
        ConfigureNamed<CComboBoxView, TComboBox>(lists_, panel->lists,
                                                 firstIdentifier_ + kListIdentifierOffset);
        ConfigureNamed<CButtonView, TButton>(buttons_, panel->buttons, 0);
        ConfigureNamed<CLabelView, TLabel>(labels_, panel->labels, 0);
    }
}

// Views are made anew when the tag's names changed, then configured from their tags.
template <class View, class TagClass>
void CFieldPanelView::ConfigureNamed(std::vector<std::unique_ptr<View>>& views,
                                     const std::vector<TagHandle>& tags, int firstIdentifier) {
    bool same = tags.size() == views.size();
    for (size_t i = 0; same && i < tags.size(); ++i) {
        same = views[i]->Name() == GetTagAs<TagClass>(tags[i])->name;
    }
    if (!same) {
        ShutDownAll(views);
        for (size_t i = 0; i < tags.size(); ++i) {
            auto view = std::make_unique<View>();
            const std::string& name = GetTagAs<TagClass>(tags[i])->name;
            if constexpr (requires { view->Init(window_, name, 0); }) {
                view->Init(window_, name, firstIdentifier + static_cast<int>(i));
            } else {
                view->Init(window_, name);
            }
            views.push_back(std::move(view));
        }
    }
    for (size_t i = 0; i < views.size(); ++i) {
        views[i]->Configure(tags[i]);
    }
    if constexpr (std::is_same_v<View, CButtonView>) {
        if (controlsHidden_) { // a tag refresh under a dialog: the buttons stay deaf
            for (const auto& button : views) {
                button->Deactivate();
            }
        }
    }
}

void CFieldPanelView::ShutdownMembers() {
    ShutDownAll(fields_);
    ShutDownAll(lists_);
    ShutDownAll(buttons_);
    ShutDownAll(labels_);
}

CTextEditView* CFieldPanelView::Field(const std::string& name) const {
    return Named(fields_, name);
}

CComboBoxView* CFieldPanelView::List(const std::string& name) const {
    return Named(lists_, name);
}

CButtonView* CFieldPanelView::Button(const std::string& name) const {
    return Named(buttons_, name);
}

CLabelView* CFieldPanelView::Label(const std::string& name) const {
    return Named(labels_, name);
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
    for (const auto& list : lists_) {
        AddStop(stops, list->GetTagHandle(), list->Control());
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
    for (const auto& label : labels_) {
        label->Draw(canvas);
    }
    for (const auto& button : buttons_) {
        button->Draw(canvas);
    }
    DrawOver(canvas);
}

void CFieldPanelView::HideControls() {
    InvalidateControls();
    for (const auto& field : fields_) {
        field->Invalidate();
    }
    for (const auto& list : lists_) {
        list->Invalidate();
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
    for (const auto& list : lists_) {
        list->Hide();
    }
    for (const auto& button : buttons_) {
        button->Deactivate();
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
    for (const auto& list : lists_) {
        list->Show();
    }
    for (const auto& button : buttons_) {
        button->Activate();
    }
}

void CFieldPanelView::Shutdown() {
    snapshot_ = {};
    ShutdownMembers();
    CBaseView::Shutdown();
}

void CFieldPanelView::DescribeState(ViewState& state) const {
    state.emplace_back("controls_hidden", BoolText(controlsHidden_));
    state.emplace_back("snapshot", BoolText(HasSnapshot()));
}
