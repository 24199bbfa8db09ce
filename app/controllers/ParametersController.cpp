#include "app/controllers/ParametersController.h"

#include "app/model/CapacityModel.h"
#include "app/model/DesignReadouts.h"
#include "app/model/DesignSheet.h"
#include "app/model/NumberFormat.h"
#include "app/model/TypedNumber.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/ParametersPanelView.h"
#include "app/window_manager/SavePresetView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"

#include <optional>

namespace {
// Flags are set for the length of a handler and always put back as they were, also on
// exceptions (scopes nest).
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = before_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

// What the results show while a value in use breaks a range rule: they do not apply.
constexpr const char* kResultNotApplying = "\u2014"; // an em dash

std::string CapacityTooltip(UnitSystem units) {
    return std::string("Maximum capacity in ") + UnitOf(Quantity::Rate, units).longName +
           ": the production rate at which the liquid in the separator annulus flows down as "
           "fast as the gas bubbles rise (\u2014 while a value is out of range)";
}
std::string RecommendedTooltip(UnitSystem units) {
    return std::string("Recommended dip tube length in ") +
           UnitOf(Quantity::Length, units).longName +
           ": how far a gas bubble rises during one pump stroke, times a design factor; marked "
           "\u26A0 while the dip tube is shorter (\u2014 while a value is out of range)";
}
constexpr const char* kCasingTooltip =
    "Casing size: outside diameter in inches, weight in pounds per foot and inside diameter";
constexpr const char* kPresetTooltip =
    "Separator preset: a shipped or saved separator design; typing a separator dimension makes "
    "it (User Defined)";

// The caption's second line: what the quantity is, then its unit ("separator OD, in").
std::string CaptionDetail(const ParameterEntry& parameter, UnitSystem units) {
    const std::string unit = parameter.UnitIn(units).symbol;
    return *parameter.captionDetail ? std::string(parameter.captionDetail) + ", " + unit : unit;
}

// A range rule's failure also decides its box's mark while it passes, unless a consistency rule
// marks the same box after it.
bool PassIsSilent(size_t index) {
    const std::span<const Rule> rules = Rules();
    return index + 1 < rules.size() && !rules[index + 1].IsRange() &&
           rules[index + 1].parameter == rules[index].parameter;
}

// A preset list row for a model preset.
std::unique_ptr<TSeparatorPreset> RowOf(const SeparatorPreset& preset) {
    auto row = std::make_unique<TSeparatorPreset>();
    row->type = "seppreset";
    row->displayName = preset.displayName;
    row->preset = preset;
    return row;
}
} // namespace

CParametersController::CParametersController(CGasSeparatorModel& model, CAppView& app,
                                             const CWindowManager& windowManager)
    : model_(model), app_(app), panel_(app.ParametersPanel()), windowManager_(windowManager) {}

CParametersController::~CParametersController() = default;

void CParametersController::Initialise() {
    FindViews();
    FillPresetList();
    if (capacity_) {
        capacity_->SetText(FormatNumber(0));
        capacity_->SetValid(true);
    }
    Refresh();
    using C = CParametersController;
    SubscribeEvent(EventName::kTagsReloaded, this, &C::ReloadLists);
    SubscribeEvent(EventName::kSimulationFrameUpdated, this, &C::ShowResults);
    SubscribeEvent(EventName::kWellParametersUpdated, this, &C::Refresh);
    SubscribeEvent(EventName::kResetToDefaults, this, &C::RestoreDefaults);
    SubscribeEvent(EventName::kSeparatorPresetChanged, this, &C::ApplyPreset);
    SubscribeEvent(EventName::kCasingSizeChanged, this, &C::ApplyCasing);
    SubscribeEvent(EventName::kUnitsChanged, this, &C::OnUnitsChanged);
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.IsTyped()) {
            SubscribeEvent(parameter.changedEvent, this,
                           [this, &parameter] { ApplyTypedField(parameter); });
        } else if (parameter.fromList && parameter.id != ParameterId::CasingSize) {
            SubscribeEvent(parameter.changedEvent, this, &C::ApplyListChoice);
        }
    }
    // Every typed field is tidied when it loses the focus, in the table's order.
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.IsTyped()) {
            SubscribeEvent(LoseFocusEvent(parameter.field), this,
                           [this, &parameter] { TidyField(parameter); });
        }
    }
}

