#pragma once
// The one table of the program's inputs. Each row holds everything the program knows about one
// input: how files store it, how people name it and in which unit, the range it must keep, the
// names of its text box, change event and warning, and its calculator option and column. The
// rules, the files, the panel, the design sheet, the report, the calculator, the state dump
// and the tests all read it; adding an input is adding a row (and a member of WellParameters
// for the model to compute with).

#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <span>
#include <string>

enum class ParameterId {
    CasingSize,
    SeparatorOD,
    SeparatorID,
    DipTubeOD,
    DipTubeID,
    DipTubeLength,
    RiseVelocity,
    ProductionRate,
    SPM,
    RateFromPump,
    PlungerDiameter,
    StrokeLength,
    PumpEfficiency,
    LiquidDensity,
    GasDensity,
    SurfaceTension,
};

// The values a range rule allows on its own: a lowest and a highest value, each allowed or
// not, and whether the value must also stay below the casing size (a diameter).
struct Limits {
    double low;
    bool lowAllowed;
    double high; // infinity: no upper limit of its own
    bool highAllowed;
    bool belowCasing;
};

struct ParameterEntry {
    ParameterId id{};
    // In the defaults, preset and case files.
    const char* storedKey = ""; // "Dip Tube Length"
    bool inPresets = false;     // one of the separator dimensions a preset fixes (typing clears it)
    // Added after files were first written: a file without the key takes the shipped value.
    bool optionalInFiles = false;
    // For people: messages and the design sheet use the name, tooltips the full name, the panel
    // the caption and its detail line (the unit is added after the detail).
    const char* name = "";          // "dip tube length"
    const char* fullName = "";      // "Dip tube length"
    const char* caption = "";       // "Length"
    const char* captionDetail = ""; // "dip tube length"; empty: the unit alone
    Quantity quantity{};
    Limits limits{};
    // The panel: the control that edits it (a text box, or a list for an input picked from
    // one), its change event, the warning shown while the value breaks its range, and the
    // well's dimension line that shows it (empty: none).
    const char* field = "";
    bool fromList = false;
    const char* changedEvent = "";
    const char* rangeWarning = "";
    const char* dimensionLine = "";
    // The calculator's option and CSV column ("dip_tube_length", "--dip-tube-length"), and the
    // key in the driver's state dump.
    const char* column = "";
    const char* dumpKey = "";
    // The value in the model.
    double (WellParameters::*get)() const = nullptr;
    void (WellParameters::*set)(double) = nullptr;
    // While this is true the model computes the value from others (the production rate from the
    // pump): its box shows it read-only, `computedDetail` in its caption. Null: always typed.
    bool (WellParameters::*computedWhen)() const = nullptr;
    const char* computedDetail = "";
    // A switch's two states in words, for the design sheet and the report ("typed", "from the
    // pump").
    const char* offText = "";
    const char* onText = "";

    double Get(const WellParameters& parameters) const { return (parameters.*get)(); }
    void Set(WellParameters& parameters, double value) const { (parameters.*set)(value); }
    const Unit& UnitIn(UnitSystem system) const { return UnitOf(quantity, system); }
    // Typed into a text box of the panel (not picked from a list, not edited elsewhere).
    bool IsTyped() const { return *field && !fromList; }
    // An option and a column of the calculator.
    bool HasColumn() const { return *column; }
    bool IsComputed(const WellParameters& parameters) const {
        return computedWhen && (parameters.*computedWhen)();
    }
    // The value as the design sheet shows it: a number, or a switch's state in words.
    std::string ValueText(const WellParameters& parameters) const;
    // "--dip-tube-length".
    std::string Flag() const;
    // The sheet's and the chart's name: the name with a capital ("Dip tube length").
    std::string Label() const;
};

// Every input, in the order the panel, the files and the calculator list them.
std::span<const ParameterEntry> Parameters();
const ParameterEntry& ParameterOf(ParameterId id);
// The input typed into the text box of this name; the input with this calculator column or
// flag. Null when there is none.
const ParameterEntry* ParameterWithField(const std::string& field);
const ParameterEntry* ParameterWithColumn(const std::string& columnOrFlag);
