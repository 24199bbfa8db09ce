#include "app/controllers/ParametersController.h"

#include "app/model/NumberFormat.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/ViewNames.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"

#include <cctype>
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
    return FindViewOf<View>(name);
}

// The controllers are built after the model and torn down before it.
CGasSeparatorModel& Model() {
    return *RequireModel("the parameters controller");
}

// A tag refresh recreates the lists with their first row selected and announces it. That is
// not the user's choice: taking it would replace the user's casing and separator with the
// first presets, so those announcements are ignored and the panel is refreshed from the
// model once the tags are reloaded.
bool ListsAreBeingRebuilt() {
    return gWindowManager && gWindowManager->IsRefreshingTags();
}

// The eight typed fields in the order they are read and refreshed. Only the five separator
// dimensions clear the preset when typed: a preset fixes exactly those.
struct TypedField {
    const char* name;
    const char* changedEvent;
    bool clearsPreset;
    double (WellParameters::*get)() const;
    void (WellParameters::*set)(double);
};
constexpr TypedField kTypedFields[] = {
    {ViewName::kSeparatorOD, EventName::kSeparatorODChanged, true, &WellParameters::GetSeparatorOD,
     &WellParameters::SetSeparatorOD},
    {ViewName::kSeparatorID, EventName::kSeparatorIDChanged, true, &WellParameters::GetSeparatorID,
     &WellParameters::SetSeparatorID},
    {ViewName::kDipTubeOD, EventName::kDipTubeODChanged, true, &WellParameters::GetDipTubeOD,
     &WellParameters::SetDipTubeOD},
    {ViewName::kDipTubeID, EventName::kDipTubeIDChanged, true, &WellParameters::GetDipTubeID,
     &WellParameters::SetDipTubeID},
    {ViewName::kDipTubeLength, EventName::kDipTubeLengthChanged, true,
     &WellParameters::GetDipTubeLength, &WellParameters::SetDipTubeLength},
    {ViewName::kGasBubbleRiseVelocity, EventName::kGasBubbleRiseVelocityChanged, false,
     &WellParameters::GetGasBubbleRiseVelocity, &WellParameters::SetGasBubbleRiseVelocity},
    {ViewName::kProductionRate, EventName::kProductionRateChanged, false,
     &WellParameters::GetProductionRate, &WellParameters::SetProductionRate},
    {ViewName::kSPM, EventName::kSPMChanged, false, &WellParameters::GetSPM,
     &WellParameters::SetSPM},
};

// What the results show while a value in use breaks a range rule: they do not apply.
constexpr const char* kResultNotApplying = "\u2014"; // an em dash

