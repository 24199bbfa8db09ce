#pragma once
// The simulation step that the live simulator, the long-run outlook and the calculator share.

#include "app/model/SimulationState.h"
#include "app/model/WellParameters.h"

// One simulation step of `state` by `dt` seconds for `parameters`: the crank, the plunger, the
// pump's draw and the capacity model. The simulator and the long-run outlook both step with it.
void StepSimulation(const WellParameters& parameters, double dt, SimulationState& state);
