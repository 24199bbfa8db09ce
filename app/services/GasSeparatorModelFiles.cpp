// The model's files: the defaults file in the user's settings folder and the user's separator
// presets in the documents folder.

#include "app/services/GasSeparatorModel.h"

#include "app/files/AtomicFile.h"
#include "app/files/EmbeddedStore.h"
#include "app/model/CaseFile.h"
#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "common/log_manager/Log_Manager.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr const char* kDefaultsFileName = "gasseparator.defaults.yml";
constexpr const char* kPresetSuffix = ".seppreset.yml";
constexpr const char* kLogCategory = "CGasSeparatorModel";
// A defaults or preset file is a few hundred bytes; a bigger one is not ours.
constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;
// "<file>.bad", "<file>.bad-2", ... "<file>.bad-100".
constexpr int kSetAsideNames = 100;
// A preset file name keeps at most 100 bytes of the display name (`FileNameStem`), so that
// with "_<number>", ".seppreset.yml" and the temporary suffix it stays well within the 255
// bytes of most file systems (143 with eCryptfs). The display name inside the file is kept
// whole. "<base>_99999" is the last name tried: the search ends.
constexpr int kPresetNames = 100000;

std::string Reason(const std::error_code& error) {
    return error == FileError::TooLarge ? "larger than 1 MiB" : error.message();
}

