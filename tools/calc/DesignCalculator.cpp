#include "tools/calc/DesignCalculator.h"

#include "app/CommandLine.h"
#include "app/files/AtomicFile.h"
#include "app/model/CaseFile.h"
#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "tools/calc/DerivedInputs.h"
#include "tools/calc/DesignFigures.h"
#include "tools/calc/DesignTable.h"
#include "tools/calc/QuotedText.h"
#include "tools/calc/SeparatorSelection.h"
#include "tools/calc/SweepPlot.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

namespace {

// An option of the help text: its name, then `text` in a column from the 26th character,
// wrapped to lines of at most 95 (a name too long for the column has a line of its own).
std::string OptionHelp(const std::string& option, const std::string& text) {
    constexpr size_t kColumn = 25;
    constexpr size_t kWidth = 95;
    std::vector<std::string> lines(1);
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (!lines.back().empty() && kColumn + lines.back().size() + 1 + word.size() > kWidth) {
            lines.emplace_back();
        }
        lines.back() += (lines.back().empty() ? "" : " ") + word;
    }
    std::string name = "  " + option;
    std::string help;
    if (name.size() >= kColumn) {
        help = name + "\n";
        name.clear();
    }
    name.resize(kColumn, ' ');
    for (size_t i = 0; i < lines.size(); ++i) {
        help += (i == 0 ? name : std::string(kColumn, ' ')) + lines[i] + "\n";
    }
    return help;
}

// The help text. The value options and the batch columns come from the parameter table.
std::string Usage() {
    std::string usage = R"(Usage: gas-separator-calc [options]

Computes a downhole gas separator's figures with the simulator's model: the pump runs for a
while and the results are printed as YAML.

Starting values are the shipped defaults; --defaults reads a defaults file instead, --case a
case file saved by the program, and each value option then overrides one value.

)";
    usage += "Value options (a number, or a fraction, in the unit given; --spm 8 or --spm=8):\n";
    for (const ParameterEntry& parameter : Parameters()) {
        if (!parameter.HasColumn()) {
            continue;
        }
        std::string what = parameter.fullName;
        what[0] = AsciiLower(what[0]);
        usage += OptionHelp(parameter.Flag() + " X",
                            what + " (" + parameter.UnitIn(UnitSystem::Oilfield).symbol +
                                "): " + DescribeLimits(parameter));
    }
    usage += R"(
A pump value (--plunger-diameter, --stroke-length, --pump-efficiency) takes the production
rate from the pump: its displacement, 0.1166 x stroke x diameter^2 x pump speed, times its
efficiency; with --production-rate as well it is refused. A fluid value (--liquid-density,
--gas-density, --surface-tension) takes the rise velocity from the fluids by Harmathy's
correlation, to 0.001 in/s (0.0001 m/s with --units metric); with --rise-velocity as well it is
refused. The same holds for a batch's columns and a sweep's option, and the values worked out
are printed first, in --units.

Run options:
  --units SYSTEM         oilfield (the default) or metric: the unit of every value option,
                         --sweep's range and every output (YAML keys and CSV columns name
                         their unit: maximum_capacity_m3_per_day, separator_od_mm; mm, m,
                         m/s, m3/day, mm2). A batch column may name its unit either way
                         (separator_od_mm, production_rate_m3_per_day); a bare column is in
                         oilfield units, as it always was
  --defaults FILE        read the starting values from a defaults file
  --case FILE            read the starting values from a case file (*.gscase); not with
                         --defaults
  --select               instead of the figures, a CSV table of every shipped separator preset
                         in the design's casing at its rate and pump speed: those that fit
                         (outside diameter below the drift diameter, the inside diameter less
                         1/8 in) first, best first, then those that do not, with the reason
  --seconds S            simulated time with the pump running (default 30)
  --step DT              simulation step in seconds (default 1/60)
  --trace FILE.csv       write one row per step: time, crank angle, plunger position and
                         velocity, flow multiplier, the four velocities, penetration depth
                         and fraction
  --gas-limit            accepted for older scripts: the gas limit is always reported
  --help                 show this text
  --version              print the version

