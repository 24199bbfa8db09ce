#pragma once
// The text formats of the defaults file and of a user preset file: YAML maps of the inputs'
// stored keys (the parameter table) with numbers written with a point, whatever the locale.

#include "app/model/SeparatorPreset.h"
#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <stdexcept>
#include <string>

// A defaults or preset text that cannot be used or written: not YAML, a missing key, a value
// that is not a number, a non-finite value in a preset or in a text to be written. The message
// names the problem and the key (and the line when known).
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a defaults file's preset name and every input's number (order free, other keys ignored)
// into `parameters` (running flag untouched) and `presetName`. An input the table marks as
// optional in files (one added after files were first written) keeps the value `parameters`
// has when its key is missing. YAML's infinities and not-a-number (".inf", ".nan") are read as
// such: judging values is the caller's business. Throws SettingsFileError; then nothing changed.
// The unit system the user chose is read into `units` when given ("Units: metric"; a file
// without the key is in the oilfield system; another word is an error).
void ParseDefaultsText(const std::string& text, WellParameters& parameters, std::string& presetName,
                       UnitSystem* units = nullptr);

// Reads a user preset file's display name and the dimensions presets fix (other keys ignored).
// A dimension that is not a finite number or breaks its own range (a dip tube length of 4000, a
// diameter of -3) is a SettingsFileError.
SeparatorPreset ParsePresetText(const std::string& text);

// A defaults file: the casing size, the preset name, then every other input, each number written
// exactly (it reads back as the same number). Throws SettingsFileError for a value that is not
// finite: no such value is ever written.
// The unit system comes last ("Units: oilfield").
std::string FormatDefaultsText(const WellParameters& parameters, const std::string& presetName,
                               UnitSystem units = UnitSystem::Oilfield);

// The inputs and the preset's name as a defaults file writes them, without the unit system: the
// rest of a map whose writer keeps the unit system itself (a case).
std::string FormatInputsText(const WellParameters& parameters, const std::string& presetName);

// A user preset file: the display name and the dimensions presets fix. Throws SettingsFileError
// for a dimension that is not finite.
std::string FormatPresetText(const SeparatorPreset& preset);
