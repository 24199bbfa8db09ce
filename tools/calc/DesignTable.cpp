#include "tools/calc/DesignTable.h"

#include "app/model/InletOutlook.h"
#include "app/model/NumberFormat.h"
#include "app/model/TypedNumber.h"
#include "tools/calc/CsvTable.h"
#include "tools/calc/DerivedInputs.h"
#include "tools/calc/OrderedPool.h"
#include "tools/calc/QuotedText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ostream>
#include <sstream>

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// "Dip-Tube-OD " and "Dip Tube OD" -> "dip_tube_od": a spreadsheet's headings are words.
std::string ColumnName(std::string_view header) {
    std::string name;
    for (const char c : TrimBlanks(header)) {
        const bool apart = c == '-' || c == ' ' || c == '\t';
        if (!apart) {
            name += AsciiLower(c);
        } else if (name.empty() || name.back() != '_') {
            name += '_';
        }
    }
    return name;
}

} // namespace

NamedInput InputNamed(const std::string& column) {
    if (const ParameterEntry* bare = ParameterWithColumn(column)) {
        return {bare, UnitSystem::Oilfield, false};
    }
    for (const ParameterEntry& input : Parameters()) {
        if (!input.HasColumn()) {
            continue;
        }
        // The names the program gives its inputs in Copy Design, the report, the tooltips and
        // the case files ("Pump speed", "Gas Bubble Rise Velocity"), so that a pasted sheet's
        // headings name them.
        for (const char* name : {input.name, input.fullName, input.storedKey}) {
            if (column == ColumnName(name)) {
                return {&input, UnitSystem::Oilfield, false};
            }
        }
        for (const UnitSystem units : {UnitSystem::Oilfield, UnitSystem::Metric}) {
            if (column == NameWithUnit(input.column, input.quantity, units)) {
                return {&input, units, true};
            }
        }
    }
    return {};
}

double ModelValue(const ParameterEntry& input, double given, UnitSystem units) {
    return ToModel(TidyShown(given, input.quantity, units), input.quantity, units);
}

std::string InputColumn(const ParameterEntry& input, UnitSystem units) {
    return units == UnitSystem::Oilfield ? input.column
                                         : NameWithUnit(input.column, input.quantity, units, false);
}

namespace {
// A heading that names an input with its unit in brackets, as spreadsheets' headings do:
// "Production Rate (bbl/day)", "Separator OD [mm]", "Dip Tube Length (ft)": any unit a field
// takes. A unit of another kind ("Production Rate (kg)") is an error of the header rather than
// a column of text; a bracketed word that is no unit ("Separator OD (nominal)") names no input.
NamedInput InputWithBracketedUnit(std::string_view field) {
    const std::string_view heading = TrimBlanks(field);
    const char close = heading.empty() ? '\0' : heading.back();
    const char open = close == ')' ? '(' : close == ']' ? '[' : '\0';
    const size_t at = open ? heading.rfind(open) : std::string_view::npos;
    if (at == std::string_view::npos) {
        return {};
    }
    const NamedInput named = InputNamed(ColumnName(heading.substr(0, at)));
    const std::string_view unit = TrimBlanks(heading.substr(at + 1, heading.size() - at - 2));
    if (!named.input || named.withUnit || !IsUnitSpelled(unit)) {
        return {};
    }
    const Quantity quantity = named.input->quantity;
    if (const std::optional<UnitSystem> system = SystemSpelled(unit, quantity)) {
        return {named.input, *system, true};
    }
    if (const std::optional<SpelledUnit> spelled = UnitSpelled(unit, quantity)) {
        return {named.input, UnitSystem::Oilfield, true, spelled};
    }
    throw CalculatorError("column " + QuoteInput(heading) + ": " + named.input->column + " takes " +
                          UnitsTaken(quantity) + ", not " + QuoteInput(unit));
}

std::string KnownColumns() {
    std::string known;
    for (const ParameterEntry& option : Parameters()) {
        if (option.HasColumn()) {
            known += (known.empty() ? "" : ", ") + std::string(option.column);
        }
    }
    return known;
}

// "'well', 'notes'"
std::string QuotedList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ", ") + QuoteInput(name);
    }
    return list;
}

