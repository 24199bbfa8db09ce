#include "app/GasSeparatorSimulator.h"

#include "app/CapacityModel.h"
#include "app/GasSeparatorModel.h"
#include "app/GlobalService.h"

#include <cmath>

CGasSeparatorSimulator* gGasSeparatorSimulator = nullptr;

void CGasSeparatorSimulator::Initialise(CGasSeparatorModel* model) {
    model_ = model ? model : gGasSeparatorModel;
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

void StepSimulation(const WellParameters& parameters, double dt, SimulationState& s) {
    const double cycleBefore = CapacityModel::CycleNumber(s.crankAngle);
    s.elapsedTime += dt;
    if (parameters.GetPumpRunning()) {
        const double omega = parameters.GetCrankAngularSpeed();
        s.crankAngle += omega * dt;
        s.plungerPosition = (1 - std::cos(s.crankAngle)) * 0.5;
        s.plungerVelocity = std::sin(s.crankAngle) * (omega * 0.5);
        s.flowMultiplier = CapacityModel::FlowMultiplier(CapacityModel::CyclePhase(s.crankAngle));
    } else {
        s.flowMultiplier = 0;
        s.plungerVelocity = 0;
    }
    CapacityModel::Evaluate(parameters, dt, s);
    CapacityModel::TrackDeepestPenetration(cycleBefore, s);
}
