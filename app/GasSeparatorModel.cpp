#include "app/GasSeparatorModel.h"

#include "app/EventRegistry.h"

CGasSeparatorModel* gGasSeparatorModel = nullptr;

void CGasSeparatorModel::Initialise() {
    parameters_ = WellParameters();
    state_ = SimulationState();
    LoadDefaults();
    RaiseEvent("WellParametersUpdated");
    SubscribeEvent("WellParametersUpdated", this, &CGasSeparatorModel::OnWellParametersUpdated);
}

void CGasSeparatorModel::Shutdown() {
    SaveDefaults();
}

void CGasSeparatorModel::SetParameters(const WellParameters& parameters) {
    parameters_ = parameters;
    RaiseEvent("WellParametersUpdated");
}

void CGasSeparatorModel::CopyStateFrom(const SimulationState& state) {
    state_ = state;
    RaiseEvent("SimulationFrameUpdated");
}

// Every change of the parameters restarts the simulation from the bottom of the stroke.
void CGasSeparatorModel::OnWellParametersUpdated() {
    state_ = SimulationState();
}
