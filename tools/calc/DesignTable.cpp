#include "tools/calc/DesignTable.h"

#include "app/model/NumberFormat.h"
#include "tools/calc/CsvTable.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {
std::string Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(begin, text.find_last_not_of(" \t") + 1 - begin));
}

// "Dip-Tube-OD " -> "dip_tube_od"
std::string ColumnName(std::string_view header) {
    std::string name = Trimmed(header);
    for (char& c : name) {
        c = c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string KnownColumns() {
    std::string known;
    for (const ParameterSpec& option : Parameters()) {
        known += (known.empty() ? "" : ", ") + std::string(option.column);
    }
    return known;
}

// The option of each column; throws for unknown or repeated columns.
std::vector<const ParameterSpec*> HeaderOptions(const CsvRecord& header) {
    if (!header.error.empty()) {
        throw CalculatorError("header (line " + std::to_string(header.line) + "): " + header.error);
    }
    std::vector<const ParameterSpec*> options;
    std::string unknown;
    for (const std::string& field : header.fields) {
        const ParameterSpec* option = ParameterWithColumn(ColumnName(field));
        if (!option) {
            unknown += (unknown.empty() ? "'" : ", '") + Trimmed(field) + "'";
        } else if (std::find(options.begin(), options.end(), option) != options.end()) {
            throw CalculatorError(std::string("column '") + option->column + "' appears twice");
        }
        options.push_back(option);
    }
    if (!unknown.empty()) {
        throw CalculatorError("unknown column(s) " + unknown + " (known: " + KnownColumns() + ")");
    }
    return options;
}

DesignRow RowOf(const CsvRecord& record, const std::vector<const ParameterSpec*>& columns,
                const WellParameters& base) {
    DesignRow row{"line " + std::to_string(record.line), base, record.error};
    if (row.error.empty() && record.fields.size() != columns.size()) {
        row.error = std::to_string(record.fields.size()) + " fields where the header has " +
                    std::to_string(columns.size());
    }
    for (size_t i = 0; row.error.empty() && i < columns.size(); ++i) {
        const std::string text = Trimmed(record.fields[i]);
        try {
            if (!text.empty()) { // an empty field keeps the default
                columns[i]->Set(row.design,
                                RoundToThousandths(NumberValue(columns[i]->column, text)));
            }
        } catch (const CalculatorError& error) {
            row.error = error.what();
        }
    }
    return row;
}
} // namespace

std::vector<DesignRow> BatchRows(std::string_view csv, const WellParameters& base) {
    const std::vector<CsvRecord> records = ReadCsv(csv);
    if (records.empty()) {
        throw CalculatorError("the batch file has no header row");
    }
    const std::vector<const ParameterSpec*> columns = HeaderOptions(records.front());
    std::vector<DesignRow> rows;
    rows.reserve(records.size() - 1);
    for (size_t i = 1; i < records.size(); ++i) {
        rows.push_back(RowOf(records[i], columns, base));
    }
    return rows;
}

Sweep ParseSweep(const std::string& argument) {
    const size_t equals = argument.find('=');
    const size_t colon1 = argument.find(':', equals == std::string::npos ? 0 : equals);
    const size_t colon2 = colon1 == std::string::npos ? colon1 : argument.find(':', colon1 + 1);
    if (equals == std::string::npos || colon2 == std::string::npos) {
        throw CalculatorError("--sweep: '" + argument + "' is not NAME=FROM:TO:STEP");
    }
    Sweep sweep;
    sweep.option = ParameterWithColumn(ColumnName(argument.substr(0, equals)));
    if (!sweep.option) {
        throw CalculatorError("--sweep: unknown option '" + argument.substr(0, equals) +
                              "' (known: " + KnownColumns() + ")");
    }
    const double from =
        NumberValue("--sweep FROM", argument.substr(equals + 1, colon1 - equals - 1));
    const double to = NumberValue("--sweep TO", argument.substr(colon1 + 1, colon2 - colon1 - 1));
    const double step = NumberValue("--sweep STEP", argument.substr(colon2 + 1));
    if (std::fabs(step) < 0.001) { // values are rounded to three decimals
        throw CalculatorError("--sweep: STEP must be at least 0.001 (or -0.001) in size");
    }
    if ((to - from) / step < 0) {
        throw CalculatorError("--sweep: a STEP of " + FormatNumber(step) + " never gets from " +
                              FormatNumber(from) + " to " + FormatNumber(to));
    }
    const double count = std::floor((to - from) / step + 1e-9) + 1;
    if (count > static_cast<double>(kMostSweepValues)) {
        throw CalculatorError("--sweep: " + FormatNumber(count) + " values; at most " +
                              std::to_string(kMostSweepValues));
    }
    for (long i = 0; i < static_cast<long>(count); ++i) {
        sweep.values.push_back(RoundToThousandths(from + static_cast<double>(i) * step));
    }
    return sweep;
}

std::vector<DesignRow> SweepRows(const Sweep& sweep, const WellParameters& base) {
    std::vector<DesignRow> rows;
    for (double value : sweep.values) {
        DesignRow row{std::string(sweep.option->column) + "=" + FormatNumber(value), base, {}};
        sweep.option->Set(row.design, value);
        rows.push_back(row);
    }
    return rows;
}

namespace {
// The gas limit rate does not depend on the production rate: a run of designs that differ in
// the rate only (a sweep of it) searches it once.
class GasLimitMemory {
public:
    std::optional<std::optional<long>> Known(WellParameters design) const {
        design.SetProductionRate(0);
        if (!has_ || !(design == design_)) {
            return std::nullopt;
        }
        return std::optional<std::optional<long>>(rate_);
    }
    void Remember(WellParameters design, std::optional<long> rate) {
        design.SetProductionRate(0);
        design_ = design, rate_ = rate, has_ = true;
    }

private:
    bool has_ = false;
    WellParameters design_;
    std::optional<long> rate_;
};

void ReportProgress(size_t done, size_t total, std::ostream& err) {
    if (total > 100 && done * 10 / total != (done - 1) * 10 / total) {
        err << "gas-separator-calc: " << done << " of " << total << " designs\n";
    }
}
} // namespace

DesignTable ComputeDesigns(const std::vector<DesignRow>& rows, RunSettings settings,
                           std::ostream& err) {
    settings.gasLimit = true;
    DesignTable table;
    GasLimitMemory gasLimits;
    for (size_t i = 0; i < rows.size(); ++i) {
        const DesignRow& row = rows[i];
        const std::string prefix = row.where + ": ";
        if (!row.error.empty()) {
            err << prefix << "error: " << row.error << "\n";
            table.anyBadRow = true;
        } else if (!CheckDesign(row.design, err, prefix)) {
            table.anyBadRow = true;
        } else {
            DesignFigures figures =
                ComputeFigures(row.design, settings, {}, gasLimits.Known(row.design));
            gasLimits.Remember(row.design, figures.gasLimitRate);
            table.designs.push_back({row.design, std::move(figures)});
        }
        ReportProgress(i + 1, rows.size(), err);
    }
    return table;
}

std::string DesignTableCsv(const DesignTable& table) {
    std::vector<std::string> header;
    for (const ParameterSpec& option : Parameters()) {
        header.push_back(option.column);
    }
    DesignFigures keysOnly;
    keysOnly.gasLimitSearched = true;
    for (const Figure& figure : FigureFields(keysOnly)) {
        header.push_back(figure.first);
    }
    std::string csv = CsvRow(header);
    for (const ComputedDesign& computed : table.designs) {
        std::vector<std::string> row;
        for (const ParameterSpec& option : Parameters()) {
            row.push_back(CsvNumber(option.Get(computed.design)));
        }
        for (const Figure& figure : FigureFields(computed.figures)) {
            row.push_back(figure.second);
        }
        csv += CsvRow(row);
    }
    return csv;
}
