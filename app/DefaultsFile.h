#pragma once
// The text formats of the defaults file and of a user preset file.

#include "app/SeparatorPreset.h"
#include "app/WellParameters.h"

#include <stdexcept>
#include <string>

// A defaults or preset text that cannot be used: not YAML, a missing key, a value that is
// not a finite number. The message names the problem (and the line and column when known).
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the ten keys of a defaults file (order free, other keys ignored) into `parameters`
// (running flag untouched) and `presetName`. Throws SettingsFileError.
void ParseDefaultsText(const std::string& text, WellParameters& parameters,
                       std::string& presetName);

// Reads a user preset file's display name and five dimensions (other keys ignored). Throws
// SettingsFileError.
SeparatorPreset ParsePresetText(const std::string& text);

// The ten lines of a defaults file, numbers written with FormatNumber, lines ending in "\n".
std::string FormatDefaultsText(const WellParameters& parameters, const std::string& presetName);

// The six lines of a user preset file: the display name and the five separator dimensions.
std::string FormatPresetText(const std::string& displayName, const WellParameters& parameters);

// A display name as a YAML value: written as it stands when YAML reads it back as the same
// text (ordinary names, and the empty name, which reads back as "~"), double-quoted otherwise.
std::string YamlNameValue(const std::string& name);
