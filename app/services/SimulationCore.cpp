#include "app/services/SimulationCore.h"

#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GasSeparatorSimulator.h"

CSimulationCore::CSimulationCore()
    : events_(gEventRegistry), model_(gGasSeparatorModel), simulator_(gGasSeparatorSimulator) {}

CSimulationCore::~CSimulationCore() {
    Reset();
}

void CSimulationCore::CreateEvents() {
    events_.Create();
}

void CSimulationCore::CreateModel(bool initialise) {
    RequireService(events_.Get(), "event registry", "creating the model");
    CGasSeparatorModel& model = model_.Create();
    if (initialise) {
        model.Initialise();
    }
}

void CSimulationCore::CreateSimulator() {
    CGasSeparatorModel* model = RequireService(model_.Get(), "model", "creating the simulator");
    simulator_.Create().Initialise(model);
}

void CSimulationCore::ResetModelAndSimulator() {
    simulator_.Reset();
    model_.Reset();
}

void CSimulationCore::Reset() {
    ResetModelAndSimulator();
    events_.Reset();
}