// What each column of a batch holds: an input, or (null) text carried through.
struct BatchColumns {
    std::vector<const ParameterEntry*> inputs;
    std::vector<UnitSystem> units;                   // of each input column
    std::vector<std::optional<SpelledUnit>> spelled; // a unit of neither system, in its place
    std::vector<std::string> carried;                // their header fields, in order
    DerivedInputs derived;                           // of the columns and the command line's inputs
};

// A header field without the byte-order marks a file saved twice with one has before it.
std::string WithoutStrayMarks(std::string field, std::ostream& err) {
    const std::string quoted = QuoteInput(field);
    bool stray = false;
    while (std::string_view(field).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        field.erase(0, kByteOrderMark.size());
        stray = true;
    }
    if (stray) {
        err << "gas-separator-calc: warning: header: " << quoted << ": the mark is ignored\n";
    }
    return field;
}

void SayWhatTheHeaderMeans(const BatchColumns& columns, const WellParameters& base,
                           UnitSystem units, std::ostream& err) {
    if (!columns.carried.empty()) {
        const bool one = columns.carried.size() == 1;
        err << "gas-separator-calc: " << (one ? "column " : "columns ")
            << QuotedList(columns.carried) << (one ? " is not an input" : " are not inputs")
            << " of the design: carried through to the table unchanged\n";
    }
    const std::vector<const ParameterEntry*> inUse = InputsInUse(columns.derived, base);
    for (const ParameterEntry& input : Parameters()) {
        if (std::find(inUse.begin(), inUse.end(), &input) == inUse.end() ||
            std::find(columns.inputs.begin(), columns.inputs.end(), &input) !=
                columns.inputs.end()) {
            continue;
        }
        err << "gas-separator-calc: column '" << InputColumn(input, units)
            << "' not given: every row ";
        if (const char* source = DerivedSource(columns.derived, base, input)) {
            err << "takes it from the " << source << "\n";
        } else {
            err << "uses " << FigureValue(input.Get(base), input.quantity, units) << " "
                << input.UnitIn(units).symbol << "\n";
        }
    }
}

// A header of one field whose parts between semicolons name an input: a spreadsheet's table
// saved with semicolons (as many locales' spreadsheets do), whose every row would otherwise be
// read as the starting values.
bool SeparatedBySemicolons(const CsvRecord& header) {
    if (header.fields.size() != 1 || header.fields[0].find(';') == std::string::npos) {
        return false;
    }
    std::istringstream parts(header.fields[0]);
    for (std::string part; std::getline(parts, part, ';');) {
        if (InputNamed(ColumnName(part)).input) {
            return true;
        }
    }
    return false;
}

// The columns of a header; throws for one that is malformed or names an input twice.
BatchColumns ReadHeader(const CsvRecord& header, const WellParameters& base,
                        const std::vector<const ParameterEntry*>& namedInputs, UnitSystem units,
                        std::ostream& err) {
    if (!header.error.empty()) {
        throw CalculatorError("header (line " + std::to_string(header.line) + "): " + header.error);
    }
    if (SeparatedBySemicolons(header)) {
        throw CalculatorError("header (line " + std::to_string(header.line) +
                              "): the columns are separated by semicolons; the batch file must "
                              "separate them by commas, with a point in decimal numbers (in a "
                              "spreadsheet, save it as CSV with commas)");
    }
    BatchColumns columns;
    for (const std::string& raw : header.fields) {
        const std::string field = WithoutStrayMarks(raw, err);
        NamedInput named = InputNamed(ColumnName(field));
        if (!named.input) {
            named = InputWithBracketedUnit(field);
        }
        const ParameterEntry* input = named.input;
        if (input && std::find(columns.inputs.begin(), columns.inputs.end(), input) !=
                         columns.inputs.end()) {
            throw CalculatorError(std::string("column '") + input->column + "' appears twice");
        }
        if (!input) {
            columns.carried.push_back(field);
        }
        columns.inputs.push_back(input);
        columns.units.push_back(named.units);
        columns.spelled.push_back(named.spelled);
    }
    std::vector<const ParameterEntry*> all = namedInputs;
    all.insert(all.end(), columns.inputs.begin(), columns.inputs.end());
    columns.derived = DerivedFrom(all, units);
    SayWhatTheHeaderMeans(columns, base, units, err);
    return columns;
}

