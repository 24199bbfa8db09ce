#pragma once
// Connects the parameters panel with the model: reads what the user types or picks, checks
// it, marks bad fields and shows their warnings, hands the result to the model, refreshes the
// panel whenever the model's parameters change, shows the results every frame, and fills and
// drives the separator preset list.

#include "app/ParameterRules.h"
#include "app/WellParameters.h"

#include <memory>
#include <string>
#include <vector>

class TSeparatorPreset;

class CGasSeparatorController {
public:
    CGasSeparatorController();
    ~CGasSeparatorController();

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

    // The preset list's rows for the model's user presets; the list refers to them until
    // they are removed from it again.
    std::vector<std::unique_ptr<TSeparatorPreset>> userPresetRows_;
    // Guards against the events the controller's own actions cause.
    bool presetApplying_ = false;
    bool refreshing_ = false;
    bool applying_ = false;
};
