#pragma once
// The one model of the program: the current parameters, the current simulation state, the
// name of the separator preset the dimensions came from, and the user's saved presets.
// Every replacement of the parameters is announced with "WellParametersUpdated", every
// simulation step with "SimulationFrameUpdated".

#include "SimulationState.h"
#include "WellParameters.h"

#include <string>

class CGasSeparatorModel {
public:
    // In-memory defaults and a zeroed state, then the defaults file, then the first
    // "WellParametersUpdated", then the model's own subscription.
    void Initialise();
    // Writes the defaults file and lets go of the user presets.
    void Shutdown();

    // The running flag may be written in place (the pump controller does so, without events).
    WellParameters& GetParameters() { return parameters_; }
    const WellParameters& GetParameters() const { return parameters_; }
    const SimulationState& GetState() const { return state_; }

    void SetParameters(const WellParameters& parameters);
    const std::string& GetPresetName() const { return presetName_; }
    void SetPresetName(const std::string& name) { presetName_ = name; }

    // Copies a finished simulation step over the model's state, then raises
    // "SimulationFrameUpdated".
    void CopyStateFrom(const SimulationState& state);

    // Reads the defaults file into the parameters and the preset name; raises nothing.
    void LoadDefaults();
    // Writes the defaults file from the current parameters and preset name.
    void SaveDefaults();

private:
    void OnWellParametersUpdated();

    WellParameters parameters_;
    SimulationState state_;
    std::string presetName_;
};

// The process-wide model; start-up sets it.
extern CGasSeparatorModel* gGasSeparatorModel;
