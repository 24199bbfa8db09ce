// The user's presets changed in place: renamed, replaced by the current dimensions, deleted.

#include "app/services/GasSeparatorModel.h"

#include "app/files/AtomicFile.h"
#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "common/log_manager/Log_Manager.h"

namespace {
constexpr const char* kLogCategory = "CGasSeparatorModel";
} // namespace

bool CGasSeparatorModel::RewriteUserPreset(size_t index, const SeparatorPreset& preset,
                                           std::string& failure) {
    if (index >= userPresets_.size() || index >= userPresetFiles_.size()) {
        failure = "there is no such preset";
        return false;
    }
    const std::filesystem::path& path = userPresetFiles_[index];
    std::error_code error;
    try {
        if (!WriteFileAtomically(path, FormatPresetText(preset), error)) {
            failure = "\"" + path.string() + "\": " + WriteFailureReason(path, error);
        }
    } catch (const SettingsFileError& problem) {
        failure = problem.what();
    }
    if (!failure.empty()) {
        LOG_ERROR(kLogCategory, "Cannot change the preset: %s", failure.c_str());
        return false;
    }
    userPresets_[index] = preset;
    return true;
}

bool CGasSeparatorModel::RenameUserPreset(size_t index, const std::string& name,
                                          std::string& failure) {
    if (index >= userPresets_.size()) {
        failure = "there is no such preset";
        return false;
    }
    SeparatorPreset renamed = userPresets_[index];
    renamed.displayName = OneLineText(name);
    return RewriteUserPreset(index, renamed, failure);
}

bool CGasSeparatorModel::ReplaceUserPreset(size_t index, std::string& failure) {
    if (index >= userPresets_.size()) {
        failure = "there is no such preset";
        return false;
    }
    return RewriteUserPreset(
        index, SeparatorPreset::Of(userPresets_[index].displayName, parameters_), failure);
}

bool CGasSeparatorModel::DeleteUserPreset(size_t index, std::string& failure) {
    if (index >= userPresets_.size() || index >= userPresetFiles_.size()) {
        failure = "there is no such preset";
        return false;
    }
    std::error_code error;
    if (!std::filesystem::remove(userPresetFiles_[index], error) && error) {
        failure = "\"" + userPresetFiles_[index].string() + "\": " + error.message();
        LOG_ERROR(kLogCategory, "Cannot delete the preset: %s", failure.c_str());
        return false;
    }
    userPresets_.erase(userPresets_.begin() + static_cast<std::ptrdiff_t>(index));
    userPresetFiles_.erase(userPresetFiles_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

CaseDesign CGasSeparatorModel::GetDesign() const {
    CaseDesign design{parameters_, presetName_, units_, caseDetails_};
    design.parameters.SetPumpRunning(false);
    return design;
}

void CGasSeparatorModel::SetDesign(const CaseDesign& design) {
    const bool running = parameters_.GetPumpRunning();
    parameters_ = design.parameters;
    parameters_.SetPumpRunning(running);
    presetName_ = design.presetName;
    const bool unitsChanged = units_ != design.units;
    units_ = design.units;
    caseDetails_ = design.details;
    RaiseEvent(EventName::kWellParametersUpdated);
    if (unitsChanged) {
        RaiseEvent(EventName::kUnitsChanged); // a case (or an undo) in the other unit system
    }
}
