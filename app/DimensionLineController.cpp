#include "app/DimensionLineController.h"

#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/NumberFormat.h"
#include "app/window_manager/DimensionLineView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/WindowManager.h"

const char* const CDimensionLineController::kLineNames[kLineCount] = {
    "Casing Dim Line",      "Separator OD Dim Line", "Separator ID Dim Line",
    "Dip Tube OD Dim Line", "Dip Tube ID Dim Line",  "Dip Tube Length Dim Line"};

namespace {
template <class T> T* Find(const std::string& name) {
    return gWindowManager ? gWindowManager->FindViewAs<T>(name) : nullptr;
}

CDimensionLineView* Line(int index) {
    return Find<CDimensionLineView>(CDimensionLineController::kLineNames[index]);
}

// The intake valve opens only once the plunger has left the bottom of its stroke.
constexpr double kIntakeOpenPosition = 0.05;

using Handler = void (CDimensionLineController::*)();
struct FocusEvents {
    const char* focus;
    Handler onFocus;
    const char* loseFocus;
    Handler onLoseFocus;
};

constexpr FocusEvents kFocusEvents[] = {
    {"Casing Size Focus", &CDimensionLineController::OnCasingSizeFocus, "Casing Size Lose Focus",
     &CDimensionLineController::OnCasingSizeLoseFocus},
    {"Separator OD Focus", &CDimensionLineController::OnSeparatorOdFocus, "Separator OD Lose Focus",
     &CDimensionLineController::OnSeparatorOdLoseFocus},
    {"Separator ID Focus", &CDimensionLineController::OnSeparatorIdFocus, "Separator ID Lose Focus",
     &CDimensionLineController::OnSeparatorIdLoseFocus},
    {"Dip Tube OD Focus", &CDimensionLineController::OnDipTubeOdFocus, "Dip Tube OD Lose Focus",
     &CDimensionLineController::OnDipTubeOdLoseFocus},
    {"Dip Tube ID Focus", &CDimensionLineController::OnDipTubeIdFocus, "Dip Tube ID Lose Focus",
     &CDimensionLineController::OnDipTubeIdLoseFocus},
    {"Dip Tube Length Focus", &CDimensionLineController::OnDipTubeLengthFocus,
     "Dip Tube Length Lose Focus", &CDimensionLineController::OnDipTubeLengthLoseFocus},
};
} // namespace

void CDimensionLineController::Initialise() {
    SubscribeEvent("SimulationFrameUpdated", this,
                   &CDimensionLineController::OnSimulationFrameUpdated);
    SubscribeEvent("WellParametersUpdated", this,
                   &CDimensionLineController::OnWellParametersUpdated);
    SubscribeEvent("Separator Preset Changed", this,
                   &CDimensionLineController::OnSeparatorPresetChanged);
    for (const FocusEvents& events : kFocusEvents) {
        SubscribeEvent(events.focus, this, events.onFocus);
        SubscribeEvent(events.loseFocus, this, events.onLoseFocus);
    }
    SubscribeEvent("Show Dimensions", this, &CDimensionLineController::OnShowDimensions);
    SubscribeEvent("Hide Dimensions", this, &CDimensionLineController::OnHideDimensions);
    // Reloading the tags resets every label to its default text; the lines must go on showing
    // the model's dimensions, not the designer's sample values.
    SubscribeEvent("Tags Reloaded", this, &CDimensionLineController::OnWellParametersUpdated);
    OnWellParametersUpdated();
    for (int line = 0; line < kLineCount; ++line) {
        Flash(line);
    }
}

void CDimensionLineController::Show(int line) {
    if (CDimensionLineView* view = Line(line)) {
        view->Show();
    }
}

void CDimensionLineController::Hide(int line) {
    CDimensionLineView* view = Line(line);
    if (view && !pinned_) {
        view->Hide();
    }
}

void CDimensionLineController::Flash(int line) {
    CDimensionLineView* view = Line(line);
    if (view && !pinned_) {
        view->Flash();
    }
}

void CDimensionLineController::OnWellParametersUpdated() {
    if (!gGasSeparatorModel) {
        return;
    }
    const WellParameters& p = gGasSeparatorModel->GetParameters();
    const double values[kLineCount] = {p.GetCasingSize(), p.GetSeparatorOD(), p.GetSeparatorID(),
                                       p.GetDipTubeOD(),  p.GetDipTubeID(),   p.GetDipTubeLength()};
    for (int line = 0; line < kLineCount; ++line) {
        if (CDimensionLineView* view = Line(line)) {
            view->SetValue(FormatNumber(values[line]));
        }
    }
}

void CDimensionLineController::OnSeparatorPresetChanged() {
    for (int line = 1; line < kLineCount; ++line) {
        Flash(line);
    }
}

void CDimensionLineController::OnShowDimensions() {
    for (int line = 0; line < kLineCount; ++line) {
        Show(line);
    }
    pinned_ = true;
}

void CDimensionLineController::OnHideDimensions() {
    pinned_ = false;
    for (int line = 0; line < kLineCount; ++line) {
        Hide(line);
    }
}

void CDimensionLineController::OnSimulationFrameUpdated() {
    CGasSeparatorView* view = Find<CGasSeparatorView>("Gas Separator");
    if (view && gGasSeparatorModel) {
        Feed(*view);
    }
}

// Speeds in pixels per second; the dip tube's drawn length sets the scale for inches.
void CDimensionLineController::Feed(CGasSeparatorView& view) {
    const SimulationState& state = gGasSeparatorModel->GetState();
    const WellParameters& parameters = gGasSeparatorModel->GetParameters();
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
