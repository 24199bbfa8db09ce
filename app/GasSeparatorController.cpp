#include "app/GasSeparatorController.h"

#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/NumberFormat.h"
#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"

#include <cmath>

namespace {
// Flags are set for the length of a handler and always cleared again, also on exceptions.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

template <class View> View* Find(const std::string& name) {
    return gWindowManager ? gWindowManager->FindViewAs<View>(name) : nullptr;
}

CGasSeparatorModel& Model() {
    return *gGasSeparatorModel;
}

// A tag refresh recreates the lists with their first row selected and announces it. That is
// not the user's choice: taking it would replace the user's casing and separator with the
// first presets, so those announcements are ignored and the panel is refreshed from the
// model once the tags are reloaded.
bool ListsAreBeingRebuilt() {
    return gWindowManager && gWindowManager->IsRefreshingTags();
}

// The eight typed fields in the order they are read and refreshed.
struct TypedField {
    const char* name;
    double (WellParameters::*get)() const;
    void (WellParameters::*set)(double);
};
constexpr TypedField kTypedFields[] = {
    {"Separator OD", &WellParameters::GetSeparatorOD, &WellParameters::SetSeparatorOD},
    {"Separator ID", &WellParameters::GetSeparatorID, &WellParameters::SetSeparatorID},
    {"Dip Tube OD", &WellParameters::GetDipTubeOD, &WellParameters::SetDipTubeOD},
    {"Dip Tube ID", &WellParameters::GetDipTubeID, &WellParameters::SetDipTubeID},
    {"Dip Tube Length", &WellParameters::GetDipTubeLength, &WellParameters::SetDipTubeLength},
    {"Gas Bubble Rise Velocity", &WellParameters::GetGasBubbleRiseVelocity,
     &WellParameters::SetGasBubbleRiseVelocity},
    {"Production Rate", &WellParameters::GetProductionRate, &WellParameters::SetProductionRate},
    {"SPM", &WellParameters::GetSPM, &WellParameters::SetSPM},
};

const TypedField* FieldOf(const char* name) {
    for (const TypedField& field : kTypedFields) {
        if (std::string(field.name) == name) {
            return &field;
        }
    }
    return nullptr;
}

// What each rule marks and shows. A range rule with a consistency rule after it does nothing
// when it passes: the consistency rule then decides the marks.
struct RuleViews {
    ParameterRule rule;
    const char* field;        // the field a range rule marks and restores
    const char* warning;      // its warning view
    const char* rangeWarning; // consistency rules: the range warning they hide
    const char* otherField;   // consistency rules: the second field marked invalid
    bool passIsSilent;        // range rules followed by a consistency rule
};
constexpr RuleViews kRuleViews[] = {
    {ParameterRule::SeparatorODRange, "Separator OD", "Separator OD Range Warning View", nullptr,
     nullptr, false},
    {ParameterRule::SeparatorIDRange, "Separator ID", "Separator ID Range Warning View", nullptr,
     nullptr, true},
    {ParameterRule::SeparatorWall, "Separator ID", "Separator Diameter Warning View",
     "Separator ID Range Warning View", "Separator OD", false},
    {ParameterRule::DipTubeODRange, "Dip Tube OD", "Dip Tube OD Range Warning View", nullptr,
     nullptr, true},
    {ParameterRule::DipTubeInsideSeparator, "Dip Tube OD", "Separator Inner Diameter Warning View",
     "Dip Tube OD Range Warning View", "Separator ID", false},
    {ParameterRule::DipTubeIDRange, "Dip Tube ID", "Dip Tube ID Range Warning View", nullptr,
     nullptr, true},
    {ParameterRule::DipTubeWall, "Dip Tube ID", "Dip Tube Diameter Warning View",
     "Dip Tube ID Range Warning View", "Dip Tube OD", false},
    {ParameterRule::DipTubeLength, "Dip Tube Length", "Dip Tube Length Warning View", nullptr,
     nullptr, false},
    {ParameterRule::RiseVelocity, "Gas Bubble Rise Velocity",
     "Gas Bubble Velocity Range Warning View", nullptr, nullptr, false},
    {ParameterRule::ProductionRate, "Production Rate", "Production Rate Range Warning View",
     nullptr, nullptr, false},
    {ParameterRule::SPM, "SPM", "SPM Range Warning View", nullptr, nullptr, false},
};

const RuleViews* ViewsOf(ParameterRule rule) {
    for (const RuleViews& views : kRuleViews) {
        if (views.rule == rule) {
            return &views;
        }
    }
    return nullptr; // the casing size rule marks nothing
}

// A preset list row for a model preset, and the model preset a row stands for.
std::unique_ptr<TSeparatorPreset> RowOf(const SeparatorPreset& preset) {
    auto row = std::make_unique<TSeparatorPreset>();
    row->type = "seppreset";
    row->displayName = preset.displayName;
    row->separatorOd = preset.separatorOd;
    row->separatorId = preset.separatorId;
    row->dipTubeOd = preset.dipTubeOd;
    row->dipTubeId = preset.dipTubeId;
    row->dipTubeLength = preset.dipTubeLength;
    return row;
}

SeparatorPreset ValueOf(const TSeparatorPreset& row) {
    return {row.displayName, row.separatorOd, row.separatorId,
            row.dipTubeOd,   row.dipTubeId,   row.dipTubeLength};
}

double ParseField(const std::string& name) {
    const CTextEditView* field = Find<CTextEditView>(name);
    return field ? ParseNumber(field->GetText()) : 0.0;
}

} // namespace

