#pragma once
// A number typed into a field, read as people write it: in the field's unit system, or in a unit
// written after it ("40 m3/d", "88.9 mm", "6 in/s"), with the decimal comma of the user's locale
// ("3,25"). The rules, in order:
// - The leading number counts, as it always has ("12abc" is 12; no number is 0).
// - A unit after it, apart or not ("40 m³/d", "40m3/d"), is read in that unit when it is one of
//   the field's kind (a length, a rate, ...): any unit of either system and a few common others
//   (cm, ft, mm/s, mN/m). A unit of another kind ("40 kg"), or an unknown word apart from the
//   number ("40 furlongs"), is a problem naming what the field takes.
// - Under a locale that writes decimals with a comma, a comma in the number is its decimal
//   point (a point still is one); under a locale with a point, a comma inside the number is a
//   problem rather than 1: asking for the number without separators ("1,200"), or for a
//   decimal point where other than three digits follow ("3,25").
// - The value is rounded to the decimals of the unit it was typed in, then converted to the
//   model's unit. A number beyond a double's range ("1e400", or 400 nines) is a problem, not 0.

#include "app/model/ParameterTable.h"
#include "app/model/Units.h"

#include <optional>
#include <string>
#include <string_view>

struct TypedValue {
    double model = 0;       // in the model's unit; meaningful without a problem
    std::string problem;    // why the text cannot be used; empty when it can
    bool hasNumber = false; // the text begins with a number (else the value is 0)
};

TypedValue ReadTyped(std::string_view text, const ParameterEntry& parameter, UnitSystem units,
                     bool decimalComma);

// Where a comma stands between digits of the number `text` begins with ("1,200", "3,25"), or
// npos: a thousands separator or a decimal comma, which the number itself cannot hold.
size_t CommaInNumber(std::string_view text);

// What the field takes, for its problems and tooltips: "bbl/day or m³/day".
std::string UnitsTaken(Quantity quantity);

// Whether `unit` is a unit as people type them (of any kind): "bbl/d", "M³/day", "ft", "kg".
bool IsUnitSpelled(std::string_view unit);
// The system whose unit of `quantity` `unit` spells ("bbl/d" is oilfield's rate, "mm" metric's
// diameter), or none: a unit of another kind, or one of neither system ("ft").
std::optional<UnitSystem> SystemSpelled(std::string_view unit, Quantity quantity);
// A unit of `quantity`'s kind as `unit` spells it, of either system or another ("ft", "mN/m"):
// a value in it is rounded to `decimals`, then divided by `perModelUnit`, as when typed.
struct SpelledUnit {
    double perModelUnit = 1;
    int decimals = 3;
};
std::optional<SpelledUnit> UnitSpelled(std::string_view unit, Quantity quantity);