Many designs (a CSV table on standard output, or in FILE with --out), computed side by side
and written row by row in their order as they are done:
)";
    std::string columns;
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.HasColumn()) {
            columns += (columns.empty() ? "" : ", ") + std::string(parameter.column);
        }
    }
    usage +=
        OptionHelp("--batch FILE.csv",
                   "one design per row (\"-\": read standard input); the header names value "
                   "options by their column names (" +
                       columns +
                       ", or as Copy Design names them: \"Pump speed\", with a unit in brackets: "
                       "\"Production Rate (m3/day)\"); an input without a column is the "
                       "starting value in every row "
                       "(said once on standard error); an empty field of an input is an "
                       "error of its row; other columns (a well name, notes) are carried "
                       "through to the table unchanged, after the input columns");
    usage += R"(  --sweep NAME=FROM:TO:STEP
                         one design per value of one option, e.g. production_rate=100:300:5
                         (at most 100,000 values; STEP towards TO, and no finer than the
                         option keeps values: 0.001 in oilfield units, 0.1 mm, 0.01 m3/day)
  --out FILE.csv         write the table to FILE (replaced in one step, when complete) instead
  --plot FILE.png        with --sweep: a chart of the deepest gas penetration against the
                         swept value, with the dip tube length and, for production_rate, the
                         maximum capacity
  -j N                   compute N rows at once (default: one per processor core; 1: one
                         after the other); the table is the same whatever N
Each row of the table holds the input values, the carried columns, then the output keys
below. A row that cannot be used (a bad number, an empty input field, a value out of range) is
reported on standard error with its line (or swept value) and left out; the exit status is
then 1. A text cell that a spreadsheet would take for a formula (starting with =, +, - or @,
and no plain number) is written with an apostrophe before it.
Every output is checked before the work starts: an existing file that is read-only or not a
regular file, two outputs naming one file, or one naming a file read, are refused. An output
that cannot be written (a full disk, a closed pipe) ends the run with the system's reason and
exit status 2; a file is replaced only by a complete one.

Values are numbers with a point or fractions ("3 1/2", "3-1/2", "2 7/8", "7/8", "3½") and are
rounded as the program's fields round them: three decimals in oilfield units, the unit's own in
metric (0.1 mm, 0.001 m, 0.01 m3/day, ...). A value outside its allowed
range is refused (exit status 2); values that are only inconsistent with each other (a
separator ID not below its OD, a dip tube not inside the separator, a dip tube ID not below its
OD) are reported on standard error and still computed.

Output keys: annulus_area_in2, dip_tube_bore_area_in2, maximum_capacity_bbl_per_day,
recommended_dip_tube_length_in; peak_gas_penetration_in and gas_reaches_dip_tube_inlet, within
the --seconds run; time_to_dip_tube_inlet_s, the seconds after the pump starts at which gas
first reaches the inlet however long it runs, or "never"; long_run_peak_gas_penetration_in,
the deepest the gas gets however long it runs (the dip tube length when it reaches the inlet);
gas_limit_production_rate_bbl_per_day, the smallest whole production rate at which gas ever
reaches the inlet (up to 10,000,000 bbl/day, else "none"); verdict, the program's verdict on
the design ("works", "fails", or "does not apply" when diameters contradict each other);
verdict_cause ("above capacity", "dip tube shorter than the gas reach" or "none");
capacity_margin_percent, the share of the maximum capacity left at the production rate
(negative above it). The time, the long-run penetration, the gas limit and the verdict come
from the model's cycle behaviour (the drift of the gas per pump cycle and its peak within a
cycle), not from a longer run, as the program's panel judges a design.
)";
    return usage;
}

struct Options {
    std::optional<std::string> defaultsFile;
    std::optional<std::string> caseFile;
    std::map<const ParameterEntry*, double> values;
    RunSettings settings;
    std::optional<std::string> traceFile, batchFile, sweep, outFile, plotFile;
    size_t jobs = std::max(std::thread::hardware_concurrency(), 1u); // rows computed at once
    bool help = false;
    bool select = false; // --select: the separators that fit, instead of the design's figures
};

