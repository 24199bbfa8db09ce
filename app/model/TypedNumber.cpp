#include "app/model/TypedNumber.h"

#include "app/model/NumberFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {
// `text` with the full-width forms of ASCII (U+FF01 to U+FF5E, which an East Asian input method
// types in its full-width mode: "４２ｍｍ"), the ideographic space and the minus sign (U+2212, as
// text copied out of a document has it) as the ASCII they stand for. Any other byte stays.
std::string AsciiForms(std::string_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view three = text.substr(i, 3);
        const auto byte = [three](size_t at) { return static_cast<unsigned char>(three[at]); };
        if (three.size() == 3 && byte(0) == 0xEF && (byte(1) == 0xBC || byte(1) == 0xBD) &&
            (byte(2) & 0xC0) == 0x80) {
            const int code = 0xFF00 + (byte(1) - 0xBC) * 0x40 + (byte(2) - 0x80);
            if (code >= 0xFF01 && code <= 0xFF5E) {
                ascii += static_cast<char>(code - 0xFEE0);
                i += 2;
                continue;
            }
        }
        if (three == "\u3000" || three == "\u2212") {
            ascii += three == "\u3000" ? ' ' : '-';
            i += 2;
            continue;
        }
        ascii += text[i];
    }
    return ascii;
}

// The kinds of number a unit can measure; quantities of one kind take each other's units.
enum class Kind { None, Length, Velocity, Rate, PumpSpeed, Percent, Density, SurfaceTension };

Kind KindOf(Quantity quantity) {
    switch (quantity) {
    case Quantity::Diameter:
    case Quantity::Length:
    case Quantity::Stroke:
        return Kind::Length;
    case Quantity::Velocity:
        return Kind::Velocity;
    case Quantity::Rate:
        return Kind::Rate;
    case Quantity::PumpSpeed:
        return Kind::PumpSpeed;
    case Quantity::Percent:
        return Kind::Percent;
    case Quantity::Density:
        return Kind::Density;
    case Quantity::SurfaceTension:
        return Kind::SurfaceTension;
    case Quantity::Switch:
    case Quantity::Area:
        break;
    }
    return Kind::None;
}

// A unit as people type it (lower case, "3" for "³"), its kind, how many model units one of it
// is, and the decimals a value typed in it keeps.
struct Spelling {
    const char* text;
    Kind kind;
    double modelUnits;
    int decimals;
};
constexpr double kInchesPerMetre = 1 / 0.0254;
constexpr double kBarrelsPerCubicMetre = 1 / 0.158987294928;
constexpr Spelling kSpellings[] = {
    {"in", Kind::Length, 1, 3},
    {"inch", Kind::Length, 1, 3},
    {"inches", Kind::Length, 1, 3},
    {"\"", Kind::Length, 1, 3},
    {"mm", Kind::Length, 1 / 25.4, 1},
    {"cm", Kind::Length, 1 / 2.54, 2},
    {"m", Kind::Length, kInchesPerMetre, 3},
    {"ft", Kind::Length, 12, 3},
    {"in/s", Kind::Velocity, 1, 3},
    {"m/s", Kind::Velocity, kInchesPerMetre, 4},
    {"mm/s", Kind::Velocity, 1 / 25.4, 1},
    {"cm/s", Kind::Velocity, 1 / 2.54, 2},
    {"ft/s", Kind::Velocity, 12, 3},
    {"bbl/day", Kind::Rate, 1, 3},
    {"bbl/d", Kind::Rate, 1, 3},
    {"bpd", Kind::Rate, 1, 3},
    {"m3/day", Kind::Rate, kBarrelsPerCubicMetre, 2},
    {"m3/d", Kind::Rate, kBarrelsPerCubicMetre, 2},
    {"spm", Kind::PumpSpeed, 1, 3},
    {"/min", Kind::PumpSpeed, 1, 3},
    {"%", Kind::Percent, 1, 3},
    {"kg/m3", Kind::Density, 1, 3},
    {"g/cm3", Kind::Density, 1000, 3},
    {"n/m", Kind::SurfaceTension, 1, 4},
    {"mn/m", Kind::SurfaceTension, 0.001, 4},
    {"dyn/cm", Kind::SurfaceTension, 0.001, 4},
    {"kg", Kind::None, 1, 0}, // known words of no field's kind
    {"lb", Kind::None, 1, 0},
    {"psi", Kind::None, 1, 0},
    {"bar", Kind::None, 1, 0},
    {"s", Kind::None, 1, 0},
};

// Lower case, "³" as "3", "″" as a double quote, blanks and a final period dropped.
std::string Normalised(std::string_view unit) {
    std::string text(unit);
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"\u00b3", "3"}, {"\u2033", "\""}, {" ", ""}}) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), to);
        }
    }
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

const Spelling* SpellingOf(std::string_view unit) {
    const std::string text = Normalised(unit);
    for (const Spelling& spelling : kSpellings) {
        if (text == spelling.text) {
            return &spelling;
        }
    }
    return nullptr;
}

