#include "app/services/GasSeparatorModel.h"

#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"

void CGasSeparatorModel::Initialise() {
    parameters_ = WellParameters();
    state_ = SimulationState();
    LoadDefaults();
    RaiseEvent(EventName::kWellParametersUpdated);
    SubscribeEvent(EventName::kWellParametersUpdated, this,
                   &CGasSeparatorModel::OnWellParametersUpdated);
}

std::string CGasSeparatorModel::Shutdown() {
    return SaveDefaults();
}

void CGasSeparatorModel::SetParameters(const WellParameters& parameters) {
    parameters_ = parameters;
    RaiseEvent(EventName::kWellParametersUpdated);
}

void CGasSeparatorModel::CopyStateFrom(const SimulationState& state) {
    state_ = state;
    RaiseEvent(EventName::kSimulationFrameUpdated);
}

// Every change of the parameters restarts the simulation from the bottom of the stroke.
void CGasSeparatorModel::OnWellParametersUpdated() {
    state_ = SimulationState();
}
