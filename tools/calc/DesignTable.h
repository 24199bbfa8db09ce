#pragma once
// Many designs at once: the rows of a batch file or of a sweep over one option, read one at a
// time, computed on a few threads, and written as a table (CSV) in their order as they are
// done, so a table of any length takes the same memory.

#include "app/model/TypedNumber.h"
#include "tools/calc/DesignFigures.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A design to compute and where it comes from, for messages ("line 7", "spm=8.5").
struct TableInputRow {
    std::string where;
    WellParameters design;
    std::vector<std::string> carried; // a batch's columns that are not inputs, as read
    std::string error;                // why the row cannot be used
};

// Where the rows come from: a batch file or a sweep.
class RowSource {
public:
    virtual ~RowSource() = default;
    // The next row; false after the last. Throws CalculatorError when the input cannot be read.
    virtual bool Next(TableInputRow& row) = 0;
    // How many rows there are; 0 when that is not known before the last is read.
    virtual size_t Count() const = 0;
    // The names of the columns carried through (text, not inputs), in their order.
    virtual const std::vector<std::string>& CarriedColumns() const = 0;
    // The inputs the table shows, in table order (InputsInUse).
    virtual const std::vector<const ParameterEntry*>& InputColumns() const = 0;
};

// The rows of a batch CSV in `in`. Its header names inputs by column ("spm", "dip_tube_od";
// letter case and hyphens do not matter); other columns are carried through to the table. A
// missing input is that of `base` in every row, and an empty field of an input is an error of
// its row. What the header means (the columns carried, the inputs not given and their value, in
// `units`) is said on `err` at once. `count` is the number of rows if known (CountBatchRows), else
// 0. `named` are the inputs the command line gave (they and the columns decide which inputs are
// derived: DerivedInputs.h). Throws CalculatorError for a header that cannot be used.
std::unique_ptr<RowSource> BatchSource(std::istream& in, const WellParameters& base,
                                       std::ostream& err, size_t count = 0,
                                       const std::vector<const ParameterEntry*>& named = {},
                                       UnitSystem units = UnitSystem::Oilfield);
// The number of rows below the header in `in`, read to its end.
size_t CountBatchRows(std::istream& in);

// One option from FROM to TO by STEP, as "NAME=FROM:TO:STEP".
struct Sweep {
    const ParameterEntry* option = nullptr;
    UnitSystem units = UnitSystem::Oilfield; // of FROM, TO and STEP
    double from = 0, step = 0;
    size_t count = 0;
    // Rounded to the decimals the swept unit keeps, as the program's fields round a value.
    double Value(size_t i) const;
    int Decimals() const; // three in oilfield units; 1 for mm, 2 for m³/day, ...
};
constexpr size_t kMostSweepValues = 100000;
// Throws CalculatorError for an unknown option, a bad number, a step of 0, finer than the
// swept unit keeps (0.001 in oilfield units, 0.1 mm) or leading away from TO, or more than
// kMostSweepValues values.
// NAME may name its unit ("separator_od_mm"); a bare NAME is in `units`.
Sweep ParseSweep(const std::string& argument, UnitSystem units = UnitSystem::Oilfield);

// An input named by a calculator column, bare ("separator_od": oilfield) or with the unit of
// either system ("separator_od_mm", "production_rate_m3_per_day"); null for none.
struct NamedInput {
    const ParameterEntry* input = nullptr;
    UnitSystem units = UnitSystem::Oilfield;
    bool withUnit = false;
    // A heading's unit of neither system ("Dip Tube Length (ft)"), in place of `units`.
    std::optional<SpelledUnit> spelled{};
};
NamedInput InputNamed(const std::string& column);
// A value given in `units` as the model holds it: rounded to the unit's decimals, converted.
double ModelValue(const ParameterEntry& input, double given, UnitSystem units);
// The column the table gives an input in `units`: bare in oilfield, as always; with its unit in
// metric where the systems' units differ ("separator_od_mm", "spm").
std::string InputColumn(const ParameterEntry& input, UnitSystem units);
// Throws CalculatorError when the swept input and `named` derive an input they also name.
// `units` is the run's: a rise velocity from the fluids is rounded in it, as the panel does.
std::unique_ptr<RowSource> SweepSource(const Sweep& sweep, const WellParameters& base,
                                       const std::vector<const ParameterEntry*>& named = {},
                                       UnitSystem units = UnitSystem::Oilfield);

// The deepest penetration however long the pump runs, as a sweep's chart draws it.
struct ChartPoint {
    double x = 0, deepest = 0, dipTubeLength = 0, maximumCapacity = 0;
};

// Where the table goes and how it is computed.
struct TableRun {
    size_t workers = 0; // threads computing rows; 0: one row after the other on this thread
    std::function<void(std::string_view)> write; // the table, in pieces
    std::function<void()> flush;                 // hands on what was written so far
    const ParameterEntry* chartOption = nullptr; // keep the chart's points of this option
};
struct TableResult {
    bool anyBadRow = false;
    std::vector<ChartPoint> points; // with a chart option: one per row computed
    size_t mostRowsInFlight = 0;
};

// Writes the header (the inputs' columns, the carried columns, the figures' keys), then one
// row per usable row of `source` in its order; a bad row or a value out of range is reported
// on `err` with where it comes from and left out. Over 100 rows, a progress line follows every
// tenth of them (or, their number unknown, every 100, 200, ... 1000, 2000, ... rows).
TableResult ComputeTable(RowSource& source, const RunSettings& settings, const TableRun& run,
                         std::ostream& err);