// The value of an input field in its column's unit: a number, rounded to the unit's decimals
// as the program's fields are (three for oilfield units).
double InputValue(const ParameterEntry& input, const std::string& field, UnitSystem units,
                  const std::optional<SpelledUnit>& spelled) {
    const std::string text(TrimBlanks(field));
    if (text.empty()) {
        throw CalculatorError(std::string(input.column) + ": the field is empty");
    }
    const double given = NumberValue(input.column, text);
    return spelled ? ToModelUnit(RoundToDecimals(given, spelled->decimals), spelled->perModelUnit)
                   : ModelValue(input, given, units);
}

// The derived inputs of a row; a row whose fluids give no rise velocity is an error of its own.
void DeriveInputs(const DerivedInputs& derived, TableInputRow& row) {
    try {
        ApplyDerived(derived, row.design);
    } catch (const CalculatorError& error) {
        row.error = error.what();
    }
}

void RowOf(const CsvRecord& record, const BatchColumns& columns, const WellParameters& base,
           TableInputRow& row) {
    row.where = "line " + std::to_string(record.line);
    row.design = base;
    row.carried.clear();
    row.error = record.error;
    if (row.error.empty() && record.fields.size() != columns.inputs.size()) {
        row.error = std::to_string(record.fields.size()) + " fields where the header has " +
                    std::to_string(columns.inputs.size());
    }
    PrepareDerived(columns.derived, row.design);
    for (size_t i = 0; row.error.empty() && i < columns.inputs.size(); ++i) {
        const ParameterEntry* input = columns.inputs[i];
        try {
            if (input) {
                input->Set(row.design, InputValue(*input, record.fields[i], columns.units[i],
                                                  columns.spelled[i]));
            } else {
                row.carried.push_back(record.fields[i]);
            }
        } catch (const CalculatorError& error) {
            row.error = error.what();
        }
    }
    if (row.error.empty()) {
        DeriveInputs(columns.derived, row);
    }
}

class BatchRows : public RowSource {
public:
    BatchRows(std::istream& in, const WellParameters& base, std::ostream& err, size_t count,
              const std::vector<const ParameterEntry*>& named, UnitSystem units)
        : reader_(in), base_(base), count_(count) {
        CsvRecord header;
        if (!reader_.Next(header)) {
            ThrowIfUnread();
            throw CalculatorError("the batch file has no header row");
        }
        columns_ = ReadHeader(header, base, named, units, err);
        shown_ = InputsInUse(columns_.derived, base);
    }
    bool Next(TableInputRow& row) override {
        if (!reader_.Next(record_)) {
            ThrowIfUnread();
            return false;
        }
        RowOf(record_, columns_, base_, row);
        return true;
    }
    size_t Count() const override { return count_; }
    const std::vector<std::string>& CarriedColumns() const override { return columns_.carried; }
    const std::vector<const ParameterEntry*>& InputColumns() const override { return shown_; }

private:
    void ThrowIfUnread() const {
        if (reader_.Failed()) {
            throw CalculatorError("cannot read the batch: a read failed");
        }
    }

    CsvReader reader_;
    WellParameters base_;
    size_t count_;
    BatchColumns columns_;
    std::vector<const ParameterEntry*> shown_;
    CsvRecord record_;
};

class SweepRows : public RowSource {
public:
    SweepRows(const Sweep& sweep, const WellParameters& base,
              const std::vector<const ParameterEntry*>& named, UnitSystem units)
        : sweep_(sweep), base_(base) {
        std::vector<const ParameterEntry*> all = named;
        all.push_back(sweep.option);
        derived_ = DerivedFrom(all, units);
        shown_ = InputsInUse(derived_, base);
    }
    bool Next(TableInputRow& row) override {
        if (next_ == sweep_.count) {
            return false;
        }
        const double value = sweep_.Value(next_++);
        row.where = InputColumn(*sweep_.option, sweep_.units) + "=" + FormatNumber(value);
        row.design = base_;
        row.carried.clear();
        row.error.clear();
        PrepareDerived(derived_, row.design);
        sweep_.option->Set(row.design, ModelValue(*sweep_.option, value, sweep_.units));
        DeriveInputs(derived_, row);
        return true;
    }
    size_t Count() const override { return sweep_.count; }
    const std::vector<std::string>& CarriedColumns() const override { return none_; }
    const std::vector<const ParameterEntry*>& InputColumns() const override { return shown_; }

private:
    Sweep sweep_;
    WellParameters base_;
    DerivedInputs derived_;
    std::vector<const ParameterEntry*> shown_;
    size_t next_ = 0;
    std::vector<std::string> none_;
};
} // namespace

