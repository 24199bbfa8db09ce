#include "app/controllers/PresetsController.h"

#include "app/controllers/ParametersController.h"
#include "app/model/NumberFormat.h"
#include "app/model/Units.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/ParametersPanelView.h"

#include <algorithm>

namespace {
constexpr const char* kRenameTitle = "Rename Preset";
constexpr const char* kDeleteTitle = "Delete Preset";
constexpr const char* kSaveTitle = "Save Preset";
constexpr const char* kShippedNote = "The shipped presets cannot be changed.";

// On one line and without the blanks at its end, as the model saves names.
std::string Trimmed(const std::string& typed) {
    const std::string text = OneLineText(typed);
    const size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
} // namespace

CPresetsController::CPresetsController(CGasSeparatorModel& model, CParametersController& parameters,
                                       CAppView& app)
    : model_(model), parameters_(parameters), app_(app) {}

void CPresetsController::Initialise() {
    SubscribeEvent(EventName::kRenamePreset, this, &CPresetsController::RenamePreset);
    SubscribeEvent(EventName::kDeletePreset, this, &CPresetsController::DeletePreset);
}

void CPresetsController::Tell(const std::string& title, const std::string& text) const {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(title, text, MessageIcon::Information);
    }
}

std::vector<std::string> CPresetsController::ShippedNames() const {
    std::vector<std::string> names;
    for (const TComboBoxItem* item : app_.ParametersPanel().SeparatorPreset().Items()) {
        if (const auto* row = dynamic_cast<const TSeparatorPreset*>(item)) {
            names.push_back(row->displayName);
        }
    }
    for (const SeparatorPreset& preset : model_.GetUserPresets()) {
        if (const auto it = std::find(names.begin(), names.end(), preset.displayName);
            it != names.end()) {
            names.erase(it);
        }
    }
    return names;
}

bool CPresetsController::NameTaken(const std::string& name) const {
    const std::vector<std::string> shipped = ShippedNames();
    const auto& user = model_.GetUserPresets();
    return std::find(shipped.begin(), shipped.end(), name) != shipped.end() ||
           std::any_of(user.begin(), user.end(),
                       [&](const SeparatorPreset& preset) { return preset.displayName == name; });
}

std::string CPresetsController::FreeName(const std::string& name) const {
    for (int n = 2;; ++n) {
        const std::string candidate = name + " (" + std::to_string(n) + ")";
        if (!NameTaken(candidate)) {
            return candidate;
        }
    }
}

// The list shows the presets again from their files, with `presetName`'s row in use.
void CPresetsController::ShowPresets(const std::string& presetName) {
    model_.SetPresetName(presetName);
    parameters_.FillPresetList();
}

int CPresetsController::PickUserPreset(const std::string& title, const std::string& pickLabel) {
    IShell* shell = Platform().shell;
    if (!shell) {
        return -1;
    }
    const std::vector<SeparatorPreset>& user = model_.GetUserPresets();
    if (user.empty()) {
        Tell(title, std::string("You have no presets of your own yet (Save Preset makes one). ") +
                        kShippedNote);
        return -1;
    }
    TableRequest table;
    table.title = title;
    table.intro = std::string("Pick one of your presets. ") + kShippedNote;
    table.headers = {"Preset", "Separator OD", "Separator ID", "Dip tube length"};
    const UnitSystem units = model_.GetUnitSystem();
    const auto row = [units](const std::string& name, const WellParameters& p) {
        return std::vector<std::string>{
            name, FormatWithUnit(p.GetSeparatorOD(), Quantity::Diameter, units),
            FormatWithUnit(p.GetSeparatorID(), Quantity::Diameter, units),
            FormatWithUnit(p.GetDipTubeLength(), Quantity::Length, units)};
    };
    for (const SeparatorPreset& preset : user) {
        table.rows.push_back(row(preset.displayName, preset.dimensions));
    }
    table.apartHeading = "Shipped presets (cannot be changed)";
    const std::vector<std::string> names = ShippedNames();
    for (const TComboBoxItem* item : app_.ParametersPanel().SeparatorPreset().Items()) {
        const auto* shipped = dynamic_cast<const TSeparatorPreset*>(item);
        if (shipped && std::find(names.begin(), names.end(), shipped->displayName) != names.end()) {
            table.apart.push_back(row(shipped->displayName, shipped->preset.dimensions));
        }
    }
    table.pickLabel = pickLabel;
    const std::optional<int> picked = shell->ChooseRow(table);
    return picked && *picked >= 0 && static_cast<size_t>(*picked) < user.size() ? *picked : -1;
}