void CParametersController::FindViews() {
    fields_.clear();
    lists_.clear();
    for (const ParameterEntry& parameter : Parameters()) {
        fields_.push_back(parameter.IsTyped() ? app_.Field(parameter.field) : nullptr);
        const bool ownList = parameter.fromList && parameter.id != ParameterId::CasingSize;
        lists_.push_back(ownList ? app_.List(parameter.field) : nullptr);
    }
    warnings_.clear();
    for (const Rule& rule : Rules()) {
        warnings_.push_back(*rule.Warning() ? app_.Warning(rule.Warning()) : nullptr);
    }
    capacity_ = app_.Field(ViewName::kMaxCapacity);
    LabelViews();
}

UnitSystem CParametersController::Units() const {
    return model_.GetUnitSystem();
}

// Every number, caption, tooltip and warning in the new units; an edit under way ends.
void CParametersController::OnUnitsChanged() {
    LabelViews();
    Refresh();
    ShowResults();
}

// Captions, tooltips and the range warnings' texts, all from the table.
void CParametersController::LabelViews() {
    const UnitSystem units = Units();
    for (const ParameterEntry& parameter : Parameters()) {
        if (CTextEditView* field = FieldOf(parameter)) {
            field->SetCaption(parameter.caption, CaptionDetail(parameter, units));
            field->SetTooltip(FieldTooltip(parameter, units));
        }
        if (CComboBoxView* list = ListOf(parameter)) {
            list->SetTooltip(parameter.fullName);
        }
    }
    for (size_t i = 0; i < Rules().size(); ++i) {
        if (warnings_[i] && Rules()[i].IsRange()) {
            warnings_[i]->SetTitle(Rules()[i].parameter->Label() + " out of range");
            warnings_[i]->SetText(RangeWarningText(*Rules()[i].parameter, units));
        }
    }
    if (capacity_) {
        capacity_->SetCaption("Maximum capacity",
                              std::string(UnitOf(Quantity::Rate, units).symbol) +
                                  ", separator limit");
        capacity_->SetTooltip(CapacityTooltip(units));
    }
    panel_.RecommendedDipTubeLength().SetTooltip(RecommendedTooltip(units));
    panel_.CasingSize().SetTooltip(kCasingTooltip);
    panel_.SeparatorPreset().SetTooltip(kPresetTooltip);
}

CTextEditView* CParametersController::FieldOf(const ParameterEntry& parameter) const {
    const size_t index = static_cast<size_t>(&parameter - Parameters().data());
    return index < fields_.size() ? fields_[index] : nullptr;
}

CComboBoxView* CParametersController::ListOf(const ParameterEntry& parameter) const {
    const size_t index = static_cast<size_t>(&parameter - Parameters().data());
    return index < lists_.size() ? lists_[index] : nullptr;
}

void CParametersController::ApplyListChoice() {
    if (refreshing_ || ListsAreBeingRebuilt()) {
        return;
    }
    edited_ = nullptr;
    ApplyTypedValues();
}

// A tag refresh recreates the lists with their first row selected and announces it. That is
// not the user's choice: taking it would replace the user's casing and separator with the
// first presets, so those announcements are ignored and the panel is refreshed from the
// model once the tags are reloaded.
bool CParametersController::ListsAreBeingRebuilt() const {
    return windowManager_.IsRefreshingTags();
}

// A casing picked from the list ends any edit of a typed field.
void CParametersController::ApplyCasing() {
    if (refreshing_ || ListsAreBeingRebuilt()) {
        return;
    }
    edited_ = nullptr;
    ApplyTypedValues();
}