bool IsDigitAt(std::string_view text, size_t i) {
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// A comma followed by other than three digits ("3,25", "0,5") is a decimal comma, typed under
// a locale that writes decimals with a point; "1,200" groups thousands.
std::string CommaProblem(std::string_view text, size_t comma) {
    size_t digits = 0;
    while (IsDigitAt(text, comma + 1 + digits)) {
        ++digits;
    }
    if (digits == 3) {
        return "Type the number without separators (1200, not 1,200)";
    }
    return "Type the decimals after a point (3.25, not 3,25)";
}

// How many bytes of `text` from `i` are one blank: a space or a tab, or a no-break, narrow
// no-break or thin space, as locales group digits ("1 234,5" from a French spreadsheet).
size_t BlankAt(std::string_view text, size_t i) {
    if (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        return 1;
    }
    for (std::string_view space : {"\u00a0", "\u202f", "\u2009"}) {
        if (text.substr(std::min(i, text.size())).starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

// The example shows the grouping the user typed: blanks, or else the other of point and comma.
std::string GroupedNumberProblem(bool decimalComma, bool blankGroups) {
    const char mark = decimalComma ? ',' : '.';
    const char group = blankGroups ? ' ' : (decimalComma ? '.' : ',');
    return std::string("Type the number without separators (1234") + mark + "5, not 1" + group +
           "234" + mark + "5)";
}

std::string Problem(const ParameterEntry& parameter, const std::string& unit) {
    return parameter.Label() + " takes " + UnitsTaken(parameter.quantity) + ", not \u201c" + unit +
           "\u201d";
}
} // namespace

size_t CommaInNumber(std::string_view text) {
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == ',' && IsDigitAt(text, i - 1) && IsDigitAt(text, i + 1)) {
            const bool withinNumber = text.find_first_not_of("0123456789,.+- \t") >= i;
            return withinNumber ? i : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

std::string UnitsTaken(Quantity quantity) {
    const std::string oilfield = UnitOf(quantity, UnitSystem::Oilfield).symbol;
    const std::string metric = UnitOf(quantity, UnitSystem::Metric).symbol;
    return oilfield == metric ? oilfield : oilfield + " or " + metric;
}

bool IsUnitSpelled(std::string_view unit) {
    return SpellingOf(AsciiForms(unit)) != nullptr;
}

std::optional<SpelledUnit> UnitSpelled(std::string_view unit, Quantity quantity) {
    const Spelling* spelling = SpellingOf(AsciiForms(unit));
    if (!spelling || spelling->kind == Kind::None || spelling->kind != KindOf(quantity)) {
        return std::nullopt;
    }
    return SpelledUnit{1 / spelling->modelUnits, spelling->decimals};
}

std::optional<UnitSystem> SystemSpelled(std::string_view unit, Quantity quantity) {
    const std::optional<SpelledUnit> spelled = UnitSpelled(unit, quantity);
    for (const UnitSystem system : {UnitSystem::Oilfield, UnitSystem::Metric}) {
        if (spelled &&
            std::abs(spelled->perModelUnit / UnitOf(quantity, system).perModelUnit - 1) < 1e-12) {
            return system;
        }
    }
    return std::nullopt;
}

TypedValue ReadTyped(std::string_view typed, const ParameterEntry& parameter, UnitSystem units,
                     bool decimalComma) {
    std::string text = AsciiForms(typed);
    if (decimalComma) {
        std::replace(text.begin(), text.end(), ',', '.');
    } else if (const size_t comma = CommaInNumber(text); comma != std::string_view::npos) {
        return {0, CommaProblem(text, comma)};
    }
    const LeadingNumber number = ScanLeadingNumber(text);
    size_t unitStart = number.end;
    while (const size_t blank = BlankAt(text, unitStart)) {
        unitStart += blank;
    }
    // A second decimal point straight after the number ("1.234.567", or "1.234,5" under a comma
    // locale), or digits after a blank ("1 234,5"), make a grouped number, not the number before.
    const bool secondPoint =
        number.end < text.size() && text[number.end] == '.' && IsDigitAt(text, number.end + 1);
    const bool blankGroups = unitStart > number.end && IsDigitAt(text, unitStart);
    if (number.Found() && (secondPoint || blankGroups)) {
        return {0, GroupedNumberProblem(decimalComma, blankGroups)};
    }
    const std::string unit(TrimBlanks(std::string_view(text).substr(unitStart)));
    const Unit& shown = parameter.UnitIn(units);
    double perModelUnit = shown.perModelUnit;
    int decimals = shown.decimals;
    if (number.Found() && !unit.empty()) {
        const Spelling* spelling = SpellingOf(unit);
        const bool apart = unitStart > number.end;
        if (spelling && spelling->kind == KindOf(parameter.quantity)) {
            perModelUnit = 1 / spelling->modelUnits;
            decimals = spelling->decimals;
        } else if (spelling || apart) {
            return {0, Problem(parameter, unit)};
        } // else a word glued to the number: the number counts, as "12abc" always has
    }
    const double model = ToModelUnit(RoundToDecimals(number.value, decimals), perModelUnit);
    if (number.tooLarge || !std::isfinite(model)) {
        return {0, "The number is too large to compute with"};
    }
    return {model, {}, number.Found()};
}
