#include "app/window_manager/AppView.h"

#include <algorithm>

#include "app/platform/Canvas.h"
#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/tags/App.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/tags/Warning.h"

CAppView::CAppView() : dialogs_{&contact_, &help_, &savePreset_} {
    children_ = {
        {&headerBar_, ViewName::kHeaderBar, &TApp::headerBar},
        {&buttonBar_, ViewName::kButtonBar, &TApp::buttonBar},
        {&parametersPanel_, ViewName::kParametersPanel, &TApp::parametersPanel},
        {&flowPanel_, ViewName::kFlowPanel, &TApp::flowPanel},
        {&gasSeparator_, ViewName::kGasSeparator, &TApp::gasSeparator},
        // Over the panel and the well, under the warnings and the dialogs.
        {&aboveCapacity_, ViewName::kAboveCapacityNotice, &TApp::aboveCapacityNotice},
        {&contact_, ViewName::kContactDialog, &TApp::contactDialog},
        {&help_, ViewName::kHelpDialog, &TApp::helpDialog},
        {&savePreset_, ViewName::kSavePresetDialog, &TApp::savePresetDialog},
    };
}

void CAppView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    interactive_ = true;
    for (const auto& warning : warnings_) {
        warning->Shutdown();
    }
    warnings_.clear(); // made by Configure, from the root tag's list
    for (const Child& child : children_) {
        child.view->Init(window, child.name);
    }
    Register(); // after all the children
}

void CAppView::Configure(TagHandle tag) {
    tag_ = tag;
    const TApp* app = GetTagAs<TApp>(tag);
    if (!app) {
        return;
    }
    for (const Child& child : children_) {
        child.view->Configure(app->*child.tag);
    }
    ConfigureWarnings(*app);
    ChainTabOrder();
    if (!interactive_) { // a reload while a dialog is open keeps them hidden
        parametersPanel_.HideControls();
        flowPanel_.HideControls();
    }
}

void CAppView::Render() {
    if (!window_) {
        return;
    }
    ICanvas& canvas = window_->BackBuffer();
    if (!window_->IsShowing()) {
        canvas.InvalidateAll(); // nothing is drawn; the window comes back with a whole frame
        return;
    }
    LayOutWarnings();
    if (panelsStale_) {
        RepicturePanels(canvas);
    }
    canvas.BeginFrame();
    Draw(canvas);
    window_->Present(canvas.EndFrame());
}

// Shows the panels' controls over a frame drawn without the dialogs, pictures the panels as they
// are now and hides the controls again; the frame after it draws the dialogs over the pictures.
void CAppView::RepicturePanels(ICanvas& canvas) {
    panelsStale_ = false;
    parametersPanel_.ShowControls();
    flowPanel_.ShowControls();
    canvas.InvalidateAll();
    canvas.BeginFrame();
    DrawScene(canvas);
    window_->Present(canvas.EndFrame());
    parametersPanel_.HideControls();
    flowPanel_.HideControls();
    canvas.InvalidateAll();
}

void CAppView::DrawScene(ICanvas& canvas) const {
    const TApp* app = GetTagAs<TApp>(tag_);
    if (!app) {
        return;
    }
    if (const TImage* background = GetTagAs<TImage>(app->backgroundImage)) {
        canvas.CopyImage(background->PictureFor(canvas.Scale()), app->absX, app->absY);
    }
    for (const Child& child : children_) {
        if (!IsDialog(child.view)) {
            child.view->Draw(canvas);
        }
    }
    for (const auto& warning : warnings_) {
        warning->Draw(canvas);
    }
}

void CAppView::Draw(ICanvas& canvas) const {
    DrawScene(canvas);
    std::array<const CDialogView*, 3> dialogs = {dialogs_[0], dialogs_[1], dialogs_[2]};
    std::sort(dialogs.begin(), dialogs.end(), [](const CDialogView* a, const CDialogView* b) {
        return a->OpenOrder() < b->OpenOrder();
    });
    for (const CDialogView* dialog : dialogs) {
        dialog->Draw(canvas); // a closed one draws nothing
    }
}

CDialogView* CAppView::TopDialog() const {
    CDialogView* top = nullptr;
    for (CDialogView* dialog : dialogs_) {
        if (dialog->IsOpen() && (!top || dialog->OpenOrder() > top->OpenOrder())) {
            top = dialog;
        }
    }
    return top;
}

