// The model's files: the defaults file in the user's settings folder and the user's separator
// presets in the documents folder.

#include "app/GasSeparatorModel.h"

#include "app/AtomicFile.h"
#include "app/DefaultsFile.h"
#include "app/EventNames.h"
#include "app/EventRegistry.h"
#include "app/NumberFormat.h"
#include "app/platform/UserFolders.h"
#include "app/tags/EmbeddedStore.h"
#include "common/log_manager/Log_Manager.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr const char* kDefaultsFileName = "gasseparator.defaults.yml";
constexpr const char* kPresetSuffix = ".seppreset.yml";
constexpr const char* kLogCategory = "CGasSeparatorModel";

// The first free name of the form "<file>.bad", "<file>.bad-2", ... beside `file`.
fs::path SetAsideName(const fs::path& file) {
    fs::path candidate = file;
    candidate += ".bad";
    for (int n = 2; fs::exists(candidate); ++n) {
        candidate = file;
        candidate += ".bad-" + std::to_string(n);
    }
    return candidate;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string TrimTrailingBlanks(std::string name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\0')) {
        name.pop_back();
    }
    return name;
}

// The name's ASCII letters and digits, or "userpreset" when there are none.
std::string PresetBaseName(const std::string& name) {
    std::string base;
    for (char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            base += c;
        }
    }
    return base.empty() ? "userpreset" : base;
}

// The first "<base>.seppreset.yml", "<base>_1.seppreset.yml", ... that does not exist yet.
fs::path FreePresetPath(const fs::path& folder, const std::string& base) {
    for (int n = 0;; ++n) {
        const std::string suffix = n == 0 ? "" : "_" + FormatNumber(n);
        const fs::path candidate = folder / (base + suffix + kPresetSuffix);
        std::error_code error;
        if (!fs::exists(candidate, error) && !error) {
            return candidate;
        }
    }
}
} // namespace

CGasSeparatorModel::CGasSeparatorModel() = default;
CGasSeparatorModel::~CGasSeparatorModel() = default;

void CGasSeparatorModel::ApplySeparatorPreset(const SeparatorPreset* preset) {
    if (!preset) {
        presetName_.clear();
        return;
    }
    presetName_ = preset->displayName;
    parameters_.SetSeparatorOD(preset->separatorOd);
    parameters_.SetSeparatorID(preset->separatorId);
    parameters_.SetDipTubeOD(preset->dipTubeOd);
    parameters_.SetDipTubeID(preset->dipTubeId);
    parameters_.SetDipTubeLength(preset->dipTubeLength);
    RaiseEvent(EventName::kWellParametersUpdated);
}

namespace {
// The values of the shipped defaults file built into the program.
WellParameters ShippedDefaults() {
    const ResourceBytes bytes = FindResource(kDefaultsFileName, ResourceKind::RawData);
    WellParameters shipped;
    std::string name;
    ParseDefaultsText(std::string(reinterpret_cast<const char*>(bytes.data), bytes.size), shipped,
                      name);
    return shipped;
}

// A value of the defaults file that breaks its range rule (not finite, SPM 1e308, ...) never
// reaches the simulation, just as a typed one does not: the shipped value of its key is used.
// A diameter that is not below the casing size is kept: the program itself saves one when the
// casing is changed under a design; the panel marks it and the results as not applying.
void UseShippedValuesOutsideTheirLimits(WellParameters& parameters, const std::string& path) {
    const WellParameters shipped = ShippedDefaults();
    for (const StoredNumber& number : kStoredNumbers) {
        const double value = (parameters.*number.get)();
        if (!WithinOwnLimits(number.rule, value)) {
            LOG_WARNING(kLogCategory,
                        "Defaults file %s: \"%s\" is %s, out of its range; using "
                        "the shipped value %s",
                        path.c_str(), number.key, FormatNumber(value).c_str(),
                        FormatNumber((shipped.*number.get)()).c_str());
            (parameters.*number.set)((shipped.*number.get)());
        }
    }
}
} // namespace

