#pragma once
// A case: a whole design saved as one file. It holds every input of the parameter table, the
// separator preset's name, the unit system and the well's particulars (well name, field,
// engineer, notes). The text is YAML: "Case Version", the particulars, "Units", then the inputs
// under the defaults file's stored keys (app/model/DefaultsFile.h), each number written exactly.

#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <string>

// The well's particulars; every text may be empty, the notes may take several lines.
struct CaseDetails {
    std::string wellName;
    std::string field;
    std::string engineer;
    std::string notes;
    bool operator==(const CaseDetails&) const = default;
};

// Everything a case fixes. The pump's running flag is not part of a design.
struct CaseDesign {
    WellParameters parameters;
    std::string presetName; // empty for typed dimensions
    UnitSystem units = UnitSystem::Oilfield;
    CaseDetails details;

    // Same inputs (by the table), preset name, units and particulars.
    bool SameAs(const CaseDesign& other) const;
};

// The version this program writes; it reads this one and every one before it.
inline constexpr int kCaseVersion = 1;
// Case files are small; anything bigger is not one (the limit of the defaults and presets).
inline constexpr std::size_t kMaxCaseFileBytes = 1 << 20;
// The file name extension of cases, and the filter of the file dialogs.
inline constexpr const char* kCaseExtension = ".gscase";
inline constexpr const char* kCaseFilter = "Gas separator cases (*.gscase)";
// Opening also offers every file: a case mailed or saved under another name is still a case.
inline constexpr const char* kAnyFileFilter = "All files (*)";

// A file name made of the letters (of any script) and digits of `name`, at most 100 bytes of
// whole characters, or `fallback` when that leaves no name. With `wordsApart` its blanks,
// hyphens and underscores are kept too, one blank between words ("Well 7-b", else "Well7b").
std::string FileNameStem(const std::string& name, bool wordsApart, const std::string& fallback);

// A case's or report's name after the well's: its words kept apart.
inline std::string WellFileStem(const std::string& wellName, const std::string& fallback) {
    return FileNameStem(wellName, true, fallback);
}

// Reads a case. An input the table marks as optional in files (one added later) that the file
// lacks takes its value in `shipped`. Every value must be a finite number within its own range
// (diameters are not judged against the casing here, as in the defaults file). Throws
// SettingsFileError naming the key and, when known, the line; then nothing is returned.
CaseDesign ParseCaseText(const std::string& text, const WellParameters& shipped);

// The case's text, which reads back as the same design. Throws SettingsFileError for a value
// that is not finite: no such value is ever written.
std::string FormatCaseText(const CaseDesign& design);
