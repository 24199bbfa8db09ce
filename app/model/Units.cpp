#include "app/model/Units.h"

#include "app/model/NumberFormat.h"

#include <cmath>

namespace {
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMetresPerInch = 0.0254;
constexpr double kCubicMetresPerBarrel = 0.158987294928;

// One row per quantity: the oilfield unit (the model's own), then the metric one. Metric
// engineers (the SPE metric standard) write diameters in mm, lengths in m, velocities in m/s and
// rates in m³/d. The decimals keep what a person types and a little more than a gauge reads:
// 0.1 mm, 1 mm of length, 0.1 mm/s and 0.01 m³/day; the oilfield units keep three decimals.
struct UnitRow {
    Unit oilfield;
    Unit metric;
};
const UnitRow kUnits[] = {
    // Diameter
    {{"in", "inches", "in", 1, 3}, {"mm", "millimetres", "mm", kMillimetresPerInch, 1}},
    // Length
    {{"in", "inches", "in", 1, 3}, {"m", "metres", "m", kMetresPerInch, 3}},
    // Velocity
    {{"in/s", "inches per second", "in_per_s", 1, 3},
     {"m/s", "metres per second", "m_per_s", kMetresPerInch, 4}},
    // Rate
    {{"bbl/day", "barrels per day", "bbl_per_day", 1, 3},
     {"m³/day", "cubic metres per day", "m3_per_day", kCubicMetresPerBarrel, 2}},
    // PumpSpeed
    {{"SPM", "strokes per minute", "spm", 1, 3}, {"SPM", "strokes per minute", "spm", 1, 3}},
    // Stroke: to 0.1 mm, so that the shortest stroke, 6 in, is 0.1524 m when typed as the card
    // shows it (to 1 mm it was 0.152 m, below the limit)
    {{"in", "inches", "in", 1, 3}, {"m", "metres", "m", kMetresPerInch, 4}},
    // Percent
    {{"%", "percent", "percent", 1, 3}, {"%", "percent", "percent", 1, 3}},
    // Switch
    {{"", "", "", 1, 0}, {"", "", "", 1, 0}},
    // Density
    {{"kg/m³", "kilograms per cubic metre", "kg_per_m3", 1, 3},
     {"kg/m³", "kilograms per cubic metre", "kg_per_m3", 1, 3}},
    // SurfaceTension
    {{"N/m", "newtons per metre", "n_per_m", 1, 4}, {"N/m", "newtons per metre", "n_per_m", 1, 4}},
    // Area
    {{"in\u00b2", "square inches", "in2", 1, 3},
     {"mm\u00b2", "square millimetres", "mm2", kMillimetresPerInch* kMillimetresPerInch, 1}},
};

// A value converted by a factor lands a few units in the last place off the decimal it is on
// paper: 1.75 in is 44.45 mm, but 1.75 x 25.4 comes out 44.4499..., which would round to 44.4.
// A converted value is nudged up by far less than any step shown, so that it rounds as on
// paper; a value in the model's own unit rounds as it is.
double AsOnPaper(double shown, const Unit& unit) {
    return unit.perModelUnit == 1 ? shown : shown + std::fabs(shown) * 1e-13;
}
} // namespace

const Unit& UnitOf(Quantity quantity, UnitSystem system) {
    const UnitRow& row = kUnits[static_cast<int>(quantity)];
    return system == UnitSystem::Metric ? row.metric : row.oilfield;
}

double ToShown(double modelValue, Quantity quantity, UnitSystem system) {
    return modelValue * UnitOf(quantity, system).perModelUnit;
}

double ToModel(double shownValue, Quantity quantity, UnitSystem system) {
    return ToModelUnit(shownValue, UnitOf(quantity, system).perModelUnit);
}

double ToModelUnit(double shownValue, double perModelUnit) {
    return perModelUnit == 1 ? shownValue : ToSignificantDigits(shownValue / perModelUnit, 15);
}

double TidyShown(double shownValue, Quantity quantity, UnitSystem system) {
    const Unit& unit = UnitOf(quantity, system);
    return RoundToDecimals(AsOnPaper(shownValue, unit), unit.decimals);
}

std::string FormatShown(double modelValue, Quantity quantity, UnitSystem system) {
    return FormatShownValue(ToShown(modelValue, quantity, system), quantity, system);
}

std::string FormatShownValue(double shownValue, Quantity quantity, UnitSystem system) {
    const Unit& unit = UnitOf(quantity, system);
    return FormatDecimals(AsOnPaper(shownValue, unit), unit.decimals);
}

std::string FormatWithUnit(double modelValue, Quantity quantity, UnitSystem system) {
    return FormatShown(modelValue, quantity, system) + " " + UnitOf(quantity, system).symbol;
}

std::string FormatLimit(double modelValue, Quantity quantity, UnitSystem system) {
    return FormatNumber(ToShown(modelValue, quantity, system));
}

const char* UnitSystemName(UnitSystem system) {
    return system == UnitSystem::Metric ? "metric" : "oilfield";
}

std::optional<UnitSystem> UnitSystemNamed(std::string_view name) {
    for (const UnitSystem system : {UnitSystem::Oilfield, UnitSystem::Metric}) {
        if (name == UnitSystemName(system)) {
            return system;
        }
    }
    return std::nullopt;
}

std::string NameWithUnit(const std::string& name, Quantity quantity, UnitSystem system,
                         bool always) {
    const Unit& unit = UnitOf(quantity, system);
    const bool shared =
        std::string_view(unit.column) == UnitOf(quantity, UnitSystem::Oilfield).column &&
        std::string_view(unit.column) == UnitOf(quantity, UnitSystem::Metric).column;
    if (!*unit.column || (shared && !always)) {
        return name;
    }
    return name + "_" + unit.column;
}
