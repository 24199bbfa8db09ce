#include "app/DefaultsFile.h"

#include "app/NumberFormat.h"

#include <yaml-cpp/yaml.h>

#include <cmath>

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

// The scalar under `key` converted to T, as yaml-cpp converts it; a missing key or a value
// that does not convert is a SettingsFileError naming the key.
template <class T> T Required(const YAML::Node& root, const char* key, const char* typeName) {
    const YAML::Node value = root[key];
    if (!value.IsDefined()) {
        throw SettingsFileError("missing key " + Quoted(key));
    }
    T result{};
    if (!value.IsScalar() || !YAML::convert<T>::decode(value, result)) {
        std::string where;
        if (!value.Mark().is_null()) {
            where = " (line " + std::to_string(value.Mark().line + 1) + ")";
        }
        throw SettingsFileError("bad value for " + Quoted(key) + where + ": not " + typeName);
    }
    return result;
}

double RequiredNumber(const YAML::Node& root, const char* key) {
    const double value = Required<double>(root, key, "a number");
    if (!std::isfinite(value)) {
        throw SettingsFileError("bad value for " + Quoted(key) + ": not a finite number");
    }
    return value;
}

std::string RequiredText(const YAML::Node& root, const char* key) {
    return Required<std::string>(root, key, "text");
}

std::string Line(const char* key, const std::string& value) {
    return value.empty() ? std::string(key) + ": \n" : std::string(key) + ": " + value + "\n";
}
std::string Line(const char* key, double value) {
    return Line(key, FormatNumber(value));
}
} // namespace

void ParseDefaultsText(const std::string& text, WellParameters& p, std::string& presetName) {
    YAML::Node root = ParseMap(text);
    // An empty name is a YAML null, which names no preset; it reads back as "~".
    if (root["Preset Name"] && root["Preset Name"].IsNull()) {
        root["Preset Name"] = "~";
    }
    // Every key is read before anything changes: only a complete, valid file is used.
    const double casing = RequiredNumber(root, "Casing Size");
    const std::string name = RequiredText(root, "Preset Name");
    const double separatorOd = RequiredNumber(root, "Separator OD");
    const double separatorId = RequiredNumber(root, "Separator ID");
    const double dipTubeOd = RequiredNumber(root, "Dip Tube OD");
    const double dipTubeId = RequiredNumber(root, "Dip Tube ID");
    const double dipTubeLength = RequiredNumber(root, "Dip Tube Length");
    const double riseVelocity = RequiredNumber(root, "Gas Bubble Rise Velocity");
    const double productionRate = RequiredNumber(root, "Production Rate");
    const double spm = RequiredNumber(root, "SPM");
    p.SetCasingSize(casing);
    p.SetSeparatorOD(separatorOd);
    p.SetSeparatorID(separatorId);
    p.SetDipTubeOD(dipTubeOd);
    p.SetDipTubeID(dipTubeId);
    p.SetDipTubeLength(dipTubeLength);
    p.SetGasBubbleRiseVelocity(riseVelocity);
    p.SetProductionRate(productionRate);
    p.SetSPM(spm);
    presetName = name;
}

SeparatorPreset ParsePresetText(const std::string& text) {
    const YAML::Node root = ParseMap(text);
    SeparatorPreset preset;
    preset.separatorOd = Required<double>(root, "Separator OD", "a number");
    preset.separatorId = Required<double>(root, "Separator ID", "a number");
    preset.dipTubeOd = Required<double>(root, "Dip Tube OD", "a number");
    preset.dipTubeId = Required<double>(root, "Dip Tube ID", "a number");
    preset.dipTubeLength = Required<double>(root, "Dip Tube Length", "a number");
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
    return Line("Casing Size", p.GetCasingSize()) + Line("Preset Name", YamlNameValue(presetName)) +
           Line("Separator OD", p.GetSeparatorOD()) + Line("Separator ID", p.GetSeparatorID()) +
           Line("Dip Tube OD", p.GetDipTubeOD()) + Line("Dip Tube ID", p.GetDipTubeID()) +
           Line("Dip Tube Length", p.GetDipTubeLength()) +
           Line("Gas Bubble Rise Velocity", p.GetGasBubbleRiseVelocity()) +
           Line("Production Rate", p.GetProductionRate()) + Line("SPM", p.GetSPM());
}

std::string FormatPresetText(const std::string& displayName, const WellParameters& p) {
    return Line("Display Name", YamlNameValue(displayName)) +
           Line("Separator OD", p.GetSeparatorOD()) + Line("Separator ID", p.GetSeparatorID()) +
           Line("Dip Tube OD", p.GetDipTubeOD()) + Line("Dip Tube ID", p.GetDipTubeID()) +
           Line("Dip Tube Length", p.GetDipTubeLength());
}
