#pragma once
// The text formats of the defaults file and of a user preset file.

#include "app/model/ParameterRules.h"
#include "app/model/SeparatorPreset.h"
#include "app/model/WellParameters.h"

#include <stdexcept>
#include <string>

// A defaults or preset text that cannot be used or written: not YAML, a missing key, a value
// that is not a number (numbers are written with a point, whatever the locale), a non-finite
// value in a preset or in a text to be written. The message names the problem and the key
// (and the line when known).
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The nine numbers of a defaults file in the order they are written (the preset name goes
// after the first), each with the range rule that judges it; the five separator dimensions
// (entries 1 to 5) are also the numbers of a preset file.
struct StoredNumber {
    const char* key;
    ParameterRule rule;
    double (WellParameters::*get)() const;
    void (WellParameters::*set)(double);
};
inline constexpr StoredNumber kStoredNumbers[] = {
    {"Casing Size", ParameterRule::CasingSize, &WellParameters::GetCasingSize,
     &WellParameters::SetCasingSize},
    {"Separator OD", ParameterRule::SeparatorODRange, &WellParameters::GetSeparatorOD,
     &WellParameters::SetSeparatorOD},
    {"Separator ID", ParameterRule::SeparatorIDRange, &WellParameters::GetSeparatorID,
     &WellParameters::SetSeparatorID},
    {"Dip Tube OD", ParameterRule::DipTubeODRange, &WellParameters::GetDipTubeOD,
     &WellParameters::SetDipTubeOD},
    {"Dip Tube ID", ParameterRule::DipTubeIDRange, &WellParameters::GetDipTubeID,
     &WellParameters::SetDipTubeID},
    {"Dip Tube Length", ParameterRule::DipTubeLength, &WellParameters::GetDipTubeLength,
     &WellParameters::SetDipTubeLength},
    {"Gas Bubble Rise Velocity", ParameterRule::RiseVelocity,
     &WellParameters::GetGasBubbleRiseVelocity, &WellParameters::SetGasBubbleRiseVelocity},
    {"Production Rate", ParameterRule::ProductionRate, &WellParameters::GetProductionRate,
     &WellParameters::SetProductionRate},
    {"SPM", ParameterRule::SPM, &WellParameters::GetSPM, &WellParameters::SetSPM},
};

// Reads the ten keys of a defaults file (order free, other keys ignored) into `parameters`
// (running flag untouched) and `presetName`. YAML's infinities and not-a-number (".inf",
// ".nan") are read as such: judging values is the caller's business. Throws
// SettingsFileError.
void ParseDefaultsText(const std::string& text, WellParameters& parameters,
                       std::string& presetName);

// Reads a user preset file's display name and five dimensions (other keys ignored). A
// dimension that is not a finite number is a SettingsFileError. Throws SettingsFileError.
SeparatorPreset ParsePresetText(const std::string& text);

// The ten lines of a defaults file, numbers written with FormatNumber, lines ending in "\n".
// Throws SettingsFileError for a value that is not finite: no such value is ever written.
std::string FormatDefaultsText(const WellParameters& parameters, const std::string& presetName);

// The six lines of a user preset file: the display name and the five separator dimensions.
// Throws SettingsFileError for a dimension that is not finite.
std::string FormatPresetText(const std::string& displayName, const WellParameters& parameters);

// A display name as a YAML value: written as it stands when YAML reads it back as the same
// text (ordinary names, and the empty name, which reads back as "~"), double-quoted otherwise.
std::string YamlNameValue(const std::string& name);