// The options that take a value, other than the design's values.
std::optional<std::string>* FileOption(Options& options, const std::string& name) {
    const std::pair<const char*, std::optional<std::string>*> files[] = {
        {"--defaults", &options.defaultsFile}, {"--case", &options.caseFile},
        {"--trace", &options.traceFile},       {"--batch", &options.batchFile},
        {"--sweep", &options.sweep},           {"--out", &options.outFile},
        {"--plot", &options.plotFile},
    };
    for (const auto& [flag, value] : files) {
        if (name == flag) {
            return value;
        }
    }
    return nullptr;
}

constexpr int kMostJobs = 256;

void ApplyOption(Options& options, const std::string& name, const std::string& value) {
    if (auto* file = FileOption(options, name)) {
        *file = value;
    } else if (name == "--seconds") {
        options.settings.seconds = NumberValue(name, value);
    } else if (name == "--step") {
        options.settings.step = NumberValue(name, value);
    } else if (name == "--units") {
        const std::optional<UnitSystem> units = UnitSystemNamed(value);
        if (!units) {
            throw CalculatorError("--units must be oilfield or metric, not " + QuoteInput(value));
        }
        options.settings.units = *units;
    } else if (name == "-j") {
        const double jobs = NumberValue(name, value);
        if (!(jobs >= 1 && jobs <= kMostJobs) || jobs != std::floor(jobs)) {
            throw CalculatorError("-j must be a whole number from 1 to " +
                                  std::to_string(kMostJobs));
        }
        options.jobs = static_cast<size_t>(jobs);
    } else {
        options.values[ParameterWithColumn(name)] = NumberValue(name, value); // in --units
    }
}

void CheckSettings(const Options& options) {
    const RunSettings& settings = options.settings;
    if (!(settings.seconds >= 0) || settings.seconds > 1e6) {
        throw CalculatorError("--seconds must be from 0 to 1000000");
    }
    if (!(settings.step > 0) || settings.step > 1) {
        throw CalculatorError("--step must be above 0 and at most 1 second");
    }
    if (settings.seconds / settings.step > 1e8) {
        throw CalculatorError("--seconds / --step must not exceed 100000000 steps");
    }
    if (options.defaultsFile && options.caseFile) {
        throw CalculatorError("--defaults and --case cannot be used together");
    }
    const bool many = options.batchFile || options.sweep;
    if (options.batchFile && options.sweep) {
        throw CalculatorError("--batch and --sweep cannot be used together");
    }
    if (many && options.traceFile) {
        throw CalculatorError("--trace is for a single design, not --batch or --sweep");
    }
    if (!many && options.outFile) {
        throw CalculatorError("--out needs --batch or --sweep");
    }
    if (!options.sweep && options.plotFile) {
        throw CalculatorError("--plot needs --sweep");
    }
    if (options.select && (many || options.traceFile)) {
        throw CalculatorError("--select is for one design, without --batch, --sweep or --trace");
    }
}

// Every option the calculator takes: its own, and one per input of the parameter table.
std::vector<CommandLineOption> CalculatorOptions() {
    std::vector<CommandLineOption> options = {
        {"--help", false}, {"-h", false},       {"--gas-limit", false}, {"--defaults", true},
        {"--case", true},  {"--trace", true},   {"--batch", true},      {"--sweep", true},
        {"--out", true},   {"--plot", true},    {"--seconds", true},    {"--step", true},
        {"-j", true},      {"--select", false}, {"--units", true},
    };
    static std::vector<std::string> flags; // the table's flags, kept for the options' names
    if (flags.empty()) {
        for (const ParameterEntry& parameter : Parameters()) {
            if (parameter.HasColumn()) {
                flags.push_back(parameter.Flag());
            }
        }
    }
    for (const std::string& flag : flags) {
        options.push_back({flag.c_str(), true});
    }
    return options;
}

