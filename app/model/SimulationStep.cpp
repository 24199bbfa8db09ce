#include "app/model/SimulationStep.h"

#include "app/model/CapacityModel.h"

#include <cmath>

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
