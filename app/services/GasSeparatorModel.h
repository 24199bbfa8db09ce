#pragma once
// The one model of the program: the current parameters, the current simulation state, the
// name of the separator preset the dimensions came from, and the user's saved presets.
// Every replacement of the parameters is announced with "WellParametersUpdated", every
// simulation step with "SimulationFrameUpdated".
//
// Error policy of the model and its files: nothing here throws to its callers. A preset file
// that cannot be used is skipped and logged at Warning; a defaults file that cannot be used is
// set aside, logged at Warning and described in a notice for the user (TakeDefaultsNotice); a
// file that cannot be written is logged at Error and reported by the result (a null preset and
// the reason). Values are not validated here; the parameters controller does that. The
// settings file parsers (DefaultsFile.h) throw SettingsFileError, which the model catches.

#include "app/model/CaseFile.h"
#include "app/model/SeparatorPreset.h"
#include "app/model/SimulationState.h"
#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

class CGasSeparatorModel {
public:
    // In-memory defaults and a zeroed state, then the defaults file, then the first
    // "WellParametersUpdated", then the model's own subscription.
    void Initialise();
    // Writes the defaults file; the reason it could not be written, or empty.
    std::string Shutdown();

    // The running flag may be written in place (the pump controller does so, without events).
    WellParameters& GetParameters() { return parameters_; }
    const WellParameters& GetParameters() const { return parameters_; }
    const SimulationState& GetState() const { return state_; }

    void SetParameters(const WellParameters& parameters);
    const std::string& GetPresetName() const { return presetName_; }
    void SetPresetName(const std::string& name) { presetName_ = name; }
    // The units the user sees numbers in; the model computes in oilfield units whatever it is.
    // Kept in the defaults file; Reset to Defaults leaves it. Raises nothing.
    UnitSystem GetUnitSystem() const { return units_; }
    void SetUnitSystem(UnitSystem units) { units_ = units; }

    // The open case's particulars and file (empty: never saved). Raise nothing.
    const CaseDetails& GetCaseDetails() const { return caseDetails_; }
    void SetCaseDetails(const CaseDetails& details) { caseDetails_ = details; }
    const std::filesystem::path& GetCaseFile() const { return caseFile_; }
    void SetCaseFile(const std::filesystem::path& file) { caseFile_ = file; }
    // The design as a case holds it; taking one replaces the parameters (the pump keeps
    // running or not), the preset name, the units and the particulars, then raises
    // "WellParametersUpdated".
    CaseDesign GetDesign() const;
    void SetDesign(const CaseDesign& design);
    // The shipped defaults' inputs and preset name, as a new case starts from them.
    static CaseDesign ShippedDesign();

    // Copies a finished simulation step over the model's state, then raises
    // "SimulationFrameUpdated".
    void CopyStateFrom(const SimulationState& state);

    // With a preset: takes its display name and its five dimensions, then raises
    // "WellParametersUpdated". With none: only empties the preset name.
    void ApplySeparatorPreset(const SeparatorPreset* preset);

    // The defaults file in the user's settings folder. A file that cannot be used (not YAML,
    // a missing key, a value that is not a number, not a regular file, over 1 MiB) is set
    // aside under a new name and the shipped defaults are used instead; nothing the user had
    // is destroyed. Should it not even be set aside, it is left alone and not saved over.
    // Reads the defaults file into the parameters and the preset name; raises nothing.
    void LoadDefaults();
    // What the user should be told about the defaults file read last (it was unusable and
    // set aside), once; empty when there is nothing to tell.
    std::string TakeDefaultsNotice() { return std::exchange(defaultsNotice_, {}); }
    // Replaces the defaults file by the shipped one, takes the shipped values, raises
    // "WellParametersUpdated".
    void ResetToDefaults();
    // Writes the defaults file from the current parameters and preset name. The reason when the
    // values were not saved and the user should hear it (not for a read-only file, which is the
    // user's way of keeping it); empty otherwise.
    std::string SaveDefaults();

    // Replaces the user presets by the *.seppreset.yml files of the user's documents folder
    // (sorted by file name; unreadable or broken files are skipped) and returns them.
    const std::vector<SeparatorPreset>& LoadUserPresets();
    // Writes the current separator dimensions as a new preset file named after `name` (never
    // over an existing file), adds it to the user presets and returns it, or none: a blank
    // name, or a failure whose reason goes to `failure`. The pointer is valid until the user
    // presets change again.
    const SeparatorPreset* SaveUserPreset(const std::string& name, std::string* failure = nullptr);
    const std::vector<SeparatorPreset>& GetUserPresets() const { return userPresets_; }
    // The user preset at `index` renamed in its file, replaced by the current separator
    // dimensions (its name kept), or deleted with its file. False with the reason in `failure`;
    // then the preset and its file are as they were.
    bool RenameUserPreset(size_t index, const std::string& name, std::string& failure);
    bool ReplaceUserPreset(size_t index, std::string& failure);
    bool DeleteUserPreset(size_t index, std::string& failure);

    CGasSeparatorModel();
    ~CGasSeparatorModel();

private:
    void OnWellParametersUpdated();
    void SetAsideUnusableDefaults(const std::filesystem::path& path, const std::string& problem);
    void WriteShippedDefaults(const std::filesystem::path& path);
    void ReportUnwrittenDefaults(const std::filesystem::path& path, const std::error_code& error);
    void UseShippedDefaults();
    const SeparatorPreset* LoadUserPreset(const std::filesystem::path& path);

    WellParameters parameters_;
    SimulationState state_;
    std::string presetName_;
    UnitSystem units_ = UnitSystem::Oilfield;
    std::vector<SeparatorPreset> userPresets_;
    std::vector<std::filesystem::path> userPresetFiles_; // the file of each user preset
    bool RewriteUserPreset(size_t index, const SeparatorPreset& preset, std::string& failure);
    CaseDetails caseDetails_;
    std::filesystem::path caseFile_;
    std::string defaultsNotice_;
    bool keepUnusableDefaults_ = false; // an unusable file that could not be set aside
    bool readOnlyDefaultsTold_ = false; // the log has said that the file is kept
};
