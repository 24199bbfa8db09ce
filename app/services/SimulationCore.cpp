#include "app/services/SimulationCore.h"

#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GasSeparatorSimulator.h"

CSimulationCore::CSimulationCore() : events_(gEventRegistry) {}

CSimulationCore::~CSimulationCore() {
    Reset();
}

void CSimulationCore::CreateEvents() {
    events_.Create();
}

void CSimulationCore::CreateModel(bool initialise) {
    RequireService(events_.Get(), "event registry", "creating the model");
    simulator_.reset();
    model_ = std::make_unique<CGasSeparatorModel>();
    if (initialise) {
        model_->Initialise();
    }
}

void CSimulationCore::CreateSimulator() {
    CGasSeparatorModel* model = RequireService(model_.get(), "model", "creating the simulator");
    if (model) {
        simulator_ = std::make_unique<CGasSeparatorSimulator>();
        simulator_->Initialise(*model);
    }
}

void CSimulationCore::ResetModelAndSimulator() {
    simulator_.reset();
    model_.reset();
}

void CSimulationCore::Reset() {
    ResetModelAndSimulator();
    events_.Reset();
}