Options ParseOptions(const std::vector<std::string>& args) {
    const CommandLine line = ReadCommandLine(args, CalculatorOptions(), false);
    if (line.problem == CommandLine::Problem::MissingValue) {
        throw CalculatorError(line.culprit + " needs a value");
    }
    if (line.problem != CommandLine::Problem::None) {
        throw CalculatorError("unknown option " + QuoteInput(line.culprit) + " (see --help)");
    }
    Options options;
    for (const CommandLineArgument& argument : line.arguments) {
        if (argument.option == "--help" || argument.option == "-h") {
            options.help = true;
        } else if (argument.option == "--select") {
            options.select = true;
        } else if (argument.option == "--gas-limit") {
            // the gas limit is always reported; the option stays for the scripts that give it
        } else {
            ApplyOption(options, argument.option, argument.value);
        }
    }
    CheckSettings(options);
    return options;
}

// The inputs the command line names, in table order.
std::vector<const ParameterEntry*> NamedInputs(const Options& options) {
    std::vector<const ParameterEntry*> named;
    for (const auto& [option, value] : options.values) {
        named.push_back(option);
    }
    return named;
}

// A case's inputs; those it lacks (added after it was written) keep the shipped values.
WellParameters CaseParameters(const std::string& path, const WellParameters& shipped) {
    std::string text;
    std::error_code error;
    if (!ReadRegularFile(path, kMaxCaseFileBytes, text, error)) {
        throw CalculatorError("cannot read case file '" + path + "': " + error.message());
    }
    try {
        return ParseCaseText(text, shipped).parameters;
    } catch (const SettingsFileError& problem) {
        throw CalculatorError("case file '" + path + "': " + problem.what());
    }
}

WellParameters StartingValues(const Options& options, const std::string& shippedDefaults) {
    std::string text = shippedDefaults;
    std::error_code error; // a defaults file is small: 1 MiB, as the program reads it
    if (options.defaultsFile && !ReadRegularFile(*options.defaultsFile, 1 << 20, text, error)) {
        throw CalculatorError("cannot read defaults file '" + *options.defaultsFile +
                              "': " + error.message());
    }
    WellParameters parameters;
    std::string presetName;
    try {
        ParseDefaultsText(text, parameters, presetName);
    } catch (const SettingsFileError& error) {
        const std::string source = options.defaultsFile ? *options.defaultsFile : "shipped";
        throw CalculatorError("defaults file '" + source + "': " + error.what());
    }
    if (options.caseFile) {
        parameters = CaseParameters(*options.caseFile, parameters);
    }
    const DerivedInputs derived = DerivedFrom(NamedInputs(options), options.settings.units);
    PrepareDerived(derived, parameters);
    for (const auto& [option, value] : options.values) {
        option->Set(parameters, ModelValue(*option, value, options.settings.units));
    }
    ApplyDerived(derived, parameters);
    return parameters;
}

// The trace's columns, in order; a column with a quantity is written in the run's units and
// its name says which ("gas_penetration_depth_in", "..._m").
struct TraceColumn {
    const char* name;
    std::optional<Quantity> quantity;
    double SimulationState::*value;
};
using S = SimulationState;
constexpr TraceColumn kTraceColumns[] = {
    {"time_s", {}, &S::elapsedTime},
    {"crank_angle_rad", {}, &S::crankAngle},
    {"plunger_position", {}, &S::plungerPosition},
    {"plunger_velocity_strokes_per_s", {}, &S::plungerVelocity},
    {"flow_multiplier", {}, &S::flowMultiplier},
    {"annulus_liquid_velocity", Quantity::Velocity, &S::annulusLiquidVelocity},
    {"annulus_bubble_velocity", Quantity::Velocity, &S::annulusBubbleVelocity},
    {"dip_tube_liquid_velocity", Quantity::Velocity, &S::dipTubeLiquidVelocity},
    {"dip_tube_bubble_velocity", Quantity::Velocity, &S::dipTubeBubbleVelocity},
    {"gas_penetration_depth", Quantity::Length, &S::gasPenetrationDepth},
    {"gas_penetration_fraction", {}, &S::gasPenetrationFraction}};

std::string TraceHeader(UnitSystem units) {
    std::string header;
    for (const TraceColumn& column : kTraceColumns) {
        header += header.empty() ? "" : ",";
        header += column.quantity ? NameWithUnit(column.name, *column.quantity, units)
                                  : std::string(column.name);
    }
    return header + "\n";
}

