#include "app/model/DefaultsFile.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/SettingsYaml.h"

#include <yaml-cpp/yaml.h>

#include <cmath>
#include <map>
#include <optional>

namespace {
constexpr const char* kPresetNameKey = "Preset Name";
constexpr const char* kUnitsKey = "Units";
constexpr const char* kDisplayNameKey = "Display Name";

std::string Quoted(const char* key) {
    return std::string("\"") + key + "\"";
}

YAML::Node RequiredScalar(const YAML::Node& root, const char* key, const char* typeName) {
    const YAML::Node value = root[key];
    if (!value.IsDefined()) {
        throw SettingsFileError("missing key " + Quoted(key));
    }
    if (!value.IsScalar()) {
        throw SettingsFileError(BadValueOf(root, key) + ": not " + typeName);
    }
    return value;
}

// YAML's spellings of the infinities and of not-a-number.
std::optional<double> YamlNonFinite(const std::string& text) {
    for (const char* infinity : {".inf", ".Inf", ".INF"}) {
        if (text == infinity || text == std::string("+") + infinity) {
            return HUGE_VAL;
        }
        if (text == std::string("-") + infinity) {
            return -HUGE_VAL;
        }
    }
    if (text == ".nan" || text == ".NaN" || text == ".NAN") {
        return std::nan("");
    }
    return std::nullopt;
}

// The number under `key`, written with a point; YAML's ".inf" and ".nan" read as such.
double RequiredNumber(const YAML::Node& root, const char* key) {
    const YAML::Node value = RequiredScalar(root, key, "a number");
    std::optional<double> number = ReadNumber(value.Scalar());
    if (!number) {
        number = YamlNonFinite(value.Scalar());
    }
    if (!number) {
        throw SettingsFileError(BadValueOf(root, key) + ": not a number");
    }
    return *number;
}

// An input's value: a number, or for a switch "true" or "false" (a number is taken too).
double RequiredValue(const YAML::Node& root, const ParameterEntry& entry) {
    if (entry.quantity == Quantity::Switch) {
        const std::string text = RequiredScalar(root, entry.storedKey, "true or false").Scalar();
        if (text == "true" || text == "false") {
            return text == "true" ? 1 : 0;
        }
    }
    return RequiredNumber(root, entry.storedKey);
}

double RequiredFiniteNumber(const YAML::Node& root, const char* key) {
    const double value = RequiredNumber(root, key);
    if (!std::isfinite(value)) {
        throw SettingsFileError(BadValueOf(root, key) + ": not a finite number");
    }
    return value;
}

// A text; an empty value (a YAML null) is the empty text.
std::string RequiredText(const YAML::Node& root, const char* key) {
    if (root[key] && root[key].IsNull()) {
        return {};
    }
    return RequiredScalar(root, key, "text").Scalar();
}

void EmitNumber(YAML::Emitter& out, const ParameterEntry& entry, const WellParameters& p) {
    const double value = entry.Get(p);
    if (!std::isfinite(value)) {
        throw SettingsFileError("not writing " + Quoted(entry.storedKey) + ": " +
                                FormatNumber(value) + " is not a finite number");
    }
    out << YAML::Key << entry.storedKey << YAML::Value;
    if (entry.quantity == Quantity::Switch) {
        out << (value >= 0.5 ? "true" : "false");
    } else {
        out << FormatExact(value);
    }
}

std::string Finished(const YAML::Emitter& out) {
    if (!out.good()) {
        throw SettingsFileError(std::string("cannot write the settings: ") + out.GetLastError());
    }
    return std::string(out.c_str()) + "\n";
}
} // namespace

// The unit system of a file: oilfield without the key.
UnitSystem ReadUnitSystem(const YAML::Node& root) {
    if (!root[kUnitsKey]) {
        return UnitSystem::Oilfield;
    }
    const std::string name = RequiredText(root, kUnitsKey);
    const std::optional<UnitSystem> units = UnitSystemNamed(name);
    if (!units) {
        throw SettingsFileError(BadValueOf(root, kUnitsKey) + ": " + Quoted(name.c_str()) +
                                " is neither \"oilfield\" nor \"metric\"");
    }
    return *units;
}

void ParseDefaultsText(const std::string& text, WellParameters& p, std::string& presetName,
                       UnitSystem* units) {
    const YAML::Node root = ParseSettingsMap(text);
    // Every key is read before anything changes: only a complete file is used.
    const std::string name = RequiredText(root, kPresetNameKey);
    const UnitSystem system = ReadUnitSystem(root);
    WellParameters read = p;
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.optionalInFiles && !root[entry.storedKey]) {
            continue;
        }
        entry.Set(read, RequiredValue(root, entry));
    }
    p = read;
    presetName = name;
    if (units) {
        *units = system;
    }
}

