#include "tools/calc/DesignCalculator.h"

#include "app/AtomicFile.h"
#include "app/DefaultsFile.h"
#include "app/GasSeparatorModel.h"
#include "app/GasSeparatorSimulator.h"
#include "app/InletOutlook.h"
#include "app/NumberFormat.h"
#include "app/ParameterRules.h"
#include "app/SimulationCore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

namespace {

const char* const kUsage = R"(Usage: gas-separator-calc [options]

Computes a downhole gas separator's figures with the simulator's model: the pump runs for a
while and the results are printed as YAML.

Starting values are the shipped defaults; --defaults reads a defaults file instead, and each
value option then overrides one value.

Value options (inches, in/s, bbl/day, strokes/min):
  --casing-size X        casing inside diameter
  --separator-od X       separator outside diameter
  --separator-id X       separator inside diameter
  --dip-tube-od X        dip tube outside diameter
  --dip-tube-id X        dip tube inside diameter
  --dip-tube-length X    dip tube length (12 to 480)
  --rise-velocity X      gas bubble rise velocity (above 0, at most 12)
  --production-rate X    production rate (above 0)
  --spm X                pump speed (above 0, at most 30)

Run options:
  --defaults FILE        read the starting values from a defaults file
  --seconds S            simulated time with the pump running (default 30)
  --step DT              simulation step in seconds (default 1/60)
  --trace FILE.csv       write one row per step: time, crank angle, plunger position and
                         velocity, flow multiplier, the four velocities, penetration depth
                         and fraction
  --gas-limit            also find the smallest whole production rate at which gas ever
                         reaches the dip tube inlet, however long the pump runs (up to
                         10,000,000 bbl/day)
  --help                 show this text
  --version              print the version

Values are rounded to three decimals, as the program's fields do. A value outside its allowed
range is refused (exit status 2); values that are only inconsistent with each other (a
separator ID not below its OD, a dip tube not inside the separator, a dip tube ID not below its
OD) are reported on standard error and still computed.

Output keys: annulus_area_in2, dip_tube_bore_area_in2, maximum_capacity_bbl_per_day,
recommended_dip_tube_length_in; peak_gas_penetration_in and gas_reaches_dip_tube_inlet, within
the --seconds run; time_to_dip_tube_inlet_s, the seconds after the pump starts at which gas
first reaches the inlet however long it runs, or "never"; with --gas-limit,
gas_limit_production_rate_bbl_per_day. The last two come from the model's cycle behaviour (the
drift of the gas per pump cycle and its peak within a cycle), not from a longer run.
)";

constexpr long kGasLimitSearchRate = 10000000; // bbl/day, the highest rate --gas-limit tries

struct Options {
    std::optional<std::string> defaultsFile;
    std::map<std::string, double> values; // by option name
    double seconds = 30;
    double step = 1.0 / 60;
    std::optional<std::string> traceFile;
    bool gasLimit = false;
    bool help = false;
};

using Setter = std::function<void(WellParameters&, double)>;

const std::vector<std::pair<std::string, Setter>>& ValueOptions() {
    static const std::vector<std::pair<std::string, Setter>> options = {
        {"--casing-size", &WellParameters::SetCasingSize},
        {"--separator-od", &WellParameters::SetSeparatorOD},
        {"--separator-id", &WellParameters::SetSeparatorID},
        {"--dip-tube-od", &WellParameters::SetDipTubeOD},
        {"--dip-tube-id", &WellParameters::SetDipTubeID},
        {"--dip-tube-length", &WellParameters::SetDipTubeLength},
        {"--rise-velocity", &WellParameters::SetGasBubbleRiseVelocity},
        {"--production-rate", &WellParameters::SetProductionRate},
        {"--spm", &WellParameters::SetSPM},
    };
    return options;
}

bool IsValueOption(const std::string& name) {
    const auto& options = ValueOptions();
    return std::any_of(options.begin(), options.end(),
                       [&](const auto& option) { return option.first == name; });
}

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