std::unique_ptr<RowSource> BatchSource(std::istream& in, const WellParameters& base,
                                       std::ostream& err, size_t count,
                                       const std::vector<const ParameterEntry*>& named,
                                       UnitSystem units) {
    return std::make_unique<BatchRows>(in, base, err, count, named, units);
}

size_t CountBatchRows(std::istream& in) {
    CsvReader reader(in);
    size_t records = 0;
    for (CsvRecord record; reader.Next(record);) {
        ++records;
    }
    return records > 0 ? records - 1 : 0;
}

double Sweep::Value(size_t i) const {
    return RoundToDecimals(from + static_cast<double>(i) * step, Decimals());
}

int Sweep::Decimals() const {
    return option->UnitIn(units).decimals;
}

Sweep ParseSweep(const std::string& argument, UnitSystem units) {
    const size_t equals = argument.find('=');
    const size_t colon1 = argument.find(':', equals == std::string::npos ? 0 : equals);
    const size_t colon2 = colon1 == std::string::npos ? colon1 : argument.find(':', colon1 + 1);
    if (equals == std::string::npos || colon2 == std::string::npos) {
        throw CalculatorError("--sweep: " + QuoteInput(argument) + " is not NAME=FROM:TO:STEP");
    }
    Sweep sweep;
    const NamedInput named = InputNamed(ColumnName(argument.substr(0, equals)));
    sweep.option = named.input;
    sweep.units = named.withUnit ? named.units : units;
    if (!sweep.option) {
        throw CalculatorError("--sweep: unknown option " + QuoteInput(argument.substr(0, equals)) +
                              " (known: " + KnownColumns() + ")");
    }
    sweep.from = NumberValue("--sweep FROM", argument.substr(equals + 1, colon1 - equals - 1));
    const double to = NumberValue("--sweep TO", argument.substr(colon1 + 1, colon2 - colon1 - 1));
    sweep.step = NumberValue("--sweep STEP", argument.substr(colon2 + 1));
    // A finer step would give rows of one value: values are kept to the unit's decimals.
    const double finest = std::pow(10.0, -sweep.Decimals());
    if (std::fabs(sweep.step) < finest * (1 - 1e-9)) {
        const std::string least = FormatNumber(finest);
        throw CalculatorError("--sweep: STEP must be at least " + least + " (or -" + least +
                              ") in size, the finest step " +
                              InputColumn(*sweep.option, sweep.units) + " keeps");
    }
    if ((to - sweep.from) / sweep.step < 0) {
        throw CalculatorError("--sweep: a STEP of " + FormatNumber(sweep.step) +
                              " never gets from " + FormatNumber(sweep.from) + " to " +
                              FormatNumber(to));
    }
    const double count = std::floor((to - sweep.from) / sweep.step + 1e-9) + 1;
    if (count > static_cast<double>(kMostSweepValues)) {
        throw CalculatorError("--sweep: " + FormatNumber(count) + " values; at most " +
                              std::to_string(kMostSweepValues));
    }
    sweep.count = static_cast<size_t>(count);
    return sweep;
}

std::unique_ptr<RowSource> SweepSource(const Sweep& sweep, const WellParameters& base,
                                       const std::vector<const ParameterEntry*>& named,
                                       UnitSystem units) {
    return std::make_unique<SweepRows>(sweep, base, named, units);
}

namespace {
// One row computed: its lines for standard error, its line of the table (none when the row
// is left out), and its point of a sweep's chart.
struct ComputedRow {
    std::string messages;
    std::string csv;
    bool bad = false;
    ChartPoint point;
};

// Each line of `text` made printable.
std::string PrintableLines(const std::string& text) {
    std::string lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines += Printable(line) + "\n";
    }
    return lines;
}

std::string TableHeader(const RowSource& source, UnitSystem units) {
    std::vector<std::string> header;
    for (const ParameterEntry* input : source.InputColumns()) {
        header.push_back(InputColumn(*input, units));
    }
    for (const std::string& name : source.CarriedColumns()) {
        header.push_back(SpreadsheetSafe(name));
    }
    for (const Figure& figure : FigureFields(DesignFigures{}, units)) {
        header.push_back(figure.first);
    }
    return CsvRow(header);
}

