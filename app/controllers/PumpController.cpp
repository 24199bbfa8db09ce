#include "app/controllers/PumpController.h"

#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/ViewNames.h"
#include "app/window_manager/WindowManager.h"

namespace {
CButtonBarView* ButtonBar() {
    return FindViewOf<CButtonBarView>(ViewName::kButtonBar);
}

void SetDimensionsShown(bool shown) {
    if (CButtonBarView* bar = ButtonBar()) {
        bar->SetDimensionsShown(shown);
    }
}
} // namespace

void CPumpController::Initialise() {
    SubscribeEvent(EventName::kPumpStart, this, &CPumpController::OnPumpStart);
    SubscribeEvent(EventName::kPumpStop, this, &CPumpController::OnPumpStop);
    SubscribeEvent(EventName::kShowDimensions, this, &CPumpController::OnShowDimensions);
    SubscribeEvent(EventName::kHideDimensions, this, &CPumpController::OnHideDimensions);
    SubscribeEvent(EventName::kSimulationFrameUpdated, this,
                   &CPumpController::OnSimulationFrameUpdated);
    SetDimensionsShown(false);
}

// The running flag is written in place: no event, no reset of the simulation.
void CPumpController::OnPumpStart() {
    CGasSeparatorModel* model = RequireModel("starting the pump");
    if (model && !model->GetParameters().GetPumpRunning()) {
        model->GetParameters().SetPumpRunning(true);
    }
}

void CPumpController::OnPumpStop() {
    CGasSeparatorModel* model = RequireModel("stopping the pump");
    if (model && model->GetParameters().GetPumpRunning()) {
        model->GetParameters().SetPumpRunning(false);
    }
}

void CPumpController::OnShowDimensions() {
    SetDimensionsShown(true);
}

void CPumpController::OnHideDimensions() {
    SetDimensionsShown(false);
}

void CPumpController::OnSimulationFrameUpdated() {
    CGasSeparatorModel* model = RequireModel("showing the pump state");
    CButtonBarView* bar = ButtonBar();
    if (model && bar) {
        bar->SetPumpRunning(model->GetParameters().GetPumpRunning());
    }
}