CGasSeparatorController::CGasSeparatorController() = default;
CGasSeparatorController::~CGasSeparatorController() = default;

void CGasSeparatorController::Initialise() {
    FillPresetList();
    if (auto* capacity = Find<CTextEditView>("Max Capacity")) {
        capacity->SetText(FormatNumber(0));
        capacity->SetValid(true);
    }
    Refresh();
    using C = CGasSeparatorController;
    SubscribeEvent("Tags Reloaded", this, &C::ReloadLists);
    SubscribeEvent("Save Preset", this, &C::SavePreset);
    SubscribeEvent("SimulationFrameUpdated", this, &C::ShowResults);
    SubscribeEvent("WellParametersUpdated", this, &C::Refresh);
    SubscribeEvent("Reset to Defaults", this, &C::RestoreDefaults);
    SubscribeEvent("Separator Preset Changed", this, &C::ApplyPreset);
    SubscribeEvent("Casing Size Changed", this, &C::ApplyTypedValues);
    SubscribeEvent("Dip Tube ID Changed", this, &C::ApplyTypedDimension);
    SubscribeEvent("Dip Tube Length Changed", this, &C::ApplyTypedDimension);
    SubscribeEvent("Dip Tube OD Changed", this, &C::ApplyTypedDimension);
    SubscribeEvent("Gas Bubble Rise Velocity Changed", this, &C::ApplyTypedValues);
    SubscribeEvent("Production Rate Changed", this, &C::ApplyTypedValues);
    SubscribeEvent("Separator ID Changed", this, &C::ApplyTypedDimension);
    SubscribeEvent("Separator OD Changed", this, &C::ApplyTypedDimension);
    SubscribeEvent("SPM Changed", this, &C::ApplyTypedValues);
    if (gEventRegistry) {
        // Every typed field is tidied when it loses the focus, in the fields' order.
        for (const TypedField& field : kTypedFields) {
            const std::string name = field.name;
            gEventRegistry->Subscribe(name + " Lose Focus", this,
                                      [this, name] { TidyField(name); });
        }
    }
}

void CGasSeparatorController::ApplyTypedValues() {
    if (refreshing_ || ListsAreBeingRebuilt()) {
        return;
    }
    FlagScope scope(applying_);
    WellParameters candidate = Model().GetParameters();
    double typed[std::size(kTypedFields)];
    for (size_t i = 0; i < std::size(kTypedFields); ++i) {
        typed[i] = ParseField(kTypedFields[i].name);
    }
    double casing = 0;
    if (auto* combo = Find<CComboBoxView>("Casing Size")) {
        if (auto* item = dynamic_cast<const TCasingSize*>(combo->GetSelectedItem())) {
            casing = item->casingSize;
        }
    }
    candidate.SetCasingSize(casing);
    for (size_t i = 0; i < std::size(kTypedFields); ++i) {
        (candidate.*kTypedFields[i].set)(typed[i]);
    }
    Validate(candidate);
    Model().SetParameters(candidate);
}

void CGasSeparatorController::ApplyTypedDimension() {
    ApplyTypedValues();
    ClearPreset();
}

void CGasSeparatorController::ClearPreset() {
    if (presetApplying_) {
        return;
    }
    auto* presets = Find<CComboBoxView>("Separator Preset");
    if (!presets) {
        return;
    }
    FlagScope scope(applying_);
    presets->ShowDefaultText();
    Model().ApplySeparatorPreset(nullptr);
}

bool CGasSeparatorController::Validate(WellParameters& candidate) {
    // Every rule compares the values as they stood before any restoration.
    const std::vector<RuleOutcome> outcomes = CheckParameterRules(candidate);
    bool valid = true;
    for (const RuleOutcome& outcome : outcomes) {
        ApplyRuleOutcome(outcome, candidate);
        valid = valid && outcome.passed;
    }
    return valid;
}

void CGasSeparatorController::ApplyRuleOutcome(const RuleOutcome& outcome,
                                               WellParameters& candidate) {
    const RuleViews* views = ViewsOf(outcome.rule);
    if (!views) {
        return;
    }
    if (!IsRangeRule(outcome.rule)) { // a consistency rule
        ShowWarning(views->warning, !outcome.passed);
        ShowWarning(views->rangeWarning, false);
        SetFieldValid(views->field, outcome.passed);
        if (!outcome.passed) {
            SetFieldValid(views->otherField, false);
        }
        return;
    }
    if (outcome.passed && views->passIsSilent) {
        return;
    }
    SetFieldValid(views->field, outcome.passed);
    ShowWarning(views->warning, !outcome.passed);
    if (!outcome.passed) {
        const TypedField* field = FieldOf(views->field);
        (candidate.*field->set)((Model().GetParameters().*field->get)());
    }
}

