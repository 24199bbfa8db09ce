#pragma once
// The calculator's --select: every shipped separator preset judged in the design's casing at its
// rate and pump speed, the ones that fit first, best first (as the program's Find a Separator
// lists them), as a CSV table.

#include "app/model/SeparatorPreset.h"
#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <string>
#include <vector>

// The separator presets compiled into the calculator, in their files' order.
std::vector<SeparatorPreset> ShippedSeparatorPresets();

// The table: preset, fits (yes or no), reason, maximum_capacity_bbl_per_day,
// capacity_margin_percent, long_run_peak_gas_penetration_in, dip_tube_length_in,
// time_to_dip_tube_inlet_s, verdict, verdict_cause; in metric units the reason, the columns
// and their names in metric ("maximum_capacity_m3_per_day"). The figures of a separator that
// does not fit are empty.
std::string SelectionTable(const std::vector<SeparatorPreset>& presets,
                           const WellParameters& design, UnitSystem units);
