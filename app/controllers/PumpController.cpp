#include "app/controllers/PumpController.h"

#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/ButtonBarView.h"

void CPumpController::Initialise() {
    SubscribeEvent(EventName::kPumpStart, this, &CPumpController::OnPumpStart);
    SubscribeEvent(EventName::kPumpStop, this, &CPumpController::OnPumpStop);
    SubscribeEvent(EventName::kShowDimensions, this, &CPumpController::OnShowDimensions);
    SubscribeEvent(EventName::kHideDimensions, this, &CPumpController::OnHideDimensions);
    SubscribeEvent(EventName::kSimulationFrameUpdated, this,
                   &CPumpController::OnSimulationFrameUpdated);
    bar_.SetDimensionsShown(false);
}

// The running flag is written in place: no event, no reset of the simulation.
void CPumpController::OnPumpStart() {
    model_.GetParameters().SetPumpRunning(true);
}

void CPumpController::OnPumpStop() {
    model_.GetParameters().SetPumpRunning(false);
}

void CPumpController::OnShowDimensions() {
    bar_.SetDimensionsShown(true);
}

void CPumpController::OnHideDimensions() {
    bar_.SetDimensionsShown(false);
}

void CPumpController::OnSimulationFrameUpdated() {
    bar_.SetPumpRunning(model_.GetParameters().GetPumpRunning());
}