std::string TableRow(const TableInputRow& row, const std::vector<const ParameterEntry*>& inputs,
                     const DesignFigures& figures, UnitSystem units) {
    std::vector<std::string> fields;
    for (const ParameterEntry* input : inputs) {
        fields.push_back(CsvNumber(ToShown(input->Get(row.design), input->quantity, units)));
    }
    for (const std::string& text : row.carried) {
        fields.push_back(SpreadsheetSafe(text));
    }
    for (const Figure& figure : FigureFields(figures, units)) {
        fields.push_back(figure.second);
    }
    return CsvRow(fields);
}

ComputedRow ComputeRow(const TableInputRow& row, const std::vector<const ParameterEntry*>& inputs,
                       const RunSettings& settings, const ParameterEntry* chartOption,
                       OutlookCache& cache) {
    ComputedRow computed;
    const std::string prefix = row.where + ": ";
    std::ostringstream messages;
    if (!row.error.empty()) {
        messages << prefix << "error: " << row.error << "\n";
        computed.bad = true;
    } else if (!CheckDesign(row.design, messages, prefix, settings.units)) {
        computed.bad = true;
    } else {
        const DesignFigures figures = ComputeFigures(row.design, settings, cache);
        computed.csv = TableRow(row, inputs, figures, settings.units);
        const UnitSystem units = settings.units; // the chart is in the table's units
        computed.point = {
            chartOption ? ToShown(chartOption->Get(row.design), chartOption->quantity, units) : 0,
            ToShown(figures.verdict.deepestReach, Quantity::Length, units),
            ToShown(row.design.GetDipTubeLength(), Quantity::Length, units),
            ToShown(figures.last.maximumCapacity, Quantity::Rate, units)};
    }
    computed.messages = PrintableLines(messages.str());
    return computed;
}

void ReportProgress(size_t done, size_t total, std::ostream& err) {
    if (total > 0) {
        if (total > 100 && done * 10 / total != (done - 1) * 10 / total) {
            err << "gas-separator-calc: " << done << " of " << total << " designs\n";
        }
        return;
    }
    size_t power = 1; // the number not known: at 100, 200, ... 1000, 2000, ...
    while (power <= done / 10) {
        power *= 10;
    }
    if (done >= 100 && done % power == 0) {
        err << "gas-separator-calc: " << done << " designs so far\n";
    }
}

// The table's text handed on in pieces of about kPiece bytes, and whenever rows have been
// waiting for a while or the rows stop coming for a moment.
class TableText {
public:
    explicit TableText(const std::function<void(std::string_view)>& write) : write_(write) {}
    void Add(const std::string& text) {
        pending_ += text;
        if (pending_.size() >= kPiece || std::chrono::steady_clock::now() - last_ > kWhile) {
            HandOn();
        }
    }
    void HandOn() {
        if (!pending_.empty()) {
            write_(pending_);
            pending_.clear();
        }
        last_ = std::chrono::steady_clock::now();
    }

private:
    static constexpr size_t kPiece = 1 << 16;
    static constexpr std::chrono::milliseconds kWhile{200};
    const std::function<void(std::string_view)>& write_;
    std::string pending_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};
} // namespace

TableResult ComputeTable(RowSource& source, const RunSettings& settings, const TableRun& run,
                         std::ostream& err) {
    TableText text(run.write);
    text.Add(TableHeader(source, settings.units));
    text.HandOn();
    // Each worker judges with its own cache: nothing the workers touch is shared.
    std::vector<OutlookCache> caches(std::max<size_t>(run.workers, 1));
    TableResult result;
    size_t done = 0;
    using Pool = OrderedPool<TableInputRow, ComputedRow>;
    Pool pool(run.workers, run.workers == 0 ? 1 : 8 * run.workers);
    Pool::Work work;
    work.next = [&](TableInputRow& row) { return source.Next(row); };
    work.compute = [&](const TableInputRow& row, size_t worker) {
        return ComputeRow(row, source.InputColumns(), settings, run.chartOption, caches[worker]);
    };
    work.deliver = [&](ComputedRow& row) {
        err << row.messages;
        result.anyBadRow = result.anyBadRow || row.bad;
        if (!row.bad) {
            text.Add(row.csv);
            if (run.chartOption) {
                result.points.push_back(row.point);
            }
        }
        ReportProgress(++done, source.Count(), err);
    };
    work.beforeWait = [&] { text.HandOn(); };
    pool.Run(work);
    text.HandOn();
    result.mostRowsInFlight = pool.MostInFlight();
    return result;
}