double NumberArgument(const std::string& option, const std::string& text) {
    // A whole argument that is a finite number; not "12abc", "", "inf", "1e999" or "2,5".
    const std::optional<double> value = ReadNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw UsageError(option + ": '" + text + "' is not a number");
    }
    return *value;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--gas-limit") {
            options.gasLimit = true;
            continue;
        }
        const bool takesValue = IsValueOption(arg) || arg == "--defaults" || arg == "--seconds" ||
                                arg == "--step" || arg == "--trace";
        if (!takesValue) {
            throw UsageError("unknown option '" + arg + "' (see --help)");
        }
        if (i + 1 >= args.size()) {
            throw UsageError(arg + " needs a value");
        }
        const std::string& value = args[++i];
        if (arg == "--defaults") {
            options.defaultsFile = value;
        } else if (arg == "--trace") {
            options.traceFile = value;
        } else if (arg == "--seconds") {
            options.seconds = NumberArgument(arg, value);
        } else if (arg == "--step") {
            options.step = NumberArgument(arg, value);
        } else {
            options.values[arg] = RoundToThousandths(NumberArgument(arg, value));
        }
    }
    if (!(options.seconds >= 0) || options.seconds > 1e6) {
        throw UsageError("--seconds must be from 0 to 1000000");
    }
    if (!(options.step > 0) || options.step > 1) {
        throw UsageError("--step must be above 0 and at most 1 second");
    }
    if (options.seconds / options.step > 1e8) {
        throw UsageError("--seconds / --step must not exceed 100000000 steps");
    }
    return options;
}

WellParameters StartingValues(const Options& options, const std::string& shippedDefaults) {
    std::string text = shippedDefaults;
    std::error_code error; // a defaults file is small: 1 MiB, as the program reads it
    if (options.defaultsFile && !ReadRegularFile(*options.defaultsFile, 1 << 20, text, error)) {
        throw UsageError("cannot read defaults file '" + *options.defaultsFile +
                         "': " + error.message());
    }
    WellParameters parameters;
    std::string presetName;
    try {
        ParseDefaultsText(text, parameters, presetName);
    } catch (const SettingsFileError& error) {
        const std::string source = options.defaultsFile ? *options.defaultsFile : "shipped";
        throw UsageError("defaults file '" + source + "': " + error.what());
    }
    for (const auto& [name, setter] : ValueOptions()) {
        if (auto found = options.values.find(name); found != options.values.end()) {
            setter(parameters, found->second);
        }
    }
    return parameters;
}

// Refuses out-of-range values; reports inconsistent ones. False when anything was refused.
bool CheckInput(const WellParameters& parameters, std::ostream& err) {
    bool accepted = true;
    for (const RuleOutcome& outcome : CheckParameterRules(parameters)) {
        if (outcome.passed) {
            continue;
        }
        const bool refused = IsRangeRule(outcome.rule);
        err << (refused ? "error: " : "warning: ") << DescribeFailure(outcome.rule, parameters)
            << "\n";
        accepted = accepted && !refused;
    }
    return accepted;
}

struct RunResult {
    SimulationState last;
    double peakPenetration = 0;
    bool gasReachedInlet = false;
};

// Runs the pump for `seconds` from the bottom of the stroke; calls `onStep` after each step.
RunResult RunPump(const WellParameters& start, const Options& options,
                  const std::function<void(const SimulationState&)>& onStep = {}) {
    // A simulation of its own for this run: events, model and simulator, no window; the
    // model does not read the user's defaults file.
    CSimulationCore core;
    core.CreateEvents();
    core.CreateModel(false);
    core.CreateSimulator();
    CGasSeparatorModel& model = *core.Model();
    CGasSeparatorSimulator& simulator = *core.Simulator();
    model.SetParameters(start);
    model.GetParameters().SetPumpRunning(true);
    RunResult result;
    const long steps = std::lround(options.seconds / options.step);
    for (long i = 0; i < steps; ++i) {
        simulator.Update(options.step);
        const SimulationState& state = model.GetState();
        result.peakPenetration = std::max(result.peakPenetration, state.gasPenetrationDepth);
        result.gasReachedInlet = result.gasReachedInlet || state.gasAtDipTubeInlet;
        if (onStep) {
            onStep(state);
        }
    }
    // Without any step the figures that do not depend on time still come from one step of 0 s.
    if (steps == 0) {
        simulator.Update(0);
    }
    result.last = model.GetState();
    return result;
}