void CPresetsController::RenamePreset() {
    const int index = PickUserPreset(kRenameTitle, "Rename");
    IShell* shell = Platform().shell;
    if (index < 0 || !shell) {
        return;
    }
    const std::string old = model_.GetUserPresets()[static_cast<size_t>(index)].displayName;
    const std::optional<std::string> typed =
        shell->AskText(kRenameTitle, "The preset's new name:", old);
    const std::string name = typed ? Trimmed(*typed) : old;
    if (name == old) {
        return;
    }
    if (name.empty()) {
        Tell(kRenameTitle, "Nothing was renamed: a preset needs a name.");
        return;
    }
    if (NameTaken(name)) {
        Tell(kRenameTitle, "Nothing was renamed: a preset named " + Quoted(name) +
                               " exists already. Choose another name.");
        return;
    }
    std::string failure;
    if (!model_.RenameUserPreset(static_cast<size_t>(index), name, failure)) {
        Tell(kRenameTitle, "The preset could not be renamed: " + failure + ".");
        return;
    }
    ShowPresets(model_.GetPresetName() == old ? name : model_.GetPresetName());
}

void CPresetsController::DeletePreset() {
    const int index = PickUserPreset(kDeleteTitle, "Delete");
    IShell* shell = Platform().shell;
    if (index < 0 || !shell) {
        return;
    }
    const std::string name = model_.GetUserPresets()[static_cast<size_t>(index)].displayName;
    if (shell->AskChoice(kDeleteTitle,
                         "Delete your preset " + Quoted(name) +
                             "? Its file is removed; the design in use keeps its values.",
                         {"Delete", "Cancel"}) != 0) {
        return;
    }
    std::string failure;
    if (!model_.DeleteUserPreset(static_cast<size_t>(index), failure)) {
        Tell(kDeleteTitle, "The preset could not be deleted: " + failure + ".");
        return;
    }
    ShowPresets(model_.GetPresetName() == name ? std::string() : model_.GetPresetName());
}

CPresetsController::SaveResult CPresetsController::SavePreset(const std::string& typed,
                                                              std::string& failure) {
    const std::string name = Trimmed(typed);
    if (!parameters_.MayKeepValuesInUse("preset", true)) {
        return SaveResult::Cancelled;
    }
    if (!NameTaken(name)) {
        return parameters_.SavePreset(name, failure) ? SaveResult::Saved : SaveResult::Failed;
    }
    IShell* shell = Platform().shell;
    const auto& user = model_.GetUserPresets();
    const auto mine = std::find_if(user.begin(), user.end(),
                                   [&](const SeparatorPreset& p) { return p.displayName == name; });
    const std::string both = FreeName(name);
    std::vector<std::string> buttons = {"Keep Both", "Cancel"};
    std::string text = Quoted(name) + " is a shipped preset. " + kShippedNote +
                       " Keep both, the new one as " + Quoted(both) + "?";
    if (mine != user.end()) {
        buttons.insert(buttons.begin(), "Replace");
        text = "A preset named " + Quoted(name) +
               " exists already. Replace it with these dimensions, or keep both, the new one as " +
               Quoted(both) + "?";
    }
    const std::optional<int> answer =
        shell ? shell->AskChoice(kSaveTitle, text, buttons) : std::nullopt;
    if (!answer || buttons[static_cast<size_t>(*answer)] == "Cancel") {
        return SaveResult::Cancelled;
    }
    if (buttons[static_cast<size_t>(*answer)] == "Keep Both") {
        return parameters_.SavePreset(both, failure) ? SaveResult::Saved : SaveResult::Failed;
    }
    if (!model_.ReplaceUserPreset(static_cast<size_t>(mine - user.begin()), failure)) {
        return SaveResult::Failed;
    }
    ShowPresets(name);
    return SaveResult::Saved;
}
