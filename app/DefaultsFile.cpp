#include "DefaultsFile.h"

#include "Defaults.h"
#include "NumberFormat.h"

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
    TDefaults read;
    try {
        read.Load(root);
    } catch (const std::exception& error) {
        throw SettingsFileError(error.what());
    }
    for (double value :
         {read.casingSize, read.separatorOd, read.separatorId, read.dipTubeOd, read.dipTubeId,
          read.dipTubeLength, read.gasBubbleRiseVelocity, read.productionRate, read.spm}) {
        if (!std::isfinite(value)) {
            throw SettingsFileError("a value is not a finite number");
        }
    }
    // Only a complete, valid file changes anything.
    p.SetCasingSize(read.casingSize);
    p.SetSeparatorOD(read.separatorOd);
    p.SetSeparatorID(read.separatorId);
    p.SetDipTubeOD(read.dipTubeOd);
    p.SetDipTubeID(read.dipTubeId);
    p.SetDipTubeLength(read.dipTubeLength);
    p.SetGasBubbleRiseVelocity(read.gasBubbleRiseVelocity);
    p.SetProductionRate(read.productionRate);
    p.SetSPM(read.spm);
    presetName = read.presetName;
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
