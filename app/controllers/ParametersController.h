#pragma once
// Connects the parameters panel with the model: reads what the user types or picks, checks
// it, marks bad fields and shows their warnings, hands the result to the model, refreshes the
// panel whenever the model's parameters change, shows the results every frame, and fills and
// drives the separator preset list.

#include "app/model/ParameterRules.h"
#include "app/model/WellParameters.h"

#include <memory>
#include <string>
#include <vector>

class TSeparatorPreset;

class CParametersController {
public:
    CParametersController();
    ~CParametersController();

    // Fills the preset list, clears the capacity, refreshes the panel, then subscribes.
    void Initialise();

    // Event handlers, public so the subscription table reads as a list.
    void FillPresetList();
    void ReloadLists(); // after a tag refresh: the preset list, then the panel from the model
    // Saves the separator dimensions under the name typed in the save preset dialog and
    // selects the new row. False, with the reason in `failure`, when it could not be saved; a
    // blank name saves nothing and counts as done.
    bool SavePreset(std::string& failure);
    void ShowResults();
    void Refresh();
    void RestoreDefaults();
    void ApplyPreset();
    void ApplyCasing();
    // Applying typed values after a change of `field`, then clearing the preset for a
    // separator dimension.
    void ApplyTypedField(const std::string& field);
    void TidyField(const std::string& field);

    // Checks `candidate`, marking fields and showing or hiding warnings; a value that fails
    // a range rule is restored (to its value before the edit under way, or the model's). The
    // consistency rules judge the values after that. False when any rule failed.
    bool Validate(WellParameters& candidate);

private:
    void ApplyTypedValues();
    void ClearPreset();
    void Restore(ParameterRule rule, WellParameters& candidate) const;
    void MarkRangeRule(const RuleOutcome& outcome);
    void MarkConsistencyRule(const RuleOutcome& outcome, bool rangePassed);
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
    // The typed field being edited (empty when none) and its model value when the edit began.
    std::string editedField_;
    double valueBeforeEdit_ = 0;
};