void WriteTraceRow(std::ostream& csv, const SimulationState& s, UnitSystem units) {
    bool first = true;
    for (const TraceColumn& column : kTraceColumns) {
        const double value = s.*column.value;
        csv << (first ? "" : ",")
            << CsvNumber(column.quantity ? ToShown(value, *column.quantity, units) : value);
        first = false;
    }
    csv << "\n";
}

// Writes `text` to `out` (standard output) and flushes it: a full disk or a closed pipe ends
// the run with the system's reason instead of leaving a cut-off table and exit status 0.
// A stream that failed before keeps the reason its failed write left.
void WriteOutput(std::ostream& out, const std::string& text) {
    if (out.good()) {
        errno = 0;
        out << text;
        out.flush();
    }
    if (!out) {
        const std::error_code reason = errno != 0 ? std::error_code(errno, std::generic_category())
                                                  : std::make_error_code(std::errc::io_error);
        throw CalculatorError("cannot write standard output: " + reason.message());
    }
}

// An output file (--out, --plot, --trace), opened before any work: the target is checked (a
// regular file the user may change, or none yet) and its temporary file made beside it, so an
// unusable folder is found at once. It takes the target's name only when complete.
class OutputFile {
public:
    OutputFile(const char* what, std::string path) : what_(what), path_(std::move(path)) {
        std::error_code error;
        if (!writer_.Open(error)) {
            Fail(WriteFailureReason(path_, error));
        }
    }
    void Write(std::string_view chunk) {
        std::error_code error;
        if (!writer_.Write(chunk, error)) {
            Fail(WriteFailureReason(path_, error));
        }
    }
    void Commit() {
        std::error_code error;
        if (!writer_.Commit(error)) {
            Fail(WriteFailureReason(path_, error));
        }
    }
    [[noreturn]] void Fail(const std::string& reason) const {
        throw CalculatorError("cannot write " + what_ + " '" + path_ + "': " + reason);
    }

private:
    std::string what_, path_;
    AtomicFileWriter writer_{path_};
};

// The trace is written in pieces of about this many bytes while the pump runs.
constexpr std::streamoff kTraceChunk = 1 << 16;

DesignFigures RunWithTrace(const WellParameters& parameters, const Options& options) {
    OutlookCache cache;
    if (!options.traceFile) {
        return ComputeFigures(parameters, options.settings, cache);
    }
    OutputFile trace("trace file", *options.traceFile);
    std::ostringstream csv;
    csv << TraceHeader(options.settings.units);
    DesignFigures figures =
        ComputeFigures(parameters, options.settings, cache, [&](const SimulationState& s) {
            WriteTraceRow(csv, s, options.settings.units);
            if (csv.tellp() >= kTraceChunk) {
                trace.Write(csv.str());
                csv.str("");
            }
        });
    trace.Write(csv.str());
    trace.Commit();
    return figures;
}

// The inputs worked out from others, before the figures, in --units as the figures are: the
// pump's displacement and rate, the fluids' rise velocity. Nothing for a design that derives
// none.
std::string DerivedLines(const WellParameters& parameters, const Options& options) {
    const UnitSystem units = options.settings.units;
    const DerivedInputs derived = DerivedFrom(NamedInputs(options), units);
    const auto line = [units](const char* name, double value, Quantity quantity) {
        return NameWithUnit(name, quantity, units) + ": " + FigureValue(value, quantity, units) +
               "\n";
    };
    std::string lines;
    if (RateFollowsPump(derived, parameters)) {
        lines += line("pump_displacement", parameters.GetPumpDisplacement(), Quantity::Rate) +
                 line("production_rate", parameters.GetProductionRate(), Quantity::Rate);
    }
    if (derived.riseFromFluid) {
        lines += line("rise_velocity", parameters.GetGasBubbleRiseVelocity(), Quantity::Velocity);
    }
    return lines;
}

int RunSingleDesign(const WellParameters& parameters, const Options& options, std::ostream& out,
                    std::ostream& err) {
    if (!CheckDesign(parameters, err, "", options.settings.units)) {
        return 2;
    }
    std::string yaml = DerivedLines(parameters, options);
    for (const auto& [key, value] :
         FigureFields(RunWithTrace(parameters, options), options.settings.units)) {
        yaml += key + ": " + value + "\n";
    }
    WriteOutput(out, yaml);
    return 0;
}