// True when the file was read and used; false when it could not be opened. A file that opens
// but cannot be used is set aside and replaced by the shipped one.
bool CGasSeparatorModel::ReadDefaultsFile(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return false;
    }
    try {
        ParseDefaultsText(text, parameters_, presetName_);
        UseShippedValuesOutsideTheirLimits(parameters_, path);
        return true;
    } catch (const SettingsFileError& error) {
        const fs::path aside = SetAsideName(path);
        std::error_code renameError;
        fs::rename(path, aside, renameError);
        LOG_WARNING(kLogCategory, "Defaults file %s cannot be used (%s); set aside as %s",
                    path.c_str(), error.what(), aside.string().c_str());
        if (renameError) {
            return true; // keep what we have rather than overwrite a file we could not move
        }
        std::string shipped;
        return ExtractResourceToFile(kDefaultsFileName, path) && ReadWholeFile(path, shipped) &&
               (ParseDefaultsText(shipped, parameters_, presetName_), true);
    }
}

void CGasSeparatorModel::LoadDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    const std::string path = (folder / kDefaultsFileName).string();
    if (!ReadDefaultsFile(path)) {
        ExtractResourceToFile(kDefaultsFileName, path);
        ReadDefaultsFile(path);
    }
}

void CGasSeparatorModel::ResetToDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    // Extract beside the file first, so a failed extraction leaves the user's file alone.
    const fs::path path = folder / kDefaultsFileName;
    fs::path shipped = path;
    shipped += ".tmp";
    if (ExtractResourceToFile(kDefaultsFileName, shipped)) {
        std::error_code ignored;
        fs::rename(shipped, path, ignored);
    }
    LoadDefaults();
    RaiseEvent(EventName::kWellParametersUpdated);
}

void CGasSeparatorModel::SaveDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    try {
        if (!WriteFileAtomically(folder / kDefaultsFileName,
                                 FormatDefaultsText(parameters_, presetName_))) {
            LOG_ERROR(kLogCategory, "Cannot write the defaults file in %s",
                      folder.string().c_str());
        }
    } catch (const SettingsFileError& error) { // the previous file stays as it was
        LOG_ERROR(kLogCategory, "Defaults file not saved: %s", error.what());
    }
}

const SeparatorPreset* CGasSeparatorModel::LoadUserPreset(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        return nullptr;
    }
    try {
        userPresets_.push_back(ParsePresetText(text));
    } catch (const SettingsFileError& error) {
        LOG_WARNING(kLogCategory, "Skipping preset file %s: %s", path.c_str(), error.what());
        return nullptr;
    }
    return &userPresets_.back();
}

const std::vector<SeparatorPreset>& CGasSeparatorModel::LoadUserPresets() {
    userPresets_.clear();
    const fs::path folder = DocumentsFolder();
    if (folder.empty()) {
        return userPresets_;
    }
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_directory() && EndsWith(it->path().filename().string(), kPresetSuffix)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        LoadUserPreset(file.string());
    }
    return userPresets_;
}

const SeparatorPreset* CGasSeparatorModel::SaveUserPreset(const std::string& name) {
    const std::string displayName = TrimTrailingBlanks(name);
    if (displayName.empty()) {
        return nullptr;
    }
    const fs::path folder = DocumentsFolder();
    if (folder.empty()) {
        return nullptr;
    }
    std::string text;
    try {
        text = FormatPresetText(displayName, parameters_);
    } catch (const SettingsFileError& error) {
        LOG_ERROR(kLogCategory, "Preset %s not saved: %s", displayName.c_str(), error.what());
        return nullptr;
    }
    const fs::path path = FreePresetPath(folder, PresetBaseName(displayName));
    if (!WriteFileAtomically(path, text)) {
        LOG_ERROR(kLogCategory, "Cannot write preset file %s", path.string().c_str());
        return nullptr;
    }
    return LoadUserPreset(path.string());
}
