#include "app/controllers/WellAnimationController.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterTable.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/DimensionLineView.h"
#include "app/window_manager/GasSeparatorView.h"

namespace {
// The intake valve opens only once the plunger has left the bottom of its stroke.
constexpr double kIntakeOpenPosition = 0.05;
} // namespace

CWellAnimationController::CWellAnimationController(const CGasSeparatorModel& model,
                                                   CGasSeparatorView& well)
    : model_(model), well_(well) {}

void CWellAnimationController::Initialise() {
    for (const ParameterEntry& parameter : Parameters()) {
        for (int i = 0; *parameter.dimensionLine && i < CGasSeparatorView::kDimensionLineCount;
             ++i) {
            if (well_.DimensionLine(i).Name() == parameter.dimensionLine) {
                lines_.push_back({&parameter, &well_.DimensionLine(i)});
            }
        }
    }
    SubscribeEvent(EventName::kSimulationFrameUpdated, this,
                   &CWellAnimationController::OnSimulationFrameUpdated);
    SubscribeEvent(EventName::kWellParametersUpdated, this,
                   &CWellAnimationController::OnWellParametersUpdated);
    SubscribeEvent(EventName::kSeparatorPresetChanged, this,
                   &CWellAnimationController::OnSeparatorPresetChanged);
    for (const Line& line : lines_) {
        SubscribeEvent(FocusEvent(line.parameter->field), this, [this, line] { Show(line); });
        SubscribeEvent(LoseFocusEvent(line.parameter->field), this, [this, line] { Hide(line); });
    }
    SubscribeEvent(EventName::kUnitsChanged, this,
                   &CWellAnimationController::OnWellParametersUpdated);
    SubscribeEvent(EventName::kShowDimensions, this, &CWellAnimationController::OnShowDimensions);
    SubscribeEvent(EventName::kHideDimensions, this, &CWellAnimationController::OnHideDimensions);
    // Reloading the tags resets every label to its default text; the lines must go on showing
    // the model's dimensions, not the designer's sample values.
    SubscribeEvent(EventName::kTagsReloaded, this,
                   &CWellAnimationController::OnWellParametersUpdated);
    OnWellParametersUpdated();
    for (const Line& line : lines_) {
        Flash(line);
    }
}

void CWellAnimationController::Show(const Line& line) {
    line.view->Show();
}

void CWellAnimationController::Hide(const Line& line) {
    if (!pinned_) {
        line.view->Hide();
    }
}

void CWellAnimationController::Flash(const Line& line) {
    if (!pinned_) {
        line.view->Flash();
    }
}

void CWellAnimationController::OnWellParametersUpdated() {
    const WellParameters& p = model_.GetParameters();
    const UnitSystem units = model_.GetUnitSystem();
    for (const Line& line : lines_) {
        const double value = line.parameter->Get(p);
        // Inches carry the tag's inch mark, as they always have; other units are written out.
        if (units == UnitSystem::Oilfield) {
            line.view->SetValue(FormatNumber(value));
        } else {
            line.view->SetValue(FormatShown(value, line.parameter->quantity, units),
                                line.parameter->UnitIn(units).symbol);
        }
    }
}

// A preset changes the separator's dimensions, not the casing.
void CWellAnimationController::OnSeparatorPresetChanged() {
    for (const Line& line : lines_) {
        if (line.parameter->inPresets) {
            Flash(line);
        }
    }
}

void CWellAnimationController::OnShowDimensions() {
    for (const Line& line : lines_) {
        Show(line);
    }
    pinned_ = true;
}

void CWellAnimationController::OnHideDimensions() {
    pinned_ = false;
    for (const Line& line : lines_) {
        Hide(line);
    }
}

void CWellAnimationController::OnSimulationFrameUpdated() {
    Feed();
}

// Speeds in pixels per second; the dip tube's drawn length sets the scale for inches.
void CWellAnimationController::Feed() {
    CGasSeparatorView& view = well_;
    const SimulationState& state = model_.GetState();
    const WellParameters& parameters = model_.GetParameters();
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