// Whether anything has the name, a broken link included. Never throws.
bool NameTaken(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

// Moves `file` to the first free "<file>.bad", "<file>.bad-2", ...; the name it took, or an
// empty path and `error`.
fs::path SetAside(const fs::path& file, std::error_code& error) {
    for (int n = 1; n <= kSetAsideNames; ++n) {
        fs::path aside = file;
        aside += n == 1 ? std::string(".bad") : ".bad-" + std::to_string(n);
        if (RenameWithoutReplacing(file, aside, error)) {
            return aside;
        }
        if (error != std::errc::file_exists) {
            return {};
        }
    }
    error = FileError::NoFreeName;
    return {};
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

// The name's first letters (of any script) and digits, or "userpreset" when there are none.
std::string PresetBaseName(const std::string& name) {
    return FileNameStem(name, false, "userpreset");
}

// "<base>.seppreset.yml", then "<base>_1.seppreset.yml", "<base>_2.seppreset.yml", ...
fs::path PresetPath(const fs::path& folder, const std::string& base, int n) {
    return folder / (base + (n == 0 ? "" : "_" + FormatNumber(n)) + kPresetSuffix);
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
    preset->ApplyTo(parameters_);
    RaiseEvent(EventName::kWellParametersUpdated);
}

namespace {
// The shipped defaults file built into the program, read into `parameters` and `presetName`.
void ParseShippedDefaults(WellParameters& parameters, std::string& presetName) {
    const ResourceBytes bytes = FindResource(kDefaultsFileName, ResourceKind::RawData);
    ParseDefaultsText(std::string(reinterpret_cast<const char*>(bytes.data), bytes.size),
                      parameters, presetName);
}

// The values of the shipped defaults file.
WellParameters ShippedDefaults() {
    WellParameters shipped;
    std::string name;
    ParseShippedDefaults(shipped, name);
    return shipped;
}

// A value of the defaults file that breaks its range rule (not finite, SPM 1e308, ...) never
// reaches the simulation, just as a typed one does not: the shipped value of its key is used.
// A diameter that is not below the casing size is kept: the program itself saves one when the
// casing is changed under a design; the panel marks it and the results as not applying.
void UseShippedValuesOutsideTheirLimits(WellParameters& parameters, const std::string& path) {
    const WellParameters shipped = ShippedDefaults();
    for (const ParameterEntry& entry : Parameters()) {
        const double value = entry.Get(parameters);
        if (!WithinOwnLimits(entry, value)) {
            LOG_WARNING(kLogCategory,
                        "Defaults file %s: \"%s\" is %s, out of its range; using "
                        "the shipped value %s",
                        path.c_str(), entry.storedKey, FormatNumber(value).c_str(),
                        FormatNumber(entry.Get(shipped)).c_str());
            entry.Set(parameters, entry.Get(shipped));
        }
    }
}
} // namespace

CaseDesign CGasSeparatorModel::ShippedDesign() {
    CaseDesign design;
    ParseShippedDefaults(design.parameters, design.presetName);
    return design;
}

void CGasSeparatorModel::LoadDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    const fs::path path = folder / kDefaultsFileName;
    std::string text;
    std::error_code error;
    if (ReadRegularFile(path, kMaxSettingsFileBytes, text, error)) {
        try {
            // Inputs newer than the file keep their shipped values.
            WellParameters read = ShippedDefaults();
            read.SetPumpRunning(parameters_.GetPumpRunning());
            ParseDefaultsText(text, read, presetName_, &units_);
            parameters_ = read;
            UseShippedValuesOutsideTheirLimits(parameters_, path.string());
            return;
        } catch (const SettingsFileError& problem) {
            SetAsideUnusableDefaults(path, problem.what());
        }
    } else if (!NameTaken(path)) {
        WriteShippedDefaults(path); // the first start
    } else {
        SetAsideUnusableDefaults(path, Reason(error));
    }
    UseShippedDefaults();
}

// Nothing the user had is destroyed: the file is renamed, or, when even that fails, left
// alone and never written over.
void CGasSeparatorModel::SetAsideUnusableDefaults(const fs::path& path,
                                                  const std::string& problem) {
    std::error_code error;
    const fs::path aside = SetAside(path, error);
    const std::string what =
        "The defaults file \"" + path.string() + "\" cannot be used (" + problem + ")";
    if (aside.empty()) {
        keepUnusableDefaults_ = true;
        defaultsNotice_ = what + " and could not be set aside (" + Reason(error) +
                          "). The shipped defaults are used; the file is left as it is.";
    } else {
        defaultsNotice_ = what + ". It was set aside as \"" + aside.string() +
                          "\", and the shipped defaults are used.";
        WriteShippedDefaults(path);
    }
    LOG_WARNING(kLogCategory, "%s", defaultsNotice_.c_str());
}

void CGasSeparatorModel::WriteShippedDefaults(const fs::path& path) {
    std::error_code error;
    if (!ExtractResourceToFile(kDefaultsFileName, path, error)) {
        ReportUnwrittenDefaults(path, error);
        return;
    }
    keepUnusableDefaults_ = false;
}

// A read-only defaults file is the user's way of keeping their defaults: said once, and not as
// an error.
void CGasSeparatorModel::ReportUnwrittenDefaults(const fs::path& path,
                                                 const std::error_code& error) {
    if (error != FileError::ReadOnly) {
        LOG_ERROR(kLogCategory, "Cannot write the defaults file %s: %s", path.string().c_str(),
                  WriteFailureReason(path, error).c_str());
    } else if (!std::exchange(readOnlyDefaultsTold_, true)) {
        LOG_WARNING(kLogCategory,
                    "The defaults file %s is read-only: it is kept as it is, and the values in "
                    "use are not saved in it",
                    path.string().c_str());
    }
}

void CGasSeparatorModel::UseShippedDefaults() {
    try {
        ParseShippedDefaults(parameters_, presetName_);
    } catch (const SettingsFileError& error) {
        LOG_ERROR(kLogCategory, "The shipped defaults cannot be read: %s", error.what());
    }
}

void CGasSeparatorModel::ResetToDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return;
    }
    WriteShippedDefaults(folder / kDefaultsFileName);
    UseShippedDefaults();
    RaiseEvent(EventName::kWellParametersUpdated);
}