// The file a write to `path` ends in, links followed and the name made absolute and tidy.
std::filesystem::path ResolvedOutput(const std::string& path) {
    std::error_code error;
    std::filesystem::path target = WriteTarget(path, error);
    if (error) {
        target = path; // a loop of links: the name as given
    }
    target = std::filesystem::absolute(target, error);
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved;
}

bool SameFile(const std::string& one, const std::string& other) {
    const auto a = ResolvedOutput(one), b = ResolvedOutput(other);
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

// --out and --plot naming one file (by links, other spellings or hard links) would leave only
// the one written last; an output naming a file the run reads (the batch, the case, the
// defaults) would replace the user's wells or design with a table, a chart or a trace.
void RefuseOneFileForTwoUses(const Options& options) {
    if (options.outFile && options.plotFile && SameFile(*options.outFile, *options.plotFile)) {
        throw CalculatorError("--out and --plot name the same file '" + *options.plotFile + "'");
    }
    for (const auto* output : {&options.outFile, &options.plotFile, &options.traceFile}) {
        for (const auto* input : {&options.batchFile, &options.caseFile, &options.defaultsFile}) {
            const bool standardInput = input == &options.batchFile && *input == "-";
            if (*output && *input && !standardInput && SameFile(**output, **input)) {
                throw CalculatorError("the output '" + **output + "' is the file the run reads: " +
                                      "name another file, so that it stays as it is");
            }
        }
    }
}

// The batch file, opened when it is a regular file (links followed): a FIFO or a device
// would block or never end.
std::ifstream OpenBatchFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!error && !std::filesystem::is_regular_file(status)) {
        error = FileError::NotRegularFile;
    }
    std::ifstream file;
    if (!error) {
        errno = 0;
        file.open(path, std::ios::binary);
        if (!file) {
            error = std::error_code(errno ? errno : EACCES, std::generic_category());
        }
    }
    if (error) {
        throw CalculatorError("cannot read batch file '" + path + "': " + error.message());
    }
    return file;
}

// The rows of the batch file, or of standard input, or of the sweep. A batch file is counted
// first (a quick pass) for the progress lines.
std::unique_ptr<RowSource> TableRows(const Options& options, const std::optional<Sweep>& sweep,
                                     const WellParameters& base, std::istream& in,
                                     std::ifstream& file, std::ostream& err) {
    if (sweep) {
        return SweepSource(*sweep, base, NamedInputs(options), options.settings.units);
    }
    if (*options.batchFile == "-") {
        return BatchSource(in, base, err, 0, NamedInputs(options), options.settings.units);
    }
    file = OpenBatchFile(*options.batchFile);
    const size_t count = CountBatchRows(file);
    file.clear();
    file.seekg(0);
    return BatchSource(file, base, err, count, NamedInputs(options), options.settings.units);
}

// "Casing size 4.09 in, separator OD 3 in, ..." without the swept option: the well and the
// separator on one line, the flow and the pump on a second.
std::string DesignSummary(const WellParameters& base, const ParameterEntry* swept,
                          const std::vector<const ParameterEntry*>& inputs, UnitSystem units) {
    std::string summary;
    bool lineStart = true;
    for (const ParameterEntry* option : inputs) {
        if (option->id == ParameterId::RiseVelocity && !summary.empty()) {
            summary += "\n";
            lineStart = true;
        }
        if (option == swept) {
            continue;
        }
        // An input the sweep works out afresh in each row has no one value to name.
        const char* source = swept ? SourceFollowingSweep(*option, *swept, base) : nullptr;
        summary += (lineStart ? option->Label() : ", " + std::string(option->name)) + " " +
                   (source ? std::string("from the ") + source
                           : FormatShown(option->Get(base), option->quantity, units) + " " +
                                 option->UnitIn(units).symbol);
        lineStart = false;
    }
    return summary;
}

