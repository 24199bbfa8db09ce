#pragma once
// Many designs at once: the rows of a batch file or of a sweep over one option, their figures,
// and the table of both as CSV.

#include "tools/calc/DesignFigures.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// A design to compute and where it comes from, for messages ("line 7", "spm=8.5").
struct DesignRow {
    std::string where;
    WellParameters design;
    std::string error; // why the row cannot be used
};

// The rows of a batch file. Its header names options by column ("spm", "dip_tube_od"; letter
// case and hyphens do not matter); values a row does not give (no column, an empty field) are
// those of `base`. Throws CalculatorError for a header that cannot be used.
std::vector<DesignRow> BatchRows(std::string_view csv, const WellParameters& base);

// One option from FROM to TO by STEP, as "NAME=FROM:TO:STEP".
struct Sweep {
    const ParameterSpec* option = nullptr;
    std::vector<double> values;
};
constexpr size_t kMostSweepValues = 100000;
// Throws CalculatorError for an unknown option, a bad number, a step of 0, below 0.001 or
// leading away from TO, or more than kMostSweepValues values.
Sweep ParseSweep(const std::string& argument);
std::vector<DesignRow> SweepRows(const Sweep& sweep, const WellParameters& base);

struct ComputedDesign {
    WellParameters design;
    DesignFigures figures;
};
struct DesignTable {
    std::vector<ComputedDesign> designs; // the usable rows, in order
    bool anyBadRow = false;
};

// Computes every usable row (with the gas limit rate); a bad row or a value out of range is
// reported on `err` with where it comes from and skipped. Over 100 rows, a progress line
// follows every tenth of them.
DesignTable ComputeDesigns(const std::vector<DesignRow>& rows, RunSettings settings,
                           std::ostream& err);

// The header (the option columns, then the figures' keys) and one row per computed design.
std::string DesignTableCsv(const DesignTable& table);