// The first change of a field after it lost the focus, or after another field or the model
// changed, begins an edit: the value the field had then is the one a range failure restores,
// never one of the keystrokes in between (typing 35 over 8 passes through 3).
void CParametersController::ApplyTypedField(const ParameterEntry& parameter) {
    FlagScope typing(typing_);
    if (!refreshing_ && !ListsAreBeingRebuilt()) {
        if (edited_ != &parameter) {
            edited_ = &parameter;
            valueBeforeEdit_ = parameter.Get(model_.GetParameters());
        }
        ApplyTypedValues();
    }
    // Only the values in use decide whether the design still is its preset: a value refused
    // (and so never used) leaves the preset as it was, and so does the panel showing the
    // model's values again (in other units, say) when no row is the preset named (one not on
    // this computer, in a colleague's case).
    if (parameter.inPresets && !refreshing_ && !PresetRowMatchesModel()) {
        ClearPreset();
    }
}

bool CParametersController::PresetRowMatchesModel() const {
    const auto* row =
        dynamic_cast<const TSeparatorPreset*>(panel_.SeparatorPreset().GetSelectedItem());
    return row && row->preset.Matches(model_.GetParameters());
}

// The row in use is the one highlighted: of the rows named as the model's preset (twins may
// share a name), the one whose dimensions are in use; the first of that name when none is.
void CParametersController::SelectPresetInUse() {
    CComboBoxView& presets = panel_.SeparatorPreset();
    const std::string& name = model_.GetPresetName();
    for (const TComboBoxItem* item : presets.Items()) {
        const auto* row = dynamic_cast<const TSeparatorPreset*>(item);
        if (row && row->displayName == name && row->preset.Matches(model_.GetParameters())) {
            presets.SelectItem(row);
            return;
        }
    }
    presets.SelectByText(name);
}

void CParametersController::ApplyTypedValues() {
    FlagScope scope(applying_);
    WellParameters candidate = model_.GetParameters();
    for (const ParameterEntry& parameter : Parameters()) {
        const CComboBoxView* list = ListOf(parameter);
        if (const auto* choice = list ? dynamic_cast<TChoice*>(list->GetSelectedItem()) : nullptr) {
            parameter.Set(candidate, choice->value);
        }
    }
    // A computed value is the model's, never what its box shows. A text that cannot be used
    // ("40 kg") is refused as a value out of range is, with its own message.
    unitProblems_.assign(Parameters().size(), {});
    for (const ParameterEntry& parameter : Parameters()) {
        if (const std::optional<TypedValue> typed = TypedIn(parameter, candidate)) {
            unitProblems_[&parameter - Parameters().data()] = typed->problem;
            typed->problem.empty() ? parameter.Set(candidate, typed->model)
                                   : Restore(parameter, candidate);
        }
    }
    // A casing size that matches no row of the list (from the defaults file or a case) stays:
    // the list shows it as its number, and nothing the user did replaced it.
    if (auto* item = dynamic_cast<const TCasingSize*>(panel_.CasingSize().GetSelectedItem())) {
        candidate.SetCasingSize(item->casingSize);
    }
    Validate(candidate);
    ShowUnitProblems();
    model_.SetParameters(candidate);
    ShowComputedFields();
}

// A box whose text cannot be used is marked and its range card says why; the others' cards say
// their range.
void CParametersController::ShowUnitProblems() {
    for (size_t i = 0; i < Rules().size(); ++i) {
        const Rule& rule = Rules()[i];
        if (!rule.IsRange() || !warnings_[i]) {
            continue;
        }
        const size_t index = static_cast<size_t>(rule.parameter - Parameters().data());
        const std::string& problem = index < unitProblems_.size() ? unitProblems_[index] : "";
        const std::string label = rule.parameter->Label();
        warnings_[i]->SetTitle(label + (problem.empty() ? " out of range" : " not understood"));
        warnings_[i]->SetText(problem.empty() ? RangeWarningText(*rule.parameter, Units())
                                              : problem + ".");
        if (!problem.empty()) {
            SetFieldValid(rule.parameter, false);
            ShowWarning(warnings_[i], true);
        }
    }
}

