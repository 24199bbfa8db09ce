#include "app/PumpController.h"

#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/WindowManager.h"

namespace {
CButtonBarView* ButtonBar() {
    return gWindowManager ? gWindowManager->FindViewAs<CButtonBarView>("Button Bar") : nullptr;
}

void SetDimensionsShown(bool shown) {
    if (CButtonBarView* bar = ButtonBar()) {
        bar->SetDimensionsShown(shown);
    }
}
} // namespace

void CPumpController::Initialise() {
    SubscribeEvent("Pump Start", this, &CPumpController::OnPumpStart);
    SubscribeEvent("Pump Stop", this, &CPumpController::OnPumpStop);
    SubscribeEvent("Show Dimensions", this, &CPumpController::OnShowDimensions);
    SubscribeEvent("Hide Dimensions", this, &CPumpController::OnHideDimensions);
    SubscribeEvent("SimulationFrameUpdated", this, &CPumpController::OnSimulationFrameUpdated);
    SetDimensionsShown(false);
}

// The running flag is written in place: no event, no reset of the simulation.
void CPumpController::OnPumpStart() {
    if (gGasSeparatorModel && !gGasSeparatorModel->GetParameters().GetPumpRunning()) {
        gGasSeparatorModel->GetParameters().SetPumpRunning(true);
    }
}

void CPumpController::OnPumpStop() {
    if (gGasSeparatorModel && gGasSeparatorModel->GetParameters().GetPumpRunning()) {
        gGasSeparatorModel->GetParameters().SetPumpRunning(false);
    }
}

void CPumpController::OnShowDimensions() {
    SetDimensionsShown(true);
}

void CPumpController::OnHideDimensions() {
    SetDimensionsShown(false);
}

void CPumpController::OnSimulationFrameUpdated() {
    CButtonBarView* bar = ButtonBar();
    if (gGasSeparatorModel && bar) {
        bar->SetPumpRunning(gGasSeparatorModel->GetParameters().GetPumpRunning());
    }
}