std::string CGasSeparatorModel::SaveDefaults() {
    const fs::path folder = SettingsFolder();
    if (folder.empty()) {
        return {};
    }
    const fs::path path = folder / kDefaultsFileName;
    if (keepUnusableDefaults_) {
        LOG_WARNING(kLogCategory, "Not saving over the unusable defaults file %s",
                    path.string().c_str());
        return {};
    }
    std::error_code error;
    try {
        if (!WriteFileAtomically(path, FormatDefaultsText(parameters_, presetName_, units_),
                                 error)) {
            ReportUnwrittenDefaults(path, error);
            // A read-only file is the user's choice to keep it; anything else is a loss.
            return error == FileError::ReadOnly
                       ? std::string()
                       : "\"" + path.string() + "\": " + WriteFailureReason(path, error);
        }
    } catch (const SettingsFileError& problem) { // the previous file stays as it was
        LOG_ERROR(kLogCategory, "Defaults file not saved: %s", problem.what());
        return problem.what();
    }
    return {};
}

const SeparatorPreset* CGasSeparatorModel::LoadUserPreset(const fs::path& path) {
    std::string text;
    std::error_code error;
    if (!ReadRegularFile(path, kMaxSettingsFileBytes, text, error)) {
        LOG_WARNING(kLogCategory, "Skipping preset file %s: %s", path.string().c_str(),
                    Reason(error).c_str());
        return nullptr;
    }
    try {
        userPresets_.push_back(ParsePresetText(text));
        userPresetFiles_.push_back(path);
    } catch (const SettingsFileError& problem) {
        LOG_WARNING(kLogCategory, "Skipping preset file %s: %s", path.string().c_str(),
                    problem.what());
        return nullptr;
    }
    return &userPresets_.back();
}

const std::vector<SeparatorPreset>& CGasSeparatorModel::LoadUserPresets() {
    userPresets_.clear();
    userPresetFiles_.clear();
    const fs::path folder = DocumentsFolder();
    if (folder.empty()) {
        return userPresets_;
    }
    std::vector<fs::path> files;
    std::error_code error;
    // Only names are looked at here: what an entry is (a folder, a FIFO, a broken or looping
    // link) is the reader's business, which skips it with a log line.
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (EndsWith(it->path().filename().string(), kPresetSuffix)) {
            files.push_back(it->path());
        }
    }
    if (error) {
        LOG_WARNING(kLogCategory, "Cannot list the presets in %s: %s", folder.string().c_str(),
                    error.message().c_str());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        LoadUserPreset(file);
    }
    return userPresets_;
}

const SeparatorPreset* CGasSeparatorModel::SaveUserPreset(const std::string& name,
                                                          std::string* failure) {
    const std::string displayName = TrimTrailingBlanks(OneLineText(name));
    if (displayName.empty()) {
        return nullptr;
    }
    const auto fail = [&](const std::string& why) -> const SeparatorPreset* {
        LOG_ERROR(kLogCategory, "Cannot save the preset: %s", why.c_str());
        if (failure) {
            *failure = why;
        }
        return nullptr;
    };
    const fs::path folder = DocumentsFolder();
    if (folder.empty()) {
        return fail("there is no documents folder to save it in");
    }
    std::string text;
    try {
        text = FormatPresetText(SeparatorPreset::Of(displayName, parameters_));
    } catch (const SettingsFileError& problem) {
        return fail(problem.what());
    }
    // A new file under a free name, created exclusively: another instance saving the same
    // name at the same moment gets the next number instead of overwriting this one.
    const std::string base = PresetBaseName(displayName);
    std::error_code error;
    const fs::path path = CreateFileWithFreeName([&](int n) { return PresetPath(folder, base, n); },
                                                 kPresetNames, text, error);
    if (path.empty()) {
        return fail("cannot write a new file in \"" + folder.string() + "\": " + Reason(error));
    }
    const SeparatorPreset* preset = LoadUserPreset(path);
    return preset ? preset : fail("\"" + path.string() + "\" cannot be read back");
}