void CAppView::ConfigureWarnings(const TApp& app) {
    std::vector<std::string> names;
    for (const TagHandle handle : app.warnings) {
        names.push_back(GetTagAs<TWarning>(handle)->name);
    }
    bool same = names.size() == warnings_.size();
    for (size_t i = 0; same && i < names.size(); ++i) {
        same = warnings_[i]->Name() == names[i];
    }
    if (!same) {
        for (const auto& warning : warnings_) {
            warning->Shutdown();
        }
        warnings_.clear();
        for (const std::string& name : names) {
            warnings_.push_back(std::make_unique<CWarningView>());
            warnings_.back()->Init(window_, name);
        }
    }
    for (size_t i = 0; i < warnings_.size(); ++i) {
        warnings_[i]->Configure(app.warnings[i]);
    }
}

namespace {
bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}
} // namespace

// Each card is first put where its tag puts it (its pointer at its field); a card that would
// cover one placed before it goes just below that one instead.
void CAppView::LayOutWarnings() {
    constexpr int kGap = 2;
    std::vector<CWarningView*> shown;
    for (const auto& warning : warnings_) {
        warning->SetShift(0);
        if (warning->IsVisible() && !warning->Bounds().IsEmpty()) {
            shown.push_back(warning.get());
        }
    }
    std::stable_sort(shown.begin(), shown.end(), [](const CWarningView* a, const CWarningView* b) {
        return a->Bounds().y < b->Bounds().y;
    });
    std::vector<PixelRect> placed;
    for (CWarningView* warning : shown) {
        PixelRect bounds = warning->Bounds();
        for (bool moved = true; moved;) {
            moved = false;
            for (const PixelRect& other : placed) {
                if (Overlap(bounds, other)) {
                    bounds.y = other.y + other.height + kGap;
                    moved = true;
                }
            }
        }
        warning->SetShift(bounds.y - warning->Bounds().y);
        placed.push_back(bounds);
    }
}

CWarningView* CAppView::Warning(const std::string& name) const {
    for (const auto& warning : warnings_) {
        if (warning->Name() == name) {
            return warning.get();
        }
    }
    return nullptr;
}

CDialogView* CAppView::Dialog(const std::string& name) const {
    for (CDialogView* dialog : dialogs_) {
        if (dialog->Name() == name) {
            return dialog;
        }
    }
    return nullptr;
}

bool CAppView::IsDialog(const CBaseView* view) const {
    return std::find(dialogs_.begin(), dialogs_.end(), view) != dialogs_.end();
}

void CAppView::Shutdown() {
    for (const Child& child : children_) {
        child.view->Shutdown();
    }
    for (const auto& warning : warnings_) {
        warning->Shutdown();
    }
    warnings_.clear();
    CBaseView::Shutdown();
}

void CAppView::SuspendInteraction() {
    interactive_ = false;
    parametersPanel_.HideControls();
    flowPanel_.HideControls();
}

void CAppView::ResumeInteraction() {
    interactive_ = true;
    parametersPanel_.ShowControls();
    flowPanel_.ShowControls();
}

CTextEditView* CAppView::Field(const std::string& name) const {
    CTextEditView* field = parametersPanel_.Field(name);
    return field ? field : flowPanel_.Field(name);
}

CComboBoxView* CAppView::List(const std::string& name) const {
    CComboBoxView* list = parametersPanel_.List(name);
    return list ? list : flowPanel_.List(name);
}

CButtonView* CAppView::PanelButton(const std::string& name) const {
    CButtonView* button = parametersPanel_.Button(name);
    return button ? button : flowPanel_.Button(name);
}

CLabelView* CAppView::Label(const std::string& name) const {
    CLabelView* label = parametersPanel_.Label(name);
    return label ? label : flowPanel_.Label(name);
}

void CAppView::ChainTabOrder() {
    std::vector<TabStop> stops = parametersPanel_.TabStops();
    for (const TabStop& stop : flowPanel_.TabStops()) {
        stops.push_back(stop);
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        stops[i].control->SetTabOrderAfter(*stops[i - 1].control);
    }
}

void CAppView::DescribeState(ViewState& state) const {
    state.emplace_back("interactive", BoolText(interactive_));
}
