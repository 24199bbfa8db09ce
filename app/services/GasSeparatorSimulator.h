#pragma once
// Advances the pump cycle once per main-loop pass and hands the new state to the model.

#include "app/model/SimulationState.h"
#include "app/model/SimulationStep.h"
#include "app/model/WellParameters.h"

class CGasSeparatorModel;

class CGasSeparatorSimulator {
public:
    // Sets the active flag and zeroes the working records; steps `model` from then on.
    void Initialise(CGasSeparatorModel& model);

    // Copies the model's parameters and state in, steps by `dt` seconds and copies the state
    // back, which raises "SimulationFrameUpdated".
    void Update(double dt);

    // One step of the working pair.
    void Step(double dt);

    bool IsActive() const { return active_; }
    const WellParameters& GetWorkingParameters() const { return parameters_; }
    const SimulationState& GetWorkingState() const { return state_; }
    WellParameters& WorkingParameters() { return parameters_; }
    SimulationState& WorkingState() { return state_; }

private:
    CGasSeparatorModel* model_ = nullptr;
    bool active_ = false;
    WellParameters parameters_;
    SimulationState state_;
};