void WritePlot(OutputFile& file, const Sweep& sweep, const WellParameters& base,
               const std::vector<const ParameterEntry*>& inputs,
               const std::vector<ChartPoint>& points, UnitSystem units) {
    const ParameterEntry& option = *sweep.option;
    SweepChart chart;
    chart.title = "Gas penetration against " + std::string(option.name);
    chart.subtitle = DesignSummary(base, &option, inputs, units);
    chart.xLabel = option.Label() + " (" + option.UnitIn(units).symbol + ")";
    chart.lengthUnit = UnitOf(Quantity::Length, units).symbol;
    chart.rateUnit = UnitOf(Quantity::Rate, units).symbol;
    for (const ChartPoint& point : points) {
        chart.x.push_back(point.x);
        chart.deepest.push_back(point.deepest);
        chart.dipTubeLength.push_back(point.dipTubeLength);
    }
    if (option.id == ParameterId::ProductionRate && !points.empty()) {
        chart.capacity = points.front().maximumCapacity;
        chart.capacityFigure = FormatShownValue(*chart.capacity, Quantity::Rate, units);
    }
    if (sweep.count == 1) {
        chart.note = "The range is a single value: " + FormatNumber(sweep.Value(0)) + " " +
                     option.UnitIn(sweep.units).symbol;
    }
    std::string png, error;
    if (!DrawSweepChart(chart, png, error)) {
        file.Fail(error);
    }
    file.Write(png);
    file.Commit();
}

// --batch or --sweep: the CSV on `out` or in the --out file, row by row; 1 when a row was bad.
int RunManyDesigns(const WellParameters& base, const Options& options, std::istream& in,
                   std::ostream& out, std::ostream& err) {
    const std::optional<Sweep> sweep =
        options.sweep ? std::optional(ParseSweep(*options.sweep, options.settings.units))
                      : std::nullopt;
    std::optional<OutputFile> outFile, plotFile;
    if (options.outFile) {
        outFile.emplace("output", *options.outFile);
    }
    if (options.plotFile) {
        plotFile.emplace("plot", *options.plotFile);
    }
    std::ifstream file;
    const std::unique_ptr<RowSource> rows = TableRows(options, sweep, base, in, file, err);
    TableRun run;
    run.workers = options.jobs > 1 ? options.jobs : 0; // -j 1: no threads at all
    run.write = [&](std::string_view text) {
        outFile ? outFile->Write(text) : WriteOutput(out, std::string(text));
    };
    run.chartOption = plotFile ? sweep->option : nullptr;
    const TableResult table = ComputeTable(*rows, options.settings, run, err);
    if (outFile) {
        outFile->Commit();
    }
    if (plotFile) {
        WritePlot(*plotFile, *sweep, base, rows->InputColumns(), table.points,
                  options.settings.units);
    }
    return table.anyBadRow ? 1 : 0;
}

} // namespace

const std::string& DesignCalculatorUsage() {
    static const std::string usage = Usage();
    return usage;
}

int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::istream& in, std::ostream& out, std::ostream& err) {
    try {
        const Options options = ParseOptions(args);
        if (options.help) {
            WriteOutput(out, DesignCalculatorUsage());
            return 0;
        }
        RefuseOneFileForTwoUses(options);
        const WellParameters parameters = StartingValues(options, shippedDefaults);
        if (options.select) {
            WriteOutput(
                out, SelectionTable(ShippedSeparatorPresets(), parameters, options.settings.units));
            return 0;
        }
        return options.batchFile || options.sweep
                   ? RunManyDesigns(parameters, options, in, out, err)
                   : RunSingleDesign(parameters, options, out, err);
    } catch (const CalculatorError& error) {
        err << "gas-separator-calc: " << Printable(error.what()) << "\n";
        return 2;
    }
}

int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::ostream& out, std::ostream& err) {
    std::istringstream none;
    return RunDesignCalculator(args, shippedDefaults, none, out, err);
}

int FlushOutput(std::ostream& out, std::ostream& err, int status) {
    try {
        WriteOutput(out, "");
        return status;
    } catch (const CalculatorError& error) {
        err << "gas-separator-calc: " << error.what() << "\n";
        return 2;
    }
}