void CGasSeparatorController::SetFieldValid(const std::string& field, bool valid) {
    if (auto* edit = Find<CTextEditView>(field)) {
        edit->SetValid(valid);
    }
}

void CGasSeparatorController::ShowWarning(const std::string& name, bool shown) {
    if (auto* warning = Find<CWarningView>(name)) {
        shown ? warning->Show() : warning->Hide();
    }
}

void CGasSeparatorController::Refresh() {
    if (applying_) {
        return;
    }
    FlagScope scope(refreshing_);
    SelectCasing();
    const WellParameters& parameters = Model().GetParameters();
    for (const TypedField& field : kTypedFields) {
        if (auto* edit = Find<CTextEditView>(field.name)) {
            edit->SetText(FormatNumber((parameters.*field.get)()));
        }
    }
    WellParameters own = Model().GetParameters();
    Validate(own);
}

// Selects the first casing preset with exactly the model's casing size; a size that matches
// no preset is shown as its number, which selects no row.
void CGasSeparatorController::SelectCasing() {
    auto* combo = Find<CComboBoxView>("Casing Size");
    if (!combo) {
        return;
    }
    const double casing = Model().GetParameters().GetCasingSize();
    for (const TComboBoxItem* item : combo->Items()) {
        if (auto* preset = dynamic_cast<const TCasingSize*>(item);
            preset && preset->casingSize == casing) {
            combo->SelectByText(preset->displayName);
            return;
        }
    }
    combo->SelectByText(FormatNumber(casing));
}

void CGasSeparatorController::ApplyPreset() {
    if (ListsAreBeingRebuilt()) {
        return;
    }
    FlagScope scope(presetApplying_);
    if (auto* presets = Find<CComboBoxView>("Separator Preset")) {
        if (auto* row = dynamic_cast<const TSeparatorPreset*>(presets->GetSelectedItem())) {
            const SeparatorPreset preset = ValueOf(*row);
            Model().ApplySeparatorPreset(&preset);
        }
    }
}

void CGasSeparatorController::RestoreDefaults() {
    FlagScope scope(presetApplying_);
    Model().ResetToDefaults();
    if (auto* presets = Find<CComboBoxView>("Separator Preset")) {
        presets->SelectByText(Model().GetPresetName());
    }
}

void CGasSeparatorController::TidyField(const std::string& name) {
    auto* field = Find<CTextEditView>(name);
    if (!field || !field->IsValid()) {
        return;
    }
    const std::string tidy = FormatNumber(ParseNumber(field->GetText()));
    if (tidy != field->GetText()) {
        field->SetText(tidy);
    }
}

void CGasSeparatorController::ShowResults() {
    const SimulationState& state = Model().GetState();
    if (auto* capacity = Find<CTextEditView>("Max Capacity")) {
        capacity->SetText(FormatNumber(state.maximumCapacity));
        capacity->SetValid(true);
    }
    if (auto* label = Find<CLabelView>("Recommended Dip Tube Length")) {
        label->SetText(FormatNumber(RoundToThousandths(state.recommendedDipTubeLength)) + " in");
    }
}

void CGasSeparatorController::ReloadLists() {
    FillPresetList();
    // The casing list was reset by the reload too. The refresh rewrites the fields, which
    // must not count as typing that clears the preset.
    FlagScope scope(presetApplying_);
    Refresh();
}

// The rows of the previous user presets are removed from the list before they are deleted.
void CGasSeparatorController::FillPresetList() {
    auto* presets = Find<CComboBoxView>("Separator Preset");
    if (!presets) {
        return;
    }
    presets->RemoveAddedItems();
    userPresetRows_.clear();
    std::vector<TComboBoxItem*> rows;
    for (const SeparatorPreset& preset : Model().LoadUserPresets()) {
        userPresetRows_.push_back(RowOf(preset));
        rows.push_back(userPresetRows_.back().get());
    }
    if (!rows.empty()) {
        presets->AddItems(rows);
    }
    presets->SelectByText(Model().GetPresetName());
}

void CGasSeparatorController::SavePreset() {
    const auto* name = Find<CTextEditView>("Save Preset Dialog Preset Name");
    if (!name) {
        return;
    }
    const SeparatorPreset* preset = Model().SaveUserPreset(name->GetText());
    if (!preset) {
        return;
    }
    if (auto* presets = Find<CComboBoxView>("Separator Preset")) {
        userPresetRows_.push_back(RowOf(*preset));
        presets->AddItems({userPresetRows_.back().get()});
        presets->SelectByText(preset->displayName);
        Model().SetPresetName(preset->displayName);
    }
}
