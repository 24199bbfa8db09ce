#pragma once
// The design as a sheet of (name, value, unit) rows under four headings: every input, the
// results, the gas reach and the active warnings. Copy Design puts it on the clipboard as
// tab-separated text; Export Report prints it.

#include "app/model/SimulationState.h"
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

struct DesignInput {
    WellParameters parameters;
    std::string presetName; // empty for typed dimensions
    SimulationState state;
    std::optional<std::string> aboveCapacity; // the notice, while it is shown
};

// "Inputs", "Results", "Gas reach", "Warnings". While a value breaks its range rule the
// results and the gas reach read as an em dash, as in the panel. The warnings are the rules
// the values break, the above-capacity notice and gas at the dip tube inlet; none, no rows.
std::vector<DesignSection> DescribeDesign(const DesignInput& design);

// A header row, then one line per row: name, value and unit separated by tabs, each line
// ended by a line feed. Tabs and line breaks inside a text become blanks.
std::string DesignAsTabSeparatedText(const std::vector<DesignSection>& sections);
