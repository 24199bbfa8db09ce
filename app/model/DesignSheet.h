#pragma once
// The design as a sheet of (name, value, unit) rows under five headings: the verdict, every
// input, the results, the gas reach of the last pump cycle and the design's warnings. Copy Design
// puts it on the clipboard as tab-separated text; Export Report prints it.

#include "app/model/CaseFile.h"
#include "app/model/ParameterTable.h"
#include "app/model/SimulationState.h"
#include "app/model/Verdict.h"
#include "app/model/WellParameters.h"

#include <optional>
#include <string>
#include <vector>

struct DesignRow {
    std::string name;
    std::string value;
    std::string unit;
};

struct DesignSection {
    std::string heading;
    std::vector<DesignRow> rows;
};

// A warning's row: named kWarningRow, the warning's sentence as its value, no unit.
inline constexpr const char* kWarningRow = "Warning";
// The section of the case's particulars, and its row of notes.
inline constexpr const char* kCaseSection = "Case";
inline constexpr const char* kNotesRow = "Notes";

// A box whose text is not in use (out of its range, or not understood): the design's figures
// are for the value in use instead.
struct RefusedText {
    const ParameterEntry* parameter;
    std::string text;
    bool understood = true; // a number, refused as out of range
};

// "Pump speed "7,5" is not used (not understood): the figures are for 8 SPM".
std::string RefusedTextSentence(const RefusedText& refused, const WellParameters& inUse,
                                UnitSystem units);

struct DesignInput {
    WellParameters parameters;
    std::string presetName; // empty for typed dimensions
    std::string casingName; // the casing as the list names it; empty when it names none
    SimulationState state;  // for the gas reach of the last complete pump cycle
    DesignVerdict verdict;  // JudgeDesign(parameters)
    UnitSystem units = UnitSystem::Oilfield; // every figure and its unit in these
    CaseDetails details{};                   // the case's particulars
    std::string caseFile{};                  // the case's file; empty when never saved
    std::vector<RefusedText> refused{};      // the panel's boxes whose texts are not in use
};

// "Case" (the particulars and the file, when the design has any), "Verdict", "Inputs",
// "Results", "Gas reach", "Warnings". While a value breaks its range rule
// the figures read as an em dash, as in the panel. The warnings are the design's, whatever the
// instant: the texts the panel shows but does not use, the rules the values break, gas reaching
// the dip tube inlet (and after how long, and why) and a dip tube shorter than recommended;
// none, no rows.
std::vector<DesignSection> DescribeDesign(const DesignInput& design);

// A header row, then one line per row: name, value and unit separated by tabs, each line
// ended by a line feed. Tabs and line breaks inside a text become blanks. With `decimalComma`
// (the user's locale writes decimals so) a figure's decimal point is a comma, as that locale's
// spreadsheets read numbers.
std::string DesignAsTabSeparatedText(const std::vector<DesignSection>& sections,
                                     bool decimalComma = false);