const TypedField* FieldOf(const std::string& name) {
    for (const TypedField& field : kTypedFields) {
        if (field.name == name) {
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
    {ParameterRule::SeparatorODRange, ViewName::kSeparatorOD, ViewName::kSeparatorODRangeWarning,
     nullptr, nullptr, false},
    {ParameterRule::SeparatorIDRange, ViewName::kSeparatorID, ViewName::kSeparatorIDRangeWarning,
     nullptr, nullptr, true},
    {ParameterRule::SeparatorWall, ViewName::kSeparatorID, ViewName::kSeparatorDiameterWarning,
     ViewName::kSeparatorIDRangeWarning, ViewName::kSeparatorOD, false},
    {ParameterRule::DipTubeODRange, ViewName::kDipTubeOD, ViewName::kDipTubeODRangeWarning, nullptr,
     nullptr, true},
    {ParameterRule::DipTubeInsideSeparator, ViewName::kDipTubeOD,
     ViewName::kSeparatorInnerDiameterWarning, ViewName::kDipTubeODRangeWarning,
     ViewName::kSeparatorID, false},
    {ParameterRule::DipTubeIDRange, ViewName::kDipTubeID, ViewName::kDipTubeIDRangeWarning, nullptr,
     nullptr, true},
    {ParameterRule::DipTubeWall, ViewName::kDipTubeID, ViewName::kDipTubeDiameterWarning,
     ViewName::kDipTubeIDRangeWarning, ViewName::kDipTubeOD, false},
    {ParameterRule::DipTubeLength, ViewName::kDipTubeLength, ViewName::kDipTubeLengthWarning,
     nullptr, nullptr, false},
    {ParameterRule::RiseVelocity, ViewName::kGasBubbleRiseVelocity,
     ViewName::kGasBubbleVelocityRangeWarning, nullptr, nullptr, false},
    {ParameterRule::ProductionRate, ViewName::kProductionRate,
     ViewName::kProductionRateRangeWarning, nullptr, nullptr, false},
    {ParameterRule::SPM, ViewName::kSPM, ViewName::kSPMRangeWarning, nullptr, nullptr, false},
};

const RuleViews* ViewsOf(ParameterRule rule) {
    for (const RuleViews& views : kRuleViews) {
        if (views.rule == rule) {
            return &views;
        }
    }
    return nullptr; // the casing size rule marks nothing
}

// The panel's fields and results as people name them, with their units.
struct FieldName {
    const char* view;
    const char* name;
    const char* unit;
};
constexpr FieldName kFieldNames[] = {
    {ViewName::kSeparatorOD, "Separator outside diameter", "inches"},
    {ViewName::kSeparatorID, "Separator inside diameter", "inches"},
    {ViewName::kDipTubeOD, "Dip tube outside diameter", "inches"},
    {ViewName::kDipTubeID, "Dip tube inside diameter", "inches"},
    {ViewName::kDipTubeLength, "Dip tube length", "inches"},
    {ViewName::kGasBubbleRiseVelocity, "Gas bubble rise velocity", "inches per second"},
    {ViewName::kProductionRate, "Production rate", "barrels per day"},
    {ViewName::kSPM, "Pump speed", "strokes per minute"},
};

std::string LowerFirst(std::string text) {
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

const char* FullNameOf(const std::string& view) {
    for (const FieldName& field : kFieldNames) {
        if (field.view == view) {
            return field.name;
        }
    }
    return "";
}

// "Pump speed in strokes per minute: above 0, at most 30", built from the field's rules so
// that it says what the rules check.
std::string FieldTooltip(const FieldName& field) {
    std::string text = std::string(field.name) + " in " + field.unit + ":";
    for (const RuleViews& views : kRuleViews) {
        if (views.field != std::string(field.view)) {
            continue;
        }
        text += IsRangeRule(views.rule) ? " " + DescribeLimits(views.rule)
                                        : ", below the " + LowerFirst(FullNameOf(views.otherField));
    }
    return text;
}

constexpr const char* kCapacityTooltip =
    "Maximum capacity in barrels per day: the production rate at which the liquid in the "
    "separator annulus flows down as fast as the gas bubbles rise (\u2014 while a value is out "
    "of range)";
constexpr const char* kRecommendedTooltip =
    "Recommended dip tube length in inches: how far a gas bubble rises during one pump stroke, "
    "times a design factor (\u2014 while a value is out of range)";
constexpr const char* kCasingTooltip =
    "Casing size: outside diameter in inches, weight in pounds per foot and inside diameter";
constexpr const char* kPresetTooltip =
    "Separator preset: a shipped or saved separator design; typing a separator dimension makes "
    "it (User Defined)";

template <class View> void SetTooltip(const char* name, const std::string& text) {
    if (View* view = Find<View>(name)) {
        view->SetTooltip(text);
    }
}

void SetTooltips() {
    for (const FieldName& field : kFieldNames) {
        SetTooltip<CTextEditView>(field.view, FieldTooltip(field));
    }
    SetTooltip<CTextEditView>(ViewName::kMaxCapacity, kCapacityTooltip);
    SetTooltip<CLabelView>(ViewName::kRecommendedDipTubeLength, kRecommendedTooltip);
    SetTooltip<CComboBoxView>(ViewName::kCasingSize, kCasingTooltip);
    SetTooltip<CComboBoxView>(ViewName::kSeparatorPreset, kPresetTooltip);
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

CParametersController::CParametersController() = default;
CParametersController::~CParametersController() = default;

void CParametersController::Initialise() {
    SetTooltips();
    FillPresetList();
    if (auto* capacity = Find<CTextEditView>(ViewName::kMaxCapacity)) {
        capacity->SetText(FormatNumber(0));
        capacity->SetValid(true);
    }
    Refresh();
    using C = CParametersController;
    SubscribeEvent(EventName::kTagsReloaded, this, &C::ReloadLists);
    SubscribeEvent(EventName::kSimulationFrameUpdated, this, &C::ShowResults);
    SubscribeEvent(EventName::kWellParametersUpdated, this, &C::Refresh);
    SubscribeEvent(EventName::kResetToDefaults, this, &C::RestoreDefaults);
    SubscribeEvent(EventName::kSeparatorPresetChanged, this, &C::ApplyPreset);
    SubscribeEvent(EventName::kCasingSizeChanged, this, &C::ApplyCasing);
    for (const TypedField& field : kTypedFields) {
        const std::string name = field.name;
        SubscribeEvent(field.changedEvent, this, [this, name] { ApplyTypedField(name); });
    }
    // Every typed field is tidied when it loses the focus, in the fields' order.
    for (const TypedField& field : kTypedFields) {
        const std::string name = field.name;
        SubscribeEvent(LoseFocusEvent(name), this, [this, name] { TidyField(name); });
    }
}

// A casing picked from the list ends any edit of a typed field.
void CParametersController::ApplyCasing() {
    if (refreshing_ || ListsAreBeingRebuilt()) {
        return;
    }
    editedField_.clear();
    ApplyTypedValues();
}

// The first change of a field after it lost the focus, or after another field or the model
// changed, begins an edit: the value the field had then is the one a range failure restores,
// never one of the keystrokes in between (typing 35 over 8 passes through 3).
void CParametersController::ApplyTypedField(const std::string& name) {
    const TypedField* field = FieldOf(name);
    if (!refreshing_ && !ListsAreBeingRebuilt()) {
        if (editedField_ != name) {
            editedField_ = name;
            valueBeforeEdit_ = (Model().GetParameters().*field->get)();
        }
        ApplyTypedValues();
    }
    if (field->clearsPreset) {
        ClearPreset();
    }
}

void CParametersController::ApplyTypedValues() {
    FlagScope scope(applying_);
    WellParameters candidate = Model().GetParameters();
    double typed[std::size(kTypedFields)];
    for (size_t i = 0; i < std::size(kTypedFields); ++i) {
        typed[i] = ParseField(kTypedFields[i].name);
    }
    double casing = 0;
    if (auto* combo = Find<CComboBoxView>(ViewName::kCasingSize)) {
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

void CParametersController::ClearPreset() {
    if (presetApplying_) {
        return;
    }
    auto* presets = Find<CComboBoxView>(ViewName::kSeparatorPreset);
    if (!presets) {
        return;
    }
    FlagScope scope(applying_);
    presets->ShowDefaultText();
    Model().ApplySeparatorPreset(nullptr);
}

bool CParametersController::Validate(WellParameters& candidate) {
    // The range rules judge the values as typed and restore those that fail; the consistency
    // rules then judge the values that will be in use.
    const std::vector<RuleOutcome> typed = CheckParameterRules(candidate);
    for (const RuleOutcome& outcome : typed) {
        if (!outcome.passed && IsRangeRule(outcome.rule)) {
            Restore(outcome.rule, candidate);
        }
    }
    const std::vector<RuleOutcome> inUse = CheckParameterRules(candidate);
    bool valid = true;
    for (size_t i = 0; i < typed.size(); ++i) {
        const bool range = IsRangeRule(typed[i].rule);
        if (range) {
            MarkRangeRule(typed[i]);
        } else { // a consistency rule follows the range rule of its first field
            MarkConsistencyRule(inUse[i], typed[i - 1].passed);
        }
        valid = valid && (range ? typed[i] : inUse[i]).passed;
    }
    return valid;
}

// A range failure restores the value the field had before the edit that is under way, or the
// model's value for any other field.
void CParametersController::Restore(ParameterRule rule, WellParameters& candidate) const {
    const RuleViews* views = ViewsOf(rule);
    const TypedField* field = views ? FieldOf(views->field) : nullptr;
    if (!field) {
        return; // the casing size is never restored
    }
    const double restored =
        field->name == editedField_ ? valueBeforeEdit_ : (Model().GetParameters().*field->get)();
    (candidate.*field->set)(restored);
}

void CParametersController::MarkRangeRule(const RuleOutcome& outcome) {
    const RuleViews* views = ViewsOf(outcome.rule);
    if (!views || (outcome.passed && views->passIsSilent)) {
        return;
    }
    SetFieldValid(views->field, outcome.passed);
    ShowWarning(views->warning, !outcome.passed);
}

// A failed consistency rule shows its warning in place of the range warning and marks both
// fields. A passed one hides its warning; it marks its field valid and hides the range warning
// only when the field's range rule passed too.
void CParametersController::MarkConsistencyRule(const RuleOutcome& outcome, bool rangePassed) {
    const RuleViews* views = ViewsOf(outcome.rule);
    ShowWarning(views->warning, !outcome.passed);
    if (!outcome.passed) {
        ShowWarning(views->rangeWarning, false);
        SetFieldValid(views->field, false);
        SetFieldValid(views->otherField, false);
    } else if (rangePassed) {
        ShowWarning(views->rangeWarning, false);
        SetFieldValid(views->field, true);
    }
}

void CParametersController::SetFieldValid(const std::string& field, bool valid) {
    if (auto* edit = Find<CTextEditView>(field)) {
        edit->SetValid(valid);
    }
}

void CParametersController::ShowWarning(const std::string& name, bool shown) {
    if (auto* warning = Find<CWarningView>(name)) {
        shown ? warning->Show() : warning->Hide();
    }
}

void CParametersController::Refresh() {
    if (applying_) {
        return;
    }
    FlagScope scope(refreshing_);
    editedField_.clear(); // the model changed under the panel: the fields show it again
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
void CParametersController::SelectCasing() {
    auto* combo = Find<CComboBoxView>(ViewName::kCasingSize);
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

void CParametersController::ApplyPreset() {
    if (ListsAreBeingRebuilt()) {
        return;
    }
    FlagScope scope(presetApplying_);
    if (auto* presets = Find<CComboBoxView>(ViewName::kSeparatorPreset)) {
        if (auto* row = dynamic_cast<const TSeparatorPreset*>(presets->GetSelectedItem())) {
            const SeparatorPreset preset = ValueOf(*row);
            Model().ApplySeparatorPreset(&preset);
        }
    }
}

void CParametersController::RestoreDefaults() {
    FlagScope scope(presetApplying_);
    Model().ResetToDefaults();
    if (auto* presets = Find<CComboBoxView>(ViewName::kSeparatorPreset)) {
        presets->SelectByText(Model().GetPresetName());
    }
}

void CParametersController::TidyField(const std::string& name) {
    if (editedField_ == name) {
        editedField_.clear();
    }
    auto* field = Find<CTextEditView>(name);
    if (!field || !field->IsValid()) {
        return;
    }
    const std::string tidy = FormatNumber(ParseNumber(field->GetText()));
    if (tidy != field->GetText()) {
        field->SetText(tidy);
    }
}

// While a value in use breaks a range rule (a preset too wide for the casing, a casing changed
// under a design), the results do not apply: both show an em dash. The capacity keeps its own
// colours (the invalid red is hard to read on its blue box); the field at fault is the red one.
void CParametersController::ShowResults() {
    const SimulationState& state = Model().GetState();
    const bool apply = !BreaksARangeRule(Model().GetParameters());
    if (auto* capacity = Find<CTextEditView>(ViewName::kMaxCapacity)) {
        capacity->SetText(apply ? FormatNumber(state.maximumCapacity) : kResultNotApplying);
        capacity->SetValid(true);
    }
    if (auto* label = Find<CLabelView>(ViewName::kRecommendedDipTubeLength)) {
        label->SetText(apply ? FormatNumber(RoundToThousandths(state.recommendedDipTubeLength)) +
                                   " in"
                             : kResultNotApplying);
    }
}

void CParametersController::ReloadLists() {
    FillPresetList();
    // The casing list was reset by the reload too. The refresh rewrites the fields, which
    // must not count as typing that clears the preset.
    FlagScope scope(presetApplying_);
    Refresh();
    // The reload put the designer's placeholder back in the label; the first frame after it
    // shows the model's results.
    ShowResults();
}

// The rows of the previous user presets are removed from the list before they are deleted.
void CParametersController::FillPresetList() {
    auto* presets = Find<CComboBoxView>(ViewName::kSeparatorPreset);
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

bool CParametersController::SavePreset(std::string& failure) {
    const auto* name = Find<CTextEditView>(ViewName::kSavePresetName);
    if (!name) {
        return true;
    }
    const SeparatorPreset* preset = Model().SaveUserPreset(name->GetText(), &failure);
    if (!preset) {
        return failure.empty();
    }
    if (auto* presets = Find<CComboBoxView>(ViewName::kSeparatorPreset)) {
        userPresetRows_.push_back(RowOf(*preset));
        presets->AddItems({userPresetRows_.back().get()});
        presets->SelectItem(userPresetRows_.back().get()); // the new row, not an older twin
        Model().SetPresetName(preset->displayName);
    }
    return true;
}
