#pragma once
// Connects the parameters panel with the model: reads what the user types or picks, checks
// it, marks bad fields and shows their warnings, hands the result to the model, refreshes the
// panel whenever the model's parameters change, shows the results every frame, and fills and
// drives the separator preset list.

#include "ParameterRules.h"
#include "WellParameters.h"

#include <string>

class CGasSeparatorController {
public:
    // Fills the preset list, clears the capacity, refreshes the panel, then subscribes.
    void Initialise();

    // Event handlers, public so the subscription table reads as a list.
    void FillPresetList();
    void ReloadLists(); // after a tag refresh: the preset list, then the panel from the model
    void SavePreset();
    void ShowResults();
    void Refresh();
    void RestoreDefaults();
    void ApplyPreset();
    void ApplyTypedValues();
    void ApplyTypedDimension(); // applying typed values, then clearing the preset
    void TidyField(const std::string& field);

    // Checks `candidate`, marking fields and showing or hiding warnings; a value that fails
    // a range rule is restored from the model. False when any rule failed.
    bool Validate(WellParameters& candidate);

private:
    void ClearPreset();
    void ApplyRuleOutcome(const RuleOutcome& outcome, WellParameters& candidate);
    void SetFieldValid(const std::string& field, bool valid);
    void ShowWarning(const std::string& name, bool shown);
    void SelectCasing();

    // Guards against the events the controller's own actions cause.
    bool presetApplying_ = false;
    bool refreshing_ = false;
    bool applying_ = false;
};
