#pragma once
// The units numbers are shown and typed in. The model computes in its own (oilfield) units:
// inches, inches per second, barrels per day, strokes per minute. Every other system is a view
// of those numbers: a value is converted where it meets a person and nowhere else, with exact
// factors (1 in = 25.4 mm, 1 bbl = 0.158987294928 m³).

#include <optional>
#include <string>
#include <string_view>

enum class UnitSystem { Oilfield, Metric };

// "oilfield" or "metric", as files and the calculator's --units write it; and back (none for
// another word).
const char* UnitSystemName(UnitSystem system);
std::optional<UnitSystem> UnitSystemNamed(std::string_view name);

// What kind of number an input or a result is; each kind has one unit per system.
enum class Quantity {
    Diameter,       // in | mm
    Length,         // in | m (the dip tube length)
    Velocity,       // in/s | m/s
    Rate,           // bbl/day | m³/day
    PumpSpeed,      // SPM in both
    Stroke,         // in | m (the pump's stroke length)
    Percent,        // % in both
    Switch,         // no unit: 0 or 1
    Density,        // kg/m³ in both (fluid properties are SI in the oilfield too)
    SurfaceTension, // N/m in both
    Area,           // in² | mm² (the calculator's flow areas)
};

struct Unit {
    const char* symbol;   // "in", "m³/day": after numbers on screen and on paper
    const char* longName; // "inches", "cubic metres per day": in tooltips
    const char* column;   // "in", "m3_per_day": in the calculator's keys and columns
    double perModelUnit;  // shown value = model value × perModelUnit
    int decimals;         // what a field shows and keeps of a typed value: 3 for in, 1 for mm
};

const Unit& UnitOf(Quantity quantity, UnitSystem system);

// A model value in `system`'s unit of `quantity`, and back.
double ToShown(double modelValue, Quantity quantity, UnitSystem system);
double ToModel(double shownValue, Quantity quantity, UnitSystem system);
// A value in a unit of `perModelUnit` model units in the model's unit, to 15 significant digits:
// 76.2 mm is 3 in, not the 3.0000000000000004 of the bare division, in the files as on screen.
double ToModelUnit(double shownValue, double perModelUnit);

// A shown value rounded half up to the unit's decimals.
double TidyShown(double shownValue, Quantity quantity, UnitSystem system);

// The model value as a field shows it in `system`: converted, rounded to the unit's decimals and
// written without trailing zeros or an exponent ("88.9", "0.1524", "1234.568").
std::string FormatShown(double modelValue, Quantity quantity, UnitSystem system);
// The same for a value already in `system`'s unit.
std::string FormatShownValue(double shownValue, Quantity quantity, UnitSystem system);

// The calculator's name of a value in `system`: the name and the unit's column when the unit
// is one of a system ("maximum_capacity" -> "maximum_capacity_m3_per_day"). With `always`
// false the name stays bare where both systems share the unit ("spm").
std::string NameWithUnit(const std::string& name, Quantity quantity, UnitSystem system,
                         bool always = true);

// FormatShown and the unit after a blank: "88.9 mm".
std::string FormatWithUnit(double modelValue, Quantity quantity, UnitSystem system);

// A limit of a range rule in `system`, converted exactly and written with enough digits that
// it reads as the same limit ("0.3048" m/s for 12 in/s, "12.192" m for 480 in).
std::string FormatLimit(double modelValue, Quantity quantity, UnitSystem system);
