#pragma once
// Connects the parameters panel with the model: reads what the user types or picks, checks it
// against the rules of the parameter table, marks bad fields and shows their warnings, hands the
// result to the model, refreshes the panel whenever the model's parameters change, shows the
// results every frame, and fills and drives the separator preset list.

#include "app/model/DesignSheet.h"
#include "app/model/ParameterRules.h"
#include "app/model/TypedNumber.h"
#include "app/model/WellParameters.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct CaseDesign;
class CAppView;
class CComboBoxView;
class CGasSeparatorModel;
class CParametersPanelView;
class CTextEditView;
class CWarningView;
class CWindowManager;
class TSeparatorPreset;

class CParametersController {
public:
    // `windowManager` tells whether a tag refresh is rebuilding the lists.
    CParametersController(CGasSeparatorModel& model, CAppView& app,
                          const CWindowManager& windowManager);
    ~CParametersController();

    // Finds its views, fills the preset list, clears the capacity, refreshes the panel, then
    // subscribes.
    void Initialise();

    // Event handlers, public so the subscription table reads as a list.
    void FillPresetList();
    void ReloadLists(); // after a tag refresh: the views, the preset list, then the panel
    // Saves the separator dimensions under the name typed in the save preset dialog and
    // selects the new row. False, with the reason in `failure`, when it could not be saved; a
    // blank name saves nothing and counts as done.
    bool SavePreset(std::string& failure);
    // The same under `name`.
    bool SavePreset(const std::string& name, std::string& failure);
    // Hands the model a whole design (undo, a case opened) and shows it: the fields, the lists
    // and the preset row, none of which counts as the user's typing or choice.
    void TakeDesign(const CaseDesign& design);
    // While a typed value is being applied (a keystroke), not a pick, a command or a refresh.
    bool IsTyping() const { return typing_; }
    void ShowResults();
    void Refresh();
    void RestoreDefaults();
    void ApplyPreset();
    void ApplyCasing();
    // A pick from the list of an input other than the casing (the rate source).
    void ApplyListChoice();
    // Applying typed values after a change of `parameter`'s box, then clearing the preset for
    // a separator dimension.
    void ApplyTypedField(const ParameterEntry& parameter);
    void TidyField(const ParameterEntry& parameter);

    // Checks `candidate`, marking fields and showing or hiding warnings; a value that fails
    // a range rule is restored (to its value before the edit under way, or the model's). The
    // consistency rules judge the values after that. False when any rule failed.
    bool Validate(WellParameters& candidate);

    // The boxes whose texts are not in use (refused as out of range or not understood), in
    // the table's order: the design is the model's values, not theirs.
    std::vector<RefusedText> RefusedTexts() const;
    // Before a save of `what` ("case", "preset") that would keep the values in use, not the
    // texts refused: whether the user says Save when asked (of the separator's boxes alone when
    // `separatorOnly`). True with no such text.
    bool MayKeepValuesInUse(const std::string& what, bool separatorOnly) const;

private:
    UnitSystem Units() const;
    std::optional<TypedValue> TypedIn(const ParameterEntry& parameter,
                                      const WellParameters& values) const;
    void OnUnitsChanged();
    void ShowUnitProblems();
    // The views of the panel's boxes and of the rules' warnings, found by the names the table
    // gives them; again after every tag refresh, which may rebuild them.
    void FindViews();
    void LabelViews();
    bool ListsAreBeingRebuilt() const;
    void ApplyTypedValues();
    void ClearPreset();
    bool PresetRowMatchesModel() const;
    void SelectPresetInUse();
    void Restore(const ParameterEntry& parameter, WellParameters& candidate) const;
    void MarkRangeRule(size_t rule, bool passed);
    void MarkConsistencyRule(size_t rule, bool passed, bool rangePassed, bool rangeInUsePassed);
    CTextEditView* FieldOf(const ParameterEntry& parameter) const;
    CComboBoxView* ListOf(const ParameterEntry& parameter) const;
    // The boxes of computed values show the model's, read-only, with their captions saying so.
    void ShowComputedFields();
    void SelectListChoices();
    void SetFieldValid(const ParameterEntry* parameter, bool valid);
    void ShowWarning(CWarningView* warning, bool shown);
    void SelectCasing();

    CGasSeparatorModel& model_;
    CAppView& app_;
    CParametersPanelView& panel_;
    const CWindowManager& windowManager_;
    // Per input of the table and per rule: its box and its warning (null where there is none).
    std::vector<CTextEditView*> fields_;
    std::vector<CComboBoxView*> lists_; // the lists of inputs picked from one, but the casing's
    std::vector<CWarningView*> warnings_;
    CTextEditView* capacity_ = nullptr;

    // The preset list's rows for the model's user presets; the list refers to them until
    // they are removed from it again.
    std::vector<std::unique_ptr<TSeparatorPreset>> userPresetRows_;
    // Guards against the events the controller's own actions cause.
    bool presetApplying_ = false;
    bool refreshing_ = false;
    bool applying_ = false;
    bool typing_ = false;
    // The input being edited (null when none) and its model value when the edit began.
    const ParameterEntry* edited_ = nullptr;
    double valueBeforeEdit_ = 0;
    // Per input of the table: why its box's text cannot be used ("40 kg"), or empty.
    std::vector<std::string> unitProblems_;
};