SeparatorPreset ParsePresetText(const std::string& text) {
    const YAML::Node root = ParseSettingsMap(text);
    SeparatorPreset preset;
    for (const ParameterEntry& entry : Parameters()) {
        if (!entry.inPresets) {
            continue;
        }
        const double value = RequiredFiniteNumber(root, entry.storedKey);
        // Held to the limits the defaults file is held to: a preset outside them would apply
        // values no one could type.
        if (!WithinOwnLimits(entry, value)) {
            throw SettingsFileError(BadValueOf(root, entry.storedKey) + ": " + FormatNumber(value) +
                                    " is out of its range (" + DescribeLimits(entry) + ")");
        }
        entry.Set(preset.dimensions, value);
    }
    // A name is one row of a list: a line break or a tab typed into the file is a blank.
    preset.displayName = OneLineText(RequiredText(root, kDisplayNameKey));
    return preset;
}

namespace {
// The inputs and the preset's name, into a map begun by the caller.
void EmitInputs(YAML::Emitter& out, const WellParameters& p, const std::string& presetName) {
    for (const ParameterEntry& entry : Parameters()) {
        EmitNumber(out, entry, p);
        if (entry.id == ParameterId::CasingSize) { // the name follows the casing, as it always has
            out << YAML::Key << kPresetNameKey << YAML::Value << presetName;
        }
    }
}
} // namespace

std::string FormatDefaultsText(const WellParameters& p, const std::string& presetName,
                               UnitSystem units) {
    YAML::Emitter out;
    out << YAML::BeginMap;
    EmitInputs(out, p, presetName);
    out << YAML::Key << kUnitsKey << YAML::Value << UnitSystemName(units);
    out << YAML::EndMap;
    return Finished(out);
}

std::string FormatInputsText(const WellParameters& p, const std::string& presetName) {
    YAML::Emitter out;
    out << YAML::BeginMap;
    EmitInputs(out, p, presetName);
    out << YAML::EndMap;
    return Finished(out);
}

std::string FormatPresetText(const SeparatorPreset& preset) {
    YAML::Emitter out;
    out << YAML::BeginMap << YAML::Key << kDisplayNameKey << YAML::Value << preset.displayName;
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.inPresets) {
            EmitNumber(out, entry, preset.dimensions);
        }
    }
    out << YAML::EndMap;
    return Finished(out);
}

std::string RepeatedKey::Text() const {
    return Quoted(key.c_str()) + " is given twice (lines " + std::to_string(firstLine) + " and " +
           std::to_string(secondLine) + ")";
}

std::optional<RepeatedKey> FirstRepeatedKey(const YAML::Node& map, std::string_view exempt) {
    if (!map.IsMap()) {
        return std::nullopt;
    }
    std::map<std::string, int> lines; // of each key's first line
    for (const auto& pair : map) {
        if (!pair.first.IsScalar() || pair.first.Scalar() == exempt) {
            continue;
        }
        const YAML::Mark at = pair.first.Mark();
        const auto [first, isNew] = lines.emplace(pair.first.Scalar(), at.line + 1);
        if (!isNew) {
            return RepeatedKey{first->first, first->second, at.line + 1, at.column + 1};
        }
    }
    return std::nullopt;
}

std::string BadValueOf(const YAML::Node& map, std::string_view key) {
    std::string text = "bad value for \"" + std::string(key) + "\"";
    for (const auto& pair : map) {
        if (pair.first.IsScalar() && pair.first.Scalar() == key && !pair.first.Mark().is_null()) {
            return text + " (line " + std::to_string(pair.first.Mark().line + 1) + ")";
        }
    }
    return text;
}

YAML::Node ParseSettingsMap(const std::string& text) {
    YAML::Node root;
    try {
        root = YAML::Load(text);
    } catch (const YAML::Exception& error) {
        throw SettingsFileError(std::string("not valid YAML: ") + error.what());
    }
    if (!root.IsMap()) {
        throw SettingsFileError("not a map of keys and values");
    }
    // Cases saved by an earlier version repeat the unit system after the inputs, and open as
    // they did: the first counts.
    if (const std::optional<RepeatedKey> repeated = FirstRepeatedKey(root, kUnitsKey)) {
        throw SettingsFileError(repeated->Text());
    }
    return root;
}