// Ten significant digits, as printf's "%.10g" in the "C" locale.
std::string CsvNumber(double value) {
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    return std::string(buffer, written.ptr);
}

void WriteTraceRow(std::ostream& csv, const SimulationState& s) {
    const double values[] = {s.elapsedTime,           s.crankAngle,
                             s.plungerPosition,       s.plungerVelocity,
                             s.flowMultiplier,        s.annulusLiquidVelocity,
                             s.annulusBubbleVelocity, s.dipTubeLiquidVelocity,
                             s.dipTubeBubbleVelocity, s.gasPenetrationDepth,
                             s.gasPenetrationFraction};
    for (size_t i = 0; i < std::size(values); ++i) {
        csv << (i ? "," : "") << CsvNumber(values[i]);
    }
    csv << "\n";
}

RunResult RunWithTrace(const WellParameters& parameters, const Options& options) {
    if (!options.traceFile) {
        return RunPump(parameters, options);
    }
    std::ofstream csv(*options.traceFile, std::ios::trunc);
    if (!csv) {
        throw UsageError("cannot write trace file '" + *options.traceFile + "'");
    }
    csv << "time_s,crank_angle_rad,plunger_position,plunger_velocity_strokes_per_s,"
           "flow_multiplier,annulus_liquid_velocity_in_per_s,annulus_bubble_velocity_in_per_s,"
           "dip_tube_liquid_velocity_in_per_s,dip_tube_bubble_velocity_in_per_s,"
           "gas_penetration_depth_in,gas_penetration_fraction\n";
    RunResult result =
        RunPump(parameters, options, [&](const SimulationState& s) { WriteTraceRow(csv, s); });
    if (!csv.flush()) {
        throw UsageError("cannot write trace file '" + *options.traceFile + "'");
    }
    return result;
}

void PrintResults(std::ostream& out, const RunResult& run) {
    const SimulationState& s = run.last;
    out << "annulus_area_in2: " << FormatNumber(s.annulusArea) << "\n"
        << "dip_tube_bore_area_in2: " << FormatNumber(s.dipTubeBoreArea) << "\n"
        << "maximum_capacity_bbl_per_day: " << FormatNumber(s.maximumCapacity) << "\n"
        << "recommended_dip_tube_length_in: "
        << FormatNumber(RoundToThousandths(s.recommendedDipTubeLength)) << "\n"
        << "peak_gas_penetration_in: " << FormatNumber(run.peakPenetration) << "\n"
        << "gas_reaches_dip_tube_inlet: " << (run.gasReachedInlet ? "true" : "false") << "\n";
}

} // namespace

const char* DesignCalculatorUsage() {
    return kUsage;
}

int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::ostream& out, std::ostream& err) {
    try {
        const Options options = ParseOptions(args);
        if (options.help) {
            out << kUsage;
            return 0;
        }
        const WellParameters parameters = StartingValues(options, shippedDefaults);
        if (!CheckInput(parameters, err)) {
            return 2;
        }
        PrintResults(out, RunWithTrace(parameters, options));
        const InletOutlook outlook = DipTubeInletOutlook(parameters, options.step);
        out << "time_to_dip_tube_inlet_s: "
            << (outlook.reaches ? FormatNumber(outlook.seconds) : std::string("never")) << "\n";
        if (options.gasLimit) {
            const std::optional<long> rate =
                LongRunGasLimitRate(parameters, options.step, kGasLimitSearchRate);
            out << "gas_limit_production_rate_bbl_per_day: "
                << (rate ? std::to_string(*rate) : std::string("none")) << "\n";
        }
        return 0;
    } catch (const UsageError& error) {
        err << "gas-separator-calc: " << error.what() << "\n";
        return 2;
    }
}
