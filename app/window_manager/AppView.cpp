#include "app/window_manager/AppView.h"

#include "app/ViewNames.h"
#include "app/platform/Canvas.h"
#include "app/platform/Window.h"
#include "app/tags/App.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"

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

namespace {
// The warnings' drawing order, as indices into kWarningNames.
constexpr std::array<int, CAppView::kWarningCount> kWarningDrawOrder = {0, 8, 11, 7, 2, 1,
                                                                        5, 6, 4,  3, 9, 10};
} // namespace

void CAppView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    interactive_ = true;
    buttonBar_.Init(window, ViewName::kButtonBar);
    gasSeparator_.Init(window, ViewName::kGasSeparator);
    headerBar_.Init(window, ViewName::kHeaderBar);
    parametersPanel_.Init(window, ViewName::kParametersPanel);
    for (int i = 0; i < kWarningCount; ++i) {
        warnings_[i].Init(window, kWarningNames[i]);
    }
    contact_.Init(window, ViewName::kContactDialog);
    help_.Init(window, ViewName::kHelpDialog);
    savePreset_.Init(window, ViewName::kSavePresetDialog);
    Register();
}

void CAppView::Configure(TagHandle tag) {
    tag_ = tag;
    const TApp* app = GetTagAs<TApp>(tag);
    if (!app) {
        return;
    }
    buttonBar_.Configure(app->buttonBar);
    gasSeparator_.Configure(app->gasSeparator);
    headerBar_.Configure(app->headerBar);
    parametersPanel_.Configure(app->parametersPanel);
    if (!interactive_) {
        parametersPanel_.HideControls(); // a reload while a dialog is open keeps them hidden
    }
    const std::vector<TagHandle> warnings = app->Warnings();
    for (int i = 0; i < kWarningCount && i < static_cast<int>(warnings.size()); ++i) {
        warnings_[i].Configure(warnings[i]);
    }
    contact_.Configure(app->contactDialog);
    help_.Configure(app->helpDialog);
    savePreset_.Configure(app->savePresetDialog);
}

void CAppView::Render() {
    if (!window_) {
        return;
    }
    Draw(window_->BackBuffer());
    window_->Present();
}

void CAppView::Draw(ICanvas& canvas) const {
    const TApp* app = GetTagAs<TApp>(tag_);
    if (!app) {
        return;
    }
    if (const TImage* background = GetTagAs<TImage>(app->backgroundImage)) {
        canvas.CopyImage({background->bitmap.data(), background->width, background->height,
                          background->width * 4},
                         app->absX, app->absY);
    }
    headerBar_.Draw(canvas);
    buttonBar_.Draw(canvas);
    parametersPanel_.Draw(canvas);
    gasSeparator_.Draw(canvas);
    for (int index : kWarningDrawOrder) {
        warnings_[index].Draw(canvas);
    }
    contact_.Draw(canvas);
    help_.Draw(canvas);
    savePreset_.Draw(canvas);
}

void CAppView::Shutdown() {
    buttonBar_.Shutdown();
    gasSeparator_.Shutdown();
    headerBar_.Shutdown();
    parametersPanel_.Shutdown();
    for (CWarningView& warning : warnings_) {
        warning.Shutdown();
    }
    contact_.Shutdown();
    help_.Shutdown();
    savePreset_.Shutdown();
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
