#include "app/window_manager/AppView.h"

#include <algorithm>

#include "app/platform/Canvas.h"
#include "app/platform/Window.h"
#include "app/tags/App.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/ViewNames.h"

const std::array<const char*, CAppView::kWarningCount> CAppView::kWarningNames = {
    ViewName::kMaxCapacityWarning,
    ViewName::kDipTubeDiameterWarning,
    ViewName::kDipTubeLengthWarning,
    ViewName::kSeparatorDiameterWarning,
    ViewName::kSeparatorInnerDiameterWarning,
    ViewName::kDipTubeIDRangeWarning,
    ViewName::kDipTubeODRangeWarning,
    ViewName::kGasBubbleVelocityRangeWarning,
    ViewName::kProductionRateRangeWarning,
    ViewName::kSeparatorIDRangeWarning,
    ViewName::kSeparatorODRangeWarning,
    ViewName::kSPMRangeWarning,
};

CAppView::CAppView() : dialogs_{&contact_, &help_, &savePreset_} {
    children_ = {
        {&buttonBar_, ViewName::kButtonBar, &TApp::buttonBar, 1},
        {&gasSeparator_, ViewName::kGasSeparator, &TApp::gasSeparator, 3},
        {&headerBar_, ViewName::kHeaderBar, &TApp::headerBar, 0},
        {&parametersPanel_, ViewName::kParametersPanel, &TApp::parametersPanel, 2},
        {&warnings_[0], kWarningNames[0], &TApp::maxCapacityWarning, 4},
        {&warnings_[1], kWarningNames[1], &TApp::dipTubeDiameterWarning, 9},
        {&warnings_[2], kWarningNames[2], &TApp::dipTubeLengthWarning, 8},
        {&warnings_[3], kWarningNames[3], &TApp::separatorDiameterWarning, 13},
        {&warnings_[4], kWarningNames[4], &TApp::separatorInnerDiameterWarning, 12},
        {&warnings_[5], kWarningNames[5], &TApp::dipTubeIdRangeWarning, 10},
        {&warnings_[6], kWarningNames[6], &TApp::dipTubeOdRangeWarning, 11},
        {&warnings_[7], kWarningNames[7], &TApp::gasBubbleVelocityRangeWarning, 7},
        {&warnings_[8], kWarningNames[8], &TApp::productionRateRangeWarning, 5},
        {&warnings_[9], kWarningNames[9], &TApp::separatorIdRangeWarning, 14},
        {&warnings_[10], kWarningNames[10], &TApp::separatorOdRangeWarning, 15},
        {&warnings_[11], kWarningNames[11], &TApp::spmRangeWarning, 6},
        {&contact_, ViewName::kContactDialog, &TApp::contactDialog, 16},
        {&help_, ViewName::kHelpDialog, &TApp::helpDialog, 17},
        {&savePreset_, ViewName::kSavePresetDialog, &TApp::savePresetDialog, 18},
        // Drawn over the panel and the capacity warning, under the other warnings and dialogs.
        {&aboveCapacity_, ViewName::kAboveCapacityNotice, &TApp::aboveCapacityNotice, 4},
    };
    std::vector<Child> byRank = children_;
    std::stable_sort(byRank.begin(), byRank.end(),
                     [](const Child& a, const Child& b) { return a.drawRank < b.drawRank; });
    for (const Child& child : byRank) {
        if (std::find(dialogs_.begin(), dialogs_.end(), child.view) == dialogs_.end()) {
            drawOrder_.push_back(child.view);
        }
    }
}

void CAppView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    interactive_ = true;
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
    if (!interactive_) {
        parametersPanel_.HideControls(); // a reload while a dialog is open keeps them hidden
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
    canvas.BeginFrame();
    Draw(canvas);
    window_->Present(canvas.EndFrame());
}

void CAppView::Draw(ICanvas& canvas) const {
    const TApp* app = GetTagAs<TApp>(tag_);
    if (!app) {
        return;
    }
    if (const TImage* background = GetTagAs<TImage>(app->backgroundImage)) {
        canvas.CopyImage(background->Picture(), app->absX, app->absY);
    }
    for (const CBaseView* child : drawOrder_) {
        child->Draw(canvas);
    }
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

void CAppView::Shutdown() {
    for (const Child& child : children_) {
        child.view->Shutdown();
    }
    CBaseView::Shutdown();
}

void CAppView::SuspendInteraction() {
    interactive_ = false;
    parametersPanel_.HideControls();
}

void CAppView::ResumeInteraction() {
    interactive_ = true;
    parametersPanel_.ShowControls();
}

void CAppView::DescribeState(ViewState& state) const {
    state.emplace_back("interactive", BoolText(interactive_));
}