void CParametersController::ShowComputedFields() {
    FlagScope scope(refreshing_);
    const WellParameters& parameters = model_.GetParameters();
    for (const ParameterEntry& parameter : Parameters()) {
        CTextEditView* field = FieldOf(parameter);
        if (!field || !parameter.computedWhen) {
            continue;
        }
        const bool computed = parameter.IsComputed(parameters);
        field->SetReadOnly(computed);
        const std::string detail = CaptionDetail(parameter, Units());
        field->SetCaption(parameter.caption,
                          computed ? std::string(parameter.computedDetail) + ", " + detail
                                   : detail);
        if (computed) {
            field->SetText(FormatShown(parameter.Get(parameters), parameter.quantity, Units()));
        }
    }
}

// Each list of an input selects the row of the model's value.
void CParametersController::SelectListChoices() {
    for (const ParameterEntry& parameter : Parameters()) {
        if (CComboBoxView* list = ListOf(parameter)) {
            for (const TComboBoxItem* item : list->Items()) {
                const auto* choice = dynamic_cast<const TChoice*>(item);
                if (choice && choice->value == parameter.Get(model_.GetParameters())) {
                    list->SelectItem(choice);
                }
            }
        }
    }
}

// A box that still shows the value as the panel formats it holds that exact value: 69.9 mm read
// back would not be the 2.75 in behind it. Any other text is read as typed. None for an input
// without a box, or one whose box shows a computed value.
std::optional<TypedValue> CParametersController::TypedIn(const ParameterEntry& parameter,
                                                         const WellParameters& values) const {
    const CTextEditView* field = FieldOf(parameter);
    if (!field || parameter.IsComputed(values) ||
        field->GetText() == FormatShown(parameter.Get(values), parameter.quantity, Units())) {
        return std::nullopt;
    }
    return ReadTyped(field->GetText(), parameter, Units(), Platform().decimalComma);
}

std::vector<RefusedText> CParametersController::RefusedTexts() const {
    std::vector<RefusedText> refused;
    const WellParameters& inUse = model_.GetParameters();
    for (const ParameterEntry& parameter : Parameters()) {
        // A text in use was read into the model exactly as it reads now.
        const std::optional<TypedValue> typed = TypedIn(parameter, inUse);
        if (typed && (!typed->problem.empty() || typed->model != parameter.Get(inUse))) {
            refused.push_back({&parameter, FieldOf(parameter)->GetText(), typed->problem.empty()});
        }
    }
    return refused;
}

bool CParametersController::MayKeepValuesInUse(const std::string& what, bool separatorOnly) const {
    std::vector<RefusedText> refused = RefusedTexts();
    if (separatorOnly) {
        std::erase_if(refused, [](const RefusedText& text) { return !text.parameter->inPresets; });
    }
    IShell* shell = Platform().shell;
    if (refused.empty() || !shell) {
        return true;
    }
    std::string lines;
    for (const RefusedText& text : refused) {
        lines += RefusedTextSentence(text, model_.GetParameters(), Units()) + ".\n";
    }
    const std::optional<int> answer = shell->AskChoice(
        "Texts Not in Use",
        lines + "\nThe " + what + " keeps the values in use. Save it with them, or cancel and " +
            (refused.size() == 1 ? "correct the box?" : "correct the boxes?"),
        {"Save", "Cancel"});
    return answer == 0;
}

void CParametersController::ClearPreset() {
    if (presetApplying_) {
        return;
    }
    FlagScope scope(applying_);
    panel_.SeparatorPreset().ShowDefaultText();
    model_.ApplySeparatorPreset(nullptr);
}

bool CParametersController::Validate(WellParameters& candidate) {
    // The range rules judge the values as typed and restore those that fail; the consistency
    // rules then judge the values that will be in use. A computed value (the rate from the
    // pump) is not typed: it follows its sources as they are restored and is judged as in use,
    // so a pump speed of 0 marks the pump speed, not also a rate the box does not show.
    std::vector<RuleOutcome> typed = CheckParameterRules(candidate);
    for (const RuleOutcome& outcome : typed) {
        if (!outcome.passed && outcome.rule.IsRange() &&
            !outcome.rule.parameter->IsComputed(candidate)) {
            Restore(*outcome.rule.parameter, candidate);
        }
    }
    const std::vector<RuleOutcome> inUse = CheckParameterRules(candidate);
    for (size_t i = 0; i < typed.size(); ++i) {
        if (typed[i].rule.IsRange() && typed[i].rule.parameter->IsComputed(candidate)) {
            typed[i].passed = inUse[i].passed;
        }
    }
    bool valid = true;
    for (size_t i = 0; i < typed.size(); ++i) {
        const bool range = typed[i].rule.IsRange();
        if (range) {
            MarkRangeRule(i, typed[i].passed);
        } else { // a consistency rule follows the range rule of its first field
            MarkConsistencyRule(i, inUse[i].passed, typed[i - 1].passed, inUse[i - 1].passed);
        }
        valid = valid && (range ? typed[i] : inUse[i]).passed;
    }
    return valid;
}

