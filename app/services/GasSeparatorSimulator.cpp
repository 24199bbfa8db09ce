#include "app/services/GasSeparatorSimulator.h"

#include "app/model/SimulationStep.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GlobalService.h"

void CGasSeparatorSimulator::Initialise(CGasSeparatorModel& model) {
    model_ = &model;
    active_ = true;
    parameters_ = WellParameters();
    state_ = SimulationState();
}

void CGasSeparatorSimulator::Update(double dt) {
    if (!RequireService(model_, "model", "a simulation step")) {
        return;
    }
    parameters_ = model_->GetParameters();
    state_ = model_->GetState();
    Step(dt);
    model_->CopyStateFrom(state_);
}

void CGasSeparatorSimulator::Step(double dt) {
    StepSimulation(parameters_, dt, state_);
}
