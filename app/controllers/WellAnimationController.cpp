#include "app/controllers/WellAnimationController.h"

#include "app/model/NumberFormat.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/DimensionLineView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/ViewNames.h"
#include "app/window_manager/WindowManager.h"

namespace {
// Each dimension line and the field whose focus shows it, in the order the values are set.
struct DimensionLine {
    const char* line;
    const char* field;
};
constexpr DimensionLine kLines[CWellAnimationController::kLineCount] = {
    {ViewName::kCasingDimLine, ViewName::kCasingSize},
    {ViewName::kSeparatorODDimLine, ViewName::kSeparatorOD},
    {ViewName::kSeparatorIDDimLine, ViewName::kSeparatorID},
    {ViewName::kDipTubeODDimLine, ViewName::kDipTubeOD},
    {ViewName::kDipTubeIDDimLine, ViewName::kDipTubeID},
    {ViewName::kDipTubeLengthDimLine, ViewName::kDipTubeLength},
};

template <class T> T* Find(const std::string& name) {
    return FindViewOf<T>(name);
}

CDimensionLineView* Line(int index) {
    return Find<CDimensionLineView>(kLines[index].line);
}

// The intake valve opens only once the plunger has left the bottom of its stroke.
constexpr double kIntakeOpenPosition = 0.05;
} // namespace

void CWellAnimationController::Initialise() {
    SubscribeEvent(EventName::kSimulationFrameUpdated, this,
                   &CWellAnimationController::OnSimulationFrameUpdated);
    SubscribeEvent(EventName::kWellParametersUpdated, this,
                   &CWellAnimationController::OnWellParametersUpdated);
    SubscribeEvent(EventName::kSeparatorPresetChanged, this,
                   &CWellAnimationController::OnSeparatorPresetChanged);
    for (int line = 0; line < kLineCount; ++line) {
        SubscribeEvent(FocusEvent(kLines[line].field), this, [this, line] { Show(line); });
        SubscribeEvent(LoseFocusEvent(kLines[line].field), this, [this, line] { Hide(line); });
    }
    SubscribeEvent(EventName::kShowDimensions, this, &CWellAnimationController::OnShowDimensions);
    SubscribeEvent(EventName::kHideDimensions, this, &CWellAnimationController::OnHideDimensions);
    // Reloading the tags resets every label to its default text; the lines must go on showing
    // the model's dimensions, not the designer's sample values.
    SubscribeEvent(EventName::kTagsReloaded, this,
                   &CWellAnimationController::OnWellParametersUpdated);
    OnWellParametersUpdated();
    for (int line = 0; line < kLineCount; ++line) {
        Flash(line);
    }
}

void CWellAnimationController::Show(int line) {
    if (CDimensionLineView* view = Line(line)) {
        view->Show();
    }
}

void CWellAnimationController::Hide(int line) {
    CDimensionLineView* view = Line(line);
    if (view && !pinned_) {
        view->Hide();
    }
}

void CWellAnimationController::Flash(int line) {
    CDimensionLineView* view = Line(line);
    if (view && !pinned_) {
        view->Flash();
    }
}

void CWellAnimationController::OnWellParametersUpdated() {
    const CGasSeparatorModel* model = RequireModel("showing the dimensions");
    if (!model) {
        return;
    }
    const WellParameters& p = model->GetParameters();
    const double values[kLineCount] = {p.GetCasingSize(), p.GetSeparatorOD(), p.GetSeparatorID(),
                                       p.GetDipTubeOD(),  p.GetDipTubeID(),   p.GetDipTubeLength()};
    for (int line = 0; line < kLineCount; ++line) {
        if (CDimensionLineView* view = Line(line)) {
            view->SetValue(FormatNumber(values[line]));
        }
    }
}

void CWellAnimationController::OnSeparatorPresetChanged() {
    for (int line = 1; line < kLineCount; ++line) {
        Flash(line);
    }
}

void CWellAnimationController::OnShowDimensions() {
    for (int line = 0; line < kLineCount; ++line) {
        Show(line);
    }
    pinned_ = true;
}

void CWellAnimationController::OnHideDimensions() {
    pinned_ = false;
    for (int line = 0; line < kLineCount; ++line) {
        Hide(line);
    }
}

void CWellAnimationController::OnSimulationFrameUpdated() {
    const CGasSeparatorModel* model = RequireModel("feeding the well picture");
    CGasSeparatorView* view = Find<CGasSeparatorView>(ViewName::kGasSeparator);
    if (view && model) {
        Feed(*view, *model);
    }
}

// Speeds in pixels per second; the dip tube's drawn length sets the scale for inches.
void CWellAnimationController::Feed(CGasSeparatorView& view, const CGasSeparatorModel& model) {
    const SimulationState& state = model.GetState();
    const WellParameters& parameters = model.GetParameters();
    const double length = parameters.GetDipTubeLength();
    // A dip tube of no length has no scale; nothing moves rather than dividing by zero.
    const double k = length > 0 ? view.DipTubeLengthPixels() / length : 0.0;
    const double riseSpeed = parameters.GetGasBubbleRiseVelocity() * k;
    view.SetPlungerPosition(state.plungerPosition);
    view.SetGasPenetration(state.gasPenetrationFraction);
    view.SetBubbleRiseSpeed(riseSpeed);
    view.SetAnnulusBubbleSpeed(state.annulusBubbleVelocity * k);
    if (state.plungerVelocity > 0) {
        view.SetDipTubeBubbleSpeed(state.dipTubeBubbleVelocity * k);
        view.SetPlungerFluidSpeed(state.plungerVelocity * view.PlungerStrokePixels());
        view.SetDipTubeFluidSpeed(state.dipTubeLiquidVelocity * k);
        view.SetAnnulusFluidSpeed(-state.annulusLiquidVelocity * k);
        if (state.plungerPosition > kIntakeOpenPosition) {
            view.OpenIntakeValve();
        }
        view.ClosePlungerValve();
    } else {
        view.SetDipTubeBubbleSpeed(riseSpeed);
        view.SetPlungerFluidSpeed(0);
        view.SetDipTubeFluidSpeed(0);
        view.SetAnnulusFluidSpeed(0);
        view.CloseIntakeValve();
        view.OpenPlungerValve();
    }
    view.RefreshDipTube();
}