// A range failure restores the value the field had before the edit that is under way, or the
// model's value for any other field. An input without a box (the casing) is never restored.
void CParametersController::Restore(const ParameterEntry& parameter,
                                    WellParameters& candidate) const {
    if (!FieldOf(parameter)) {
        return;
    }
    const double restored =
        &parameter == edited_ ? valueBeforeEdit_ : parameter.Get(model_.GetParameters());
    parameter.Set(candidate, restored);
}

void CParametersController::MarkRangeRule(size_t rule, bool passed) {
    if (passed && PassIsSilent(rule)) {
        return;
    }
    SetFieldValid(Rules()[rule].parameter, passed);
    ShowWarning(warnings_[rule], !passed);
}

// A failed consistency rule shows its warning in place of the range warning and marks both
// fields; the range warning stays while the value in use still breaks its range. A passed one
// hides its warning; it marks its field valid and hides the range warning only when the field's
// range rule passed too.
void CParametersController::MarkConsistencyRule(size_t rule, bool passed, bool rangePassed,
                                                bool rangeInUsePassed) {
    const Rule& consistency = Rules()[rule];
    CWarningView* rangeWarning = warnings_[rule - 1];
    ShowWarning(warnings_[rule], !passed);
    if (!passed) {
        ShowWarning(rangeWarning, !rangeInUsePassed);
        SetFieldValid(consistency.parameter, false);
        SetFieldValid(consistency.Other(), false);
    } else if (rangePassed) {
        ShowWarning(rangeWarning, false);
        SetFieldValid(consistency.parameter, true);
    }
}

void CParametersController::SetFieldValid(const ParameterEntry* parameter, bool valid) {
    if (CTextEditView* field = parameter ? FieldOf(*parameter) : nullptr) {
        field->SetValid(valid);
    }
}

void CParametersController::ShowWarning(CWarningView* warning, bool shown) {
    if (warning) {
        shown ? warning->Show() : warning->Hide();
    }
}

void CParametersController::Refresh() {
    if (applying_) {
        return;
    }
    FlagScope scope(refreshing_);
    edited_ = nullptr; // the model changed under the panel: the fields show it again
    SelectCasing();
    const WellParameters& parameters = model_.GetParameters();
    for (const ParameterEntry& parameter : Parameters()) {
        if (CTextEditView* field = FieldOf(parameter)) {
            field->SetText(FormatShown(parameter.Get(parameters), parameter.quantity, Units()));
        }
    }
    unitProblems_.clear(); // the boxes show the model's values again
    SelectListChoices();
    WellParameters own = model_.GetParameters();
    Validate(own);
    ShowComputedFields();
    if (!app_.IsInteractive()) {
        ShowResults(); // no frame comes while a dialog is open
    }
}

// Selects the first casing preset with exactly the model's casing size; a size that matches
// no preset (from a case or the defaults file) selects no row, and the box shows the size.
void CParametersController::SelectCasing() {
    CComboBoxView& combo = panel_.CasingSize();
    const double casing = model_.GetParameters().GetCasingSize();
    combo.SetUnlistedText("ID " + FormatWithUnit(casing, Quantity::Diameter, Units()) +
                          ", not in the list");
    for (const TComboBoxItem* item : combo.Items()) {
        if (auto* preset = dynamic_cast<const TCasingSize*>(item);
            preset && preset->casingSize == casing) {
            combo.SelectByText(preset->displayName);
            return;
        }
    }
    combo.ShowDefaultText();
}

