#include "app/model/DefaultsFile.h"

#include "app/model/NumberFormat.h"

#include <yaml-cpp/yaml.h>

#include <cmath>
#include <cstdio>
#include <optional>

namespace {
YAML::Node ParseMap(const std::string& text) {
    YAML::Node root;
    try {
        root = YAML::Load(text);
    } catch (const YAML::Exception& error) {
        throw SettingsFileError(std::string("not valid YAML: ") + error.what());
    }
    if (!root.IsMap()) {
        throw SettingsFileError("not a map of keys and values");
    }
    return root;
}

std::string Quoted(const char* key) {
    return std::string("\"") + key + "\"";
}

std::string Where(const YAML::Node& value) {
    return value.Mark().is_null() ? "" : " (line " + std::to_string(value.Mark().line + 1) + ")";
}

YAML::Node RequiredScalar(const YAML::Node& root, const char* key, const char* typeName) {
    const YAML::Node value = root[key];
    if (!value.IsDefined()) {
        throw SettingsFileError("missing key " + Quoted(key));
    }
    if (!value.IsScalar()) {
        throw SettingsFileError("bad value for " + Quoted(key) + Where(value) + ": not " +
                                typeName);
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
        throw SettingsFileError("bad value for " + Quoted(key) + Where(value) + ": not a number");
    }
    return *number;
}

double RequiredFiniteNumber(const YAML::Node& root, const char* key) {
    const double value = RequiredNumber(root, key);
    if (!std::isfinite(value)) {
        throw SettingsFileError("bad value for " + Quoted(key) + Where(root[key]) +
                                ": not a finite number");
    }
    return value;
}

std::string RequiredText(const YAML::Node& root, const char* key) {
    return RequiredScalar(root, key, "text").Scalar();
}

std::string Line(const char* key, const std::string& value) {
    return value.empty() ? std::string(key) + ": \n" : std::string(key) + ": " + value + "\n";
}
std::string Line(const StoredNumber& number, const WellParameters& p) {
    const double value = (p.*number.get)();
    if (!std::isfinite(value)) {
        throw SettingsFileError("not writing " + Quoted(number.key) + ": " + FormatNumber(value) +
                                " is not a finite number");
    }
    return Line(number.key, FormatNumber(value));
}
} // namespace

void ParseDefaultsText(const std::string& text, WellParameters& p, std::string& presetName) {
    YAML::Node root = ParseMap(text);
    // An empty name is a YAML null, which names no preset; it reads back as "~".
    if (root["Preset Name"] && root["Preset Name"].IsNull()) {
        root["Preset Name"] = "~";
    }
    // Every key is read before anything changes: only a complete file is used.
    const std::string name = RequiredText(root, "Preset Name");
    WellParameters read = p;
    for (const StoredNumber& number : kStoredNumbers) {
        (read.*number.set)(RequiredNumber(root, number.key));
    }
    p = read;
    presetName = name;
}

SeparatorPreset ParsePresetText(const std::string& text) {
    const YAML::Node root = ParseMap(text);
    SeparatorPreset preset;
    preset.separatorOd = RequiredFiniteNumber(root, "Separator OD");
    preset.separatorId = RequiredFiniteNumber(root, "Separator ID");
    preset.dipTubeOd = RequiredFiniteNumber(root, "Dip Tube OD");
    preset.dipTubeId = RequiredFiniteNumber(root, "Dip Tube ID");
    preset.dipTubeLength = RequiredFiniteNumber(root, "Dip Tube Length");
    preset.displayName = RequiredText(root, "Display Name");
    return preset;
}

std::string YamlNameValue(const std::string& name) {
    if (name.empty()) {
        return name;
    }
    try {
        const YAML::Node back = YAML::Load("k: " + name)["k"];
        if (back.IsScalar() && back.Tag() != "!" && back.Scalar() == name &&
            name.find('\n') == std::string::npos) {
            return name;
        }
    } catch (const YAML::Exception&) {
        // falls through to the quoted form
    }
    std::string quoted = "\"";
    for (unsigned char c : name) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            if (c < 0x20) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                quoted += hex;
            } else {
                quoted += static_cast<char>(c);
            }
        }
    }
    return quoted + "\"";
}

std::string FormatDefaultsText(const WellParameters& p, const std::string& presetName) {
    std::string text = Line(kStoredNumbers[0], p) + Line("Preset Name", YamlNameValue(presetName));
    for (size_t i = 1; i < std::size(kStoredNumbers); ++i) {
        text += Line(kStoredNumbers[i], p);
    }
    return text;
}

std::string FormatPresetText(const std::string& displayName, const WellParameters& p) {
    std::string text = Line("Display Name", YamlNameValue(displayName));
    for (size_t i = 1; i <= 5; ++i) { // the five separator dimensions
        text += Line(kStoredNumbers[i], p);
    }
    return text;
}