void CParametersController::ApplyPreset() {
    if (ListsAreBeingRebuilt()) {
        return;
    }
    FlagScope scope(presetApplying_);
    if (auto* row =
            dynamic_cast<const TSeparatorPreset*>(panel_.SeparatorPreset().GetSelectedItem())) {
        model_.ApplySeparatorPreset(&row->preset);
    }
}

void CParametersController::RestoreDefaults() {
    FlagScope scope(presetApplying_);
    model_.ResetToDefaults();
    SelectPresetInUse();
}

void CParametersController::TidyField(const ParameterEntry& parameter) {
    if (edited_ == &parameter) {
        edited_ = nullptr;
    }
    CTextEditView* field = FieldOf(parameter);
    if (!field || !field->IsValid()) {
        return;
    }
    const TypedValue typed =
        ReadTyped(field->GetText(), parameter, Units(), Platform().decimalComma);
    const std::string tidy = FormatShown(typed.model, parameter.quantity, Units());
    if (tidy != field->GetText()) {
        // The value in use stays the one typed: "200 bbl/day" shown as "31.8" in metric is
        // still 200 bbl/day, not the 200.016 that 31.8 m³/day would be.
        FlagScope scope(refreshing_);
        field->SetText(tidy);
    }
}

// While a value in use breaks a range rule (a preset too wide for the casing, a casing changed
// under a design), the results do not apply: both show an em dash. The capacity keeps its own
// colours (the invalid red is hard to read on its blue box); the field at fault is the red one.
void CParametersController::ShowResults() {
    // The figures of the values in use (a simulation step computes the same ones), so a change
    // under an open dialog, where the simulation waits, shows at once.
    const WellParameters& parameters = model_.GetParameters();
    const bool apply = !BreaksARangeRule(parameters);
    if (capacity_) {
        capacity_->SetText(apply
                               ? FormatShown(MaximumCapacityOf(parameters), Quantity::Rate, Units())
                               : kResultNotApplying);
        capacity_->SetValid(true);
    }
    // Marked while the dip tube is shorter than recommended.
    const double recommended = RoundToThousandths(CapacityModel::RecommendedDipTubeLength(
        parameters.GetGasBubbleRiseVelocity(), parameters.GetSPM()));
    const bool shorter = apply && model_.GetParameters().GetDipTubeLength() < recommended;
    const Unit& unit = UnitOf(Quantity::Length, Units());
    panel_.RecommendedDipTubeLength().SetText(
        apply ? FormatShown(recommended, Quantity::Length, Units()) + " " + unit.symbol +
                    (shorter ? " \u26A0" : "")
              : kResultNotApplying);
    panel_.RecommendedDipTubeLength().SetAlert(shorter);
}

void CParametersController::ReloadLists() {
    FindViews();
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
    CComboBoxView& presets = panel_.SeparatorPreset();
    presets.RemoveAddedItems();
    userPresetRows_.clear();
    std::vector<TComboBoxItem*> rows;
    for (const SeparatorPreset& preset : model_.LoadUserPresets()) {
        userPresetRows_.push_back(RowOf(preset));
        rows.push_back(userPresetRows_.back().get());
    }
    if (!rows.empty()) {
        presets.AddItems(rows);
    }
    SelectPresetInUse();
}

bool CParametersController::SavePreset(std::string& failure) {
    return SavePreset(app_.SavePresetDialog().PresetName().GetText(), failure);
}

void CParametersController::TakeDesign(const CaseDesign& design) {
    FlagScope scope(presetApplying_);
    model_.SetDesign(design);
    SelectPresetInUse();
}

bool CParametersController::SavePreset(const std::string& name, std::string& failure) {
    const SeparatorPreset* preset = model_.SaveUserPreset(name, &failure);
    if (!preset) {
        return failure.empty();
    }
    CComboBoxView& presets = panel_.SeparatorPreset();
    userPresetRows_.push_back(RowOf(*preset));
    presets.AddItems({userPresetRows_.back().get()});
    presets.SelectItem(userPresetRows_.back().get()); // the new row, not an older twin
    model_.SetPresetName(preset->displayName);
    return true;
}
