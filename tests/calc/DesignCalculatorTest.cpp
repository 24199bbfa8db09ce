#include "tools/calc/DesignCalculator.h"
#include "app/files/AtomicFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterTable.h"
#include "app/model/Verdict.h"
#include "tests/files/TestFiles.h"
#include "tools/calc/DerivedInputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {
const std::string kShipped = "Casing Size: 4.09\r\nPreset Name: '2 3/8\" Collar Size Separator'\r\n"
                             "Separator OD: 3\r\nSeparator ID: 2.75\r\nDip Tube OD: 1.35\r\n"
                             "Dip Tube ID: 1.05\r\nDip Tube Length: 42\r\n"
                             "Gas Bubble Rise Velocity: 6\r\nProduction Rate: 200\r\nSPM: 8\r\n";

struct CalcRun {
    int status;
    std::string out, err;
    std::map<std::string, std::string> keys;
};

CalcRun Calc(std::vector<std::string> args) {
    std::ostringstream out, err;
    CalcRun run{RunDesignCalculator(args, kShipped, out, err), out.str(), err.str(), {}};
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (auto colon = line.find(": "); colon != std::string::npos) {
            run.keys[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return run;
}

std::string ReadFileText(const std::filesystem::path& path) {
    std::string text;
    std::error_code error;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 20, text, error)) << path << ": " << error.message();
    return text;
}
} // namespace

TEST(DesignCalculator, ShippedDefaultsGiveTheKnownFigures) {
    const CalcRun run = Calc({});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.keys.at("annulus_area_in2"), "4.50819");
    EXPECT_EQ(run.keys.at("dip_tube_bore_area_in2"), "0.865901");
    EXPECT_EQ(run.keys.at("maximum_capacity_bbl_per_day"), "242");
    EXPECT_EQ(run.keys.at("recommended_dip_tube_length_in"), "27.75");
    EXPECT_NEAR(std::stod(run.keys.at("peak_gas_penetration_in")), 20.3, 0.1);
    EXPECT_EQ(run.keys.at("gas_reaches_dip_tube_inlet"), "false");
    EXPECT_EQ(run.keys.at("gas_limit_production_rate_bbl_per_day"), "242"); // always given
    EXPECT_EQ(run.keys.at("verdict"), "works");
    EXPECT_EQ(run.keys.at("verdict_cause"), "none");
    EXPECT_EQ(run.keys.at("capacity_margin_percent"), "17.4"); // 100 x (1 - 200 / 242)
    EXPECT_TRUE(run.err.empty());
    // The keys as before, the verdict's after them.
    EXPECT_NE(run.out.find("long_run_peak_gas_penetration_in: 20.2588\n"
                           "gas_limit_production_rate_bbl_per_day: 242\nverdict: works\n"
                           "verdict_cause: none\ncapacity_margin_percent: 17.4\n"),
              std::string::npos)
        << run.out;
}

// The calculator says what the program's panel says of a design, in the same words: it works,
// fails above capacity, or fails for a dip tube shorter than the gas reach.
TEST(DesignCalculator, TheVerdictIsThePanelsInItsWords) {
    const std::vector<std::vector<std::string>> designs = {
        {}, {"--production-rate", "250"}, {"--spm", "4", "--dip-tube-length", "24"}};
    std::set<std::string> causes;
    for (const auto& args : designs) {
        WellParameters p; // the shipped design, then the options
        const double shipped[] = {4.09, 3, 2.75, 1.35, 1.05, 42, 6, 200, 8};
        for (size_t i = 0; i < std::size(shipped); ++i) { // the first inputs; the others shipped
            Parameters()[i].Set(p, shipped[i]);
        }
        for (size_t i = 0; i < args.size(); i += 2) {
            ParameterWithColumn(args[i])->Set(p, std::stod(args[i + 1]));
        }
        const DesignVerdict verdict = JudgeDesign(p);
        const CalcRun run = Calc(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.keys.at("verdict"), VerdictWord(verdict.kind));
        const std::string cause = *CauseText(verdict.cause) ? CauseText(verdict.cause) : "none";
        EXPECT_EQ(run.keys.at("verdict_cause"), cause);
        EXPECT_EQ(run.keys.at("capacity_margin_percent"),
                  FormatDecimals(verdict.capacityMargin, 1));
        EXPECT_EQ(run.keys.at("gas_limit_production_rate_bbl_per_day"),
                  std::to_string(verdict.gasLimitRate.value_or(-1)));
        EXPECT_EQ(run.keys.at("time_to_dip_tube_inlet_s"),
                  verdict.kind == VerdictKind::Fails ? FormatNumber(verdict.secondsToInlet)
                                                     : "never");
        causes.insert(cause);
    }
    EXPECT_EQ(causes.size(), 3u);
}

// The limit and the time to the inlet hold however long the pump runs: 250 bbl/day, below the
// 30 s run's limit of 262, reaches the inlet after about 70 s.
TEST(DesignCalculator, GasLimitAndTimeToTheInletAreTheLongRunOnes) {
    for (const char* seconds : {"30", "0.2"}) {
        const CalcRun run = Calc({"--gas-limit", "--seconds", seconds});
        EXPECT_EQ(run.keys.at("gas_limit_production_rate_bbl_per_day"), "242") << seconds;
        EXPECT_EQ(run.keys.at("time_to_dip_tube_inlet_s"), "never"); // the given 200 bbl/day
    }
    const CalcRun at250 = Calc({"--production-rate", "250"});
    EXPECT_EQ(at250.keys.at("gas_reaches_dip_tube_inlet"), "false"); // not within the 30 s run
    EXPECT_EQ(at250.keys.at("time_to_dip_tube_inlet_s"), "70.4333");
}

TEST(DesignCalculator, ADesignWithoutAnAnnulusCannotWork) {
    const CalcRun run = Calc({"--dip-tube-od", "2.75", "--gas-limit"}); // as wide as the bore
    EXPECT_EQ(run.keys.at("gas_reaches_dip_tube_inlet"), "true");
    EXPECT_EQ(run.keys.at("time_to_dip_tube_inlet_s"), "0.0166667");
    EXPECT_EQ(run.keys.at("gas_limit_production_rate_bbl_per_day"), "1");
}

TEST(DesignCalculator, RangeErrorsAreRefusedAndInconsistenciesOnlyReported) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--spm", "30.001"},
                                                                  {"--spm", "0"},
                                                                  {"--dip-tube-length", "11.999"},
                                                                  {"--rise-velocity", "12.001"},
                                                                  {"--production-rate", "0"},
                                                                  {"--separator-od", "4.09"}}) {
        const CalcRun run = Calc(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("error:"), std::string::npos) << args[0];
        EXPECT_TRUE(run.out.empty()) << args[0];
    }
    EXPECT_NE(Calc({"--units", "metric", "--dip-tube-length", "0.2"})
                  .err.find("must be from 0.3048 to 12.192 m; got 0.2 m"),
              std::string::npos);
    EXPECT_EQ(Calc({"--spm", "30.0004"}).status, 0); // rounds to 30
    EXPECT_EQ(Calc({"--dip-tube-length", "480"}).status, 0);

    const CalcRun wall = Calc({"--separator-id", "3"});
    EXPECT_EQ(wall.status, 0);
    EXPECT_NE(wall.err.find("warning: separator ID (3 in) must be less than separator OD (3 in)"),
              std::string::npos);
    EXPECT_EQ(wall.keys.at("maximum_capacity_bbl_per_day"), "302");
}

TEST(DesignCalculator, BadCommandLinesGiveOneLineAndStatusTwo) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--spm"},
                                               {"--spm", "12abc"},
                                               {"--spm", "inf"},
                                               {"--production-rate", "1e999"},
                                               {"--step", "0"},
                                               {"-j", "0"},
                                               {"-j", "1.5"},
                                               {"--spm=12abc"},
                                               {"-j0"},
                                               {"--help=yes"},
                                               {"--bogus=1"},
                                               {"--defaults", "/nonexistent/gs/defaults.yml"}}) {
        const CalcRun run = Calc(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Calc({"--production-rate", "1e999"}).err,
              "gas-separator-calc: --production-rate: '1e999' is too large a number\n");
    // A value may follow its option in the same argument, as GNU tools take it.
    const CalcRun attached = Calc({"--spm=12", "--separator-od=3 1/4", "-j1"});
    EXPECT_EQ(attached.status, 0) << attached.err;
    EXPECT_EQ(attached.out, Calc({"--spm", "12", "--separator-od", "3.25"}).out);
    const CalcRun help = Calc({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--gas-limit"), std::string::npos);
    // Every line fits a terminal of 95 columns, however long the table's names and limits;
    // every input's option and batch column is named.
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) {
        const auto characters = std::count_if(line.begin(), line.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a UTF-8 continuation
        });
        EXPECT_LE(characters, 95) << line;
    }
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.HasColumn()) {
            EXPECT_NE(help.out.find(parameter.Flag() + " X"), std::string::npos);
            const std::string column(parameter.column);
            EXPECT_TRUE(help.out.find(column + ",") != std::string::npos ||
                        help.out.find(column + ")") != std::string::npos)
                << column;
        }
    }
}

TEST(DesignCalculator, StartsFromACaseFileAndRefusesItBesideDefaults) {
    TestFolder folder("calc-case");
    const auto good = folder / "well.gscase";
    WriteFileAtomically(good, "Case Version: 1\nWell Name: \"W-7\"\nUnits: metric\n"
                              "Casing Size: 7.025\nPreset Name: \nSeparator OD: 4.5\n"
                              "Separator ID: 4\nDip Tube OD: 1.5\nDip Tube ID: 1.37\n"
                              "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                              "Production Rate: 200\nSPM: 8\n");
    EXPECT_EQ(Calc({"--case", good.string()}).keys.at("maximum_capacity_bbl_per_day"), "579");
    const CalcRun both = Calc({"--case", good.string(), "--defaults", good.string()});
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("--defaults and --case cannot be used together"), std::string::npos);

    const auto broken = folder / "broken.gscase";
    WriteFileAtomically(broken, ReadFileText(good) + "Pump Efficiency: 0\n");
    const CalcRun run = Calc({"--case", broken.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("\"Pump Efficiency\" (line 14)"), std::string::npos) << run.err;
}

TEST(DesignCalculator, ReadsADefaultsFileAndRejectsABrokenOne) {
    TestFolder folder("calc-defaults");
    const auto good = folder / "good.yml";
    WriteFileAtomically(good, "Casing Size: 7.025\nPreset Name: \nSeparator OD: 4.5\n"
                              "Separator ID: 4\nDip Tube OD: 1.5\nDip Tube ID: 1.37\n"
                              "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                              "Production Rate: 200\nSPM: 8\n");
    EXPECT_EQ(Calc({"--defaults", good.string()}).keys.at("maximum_capacity_bbl_per_day"), "579");

    const auto broken = folder / "broken.yml";
    WriteFileAtomically(broken, "Casing Size: 7.025\nSeparator OD: wide\n");
    const CalcRun run = Calc({"--defaults", broken.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("broken.yml"), std::string::npos);

    // Over 1 MiB (a good file padded with a comment), a device: refused with the reason.
    WriteFileAtomically(broken, ReadFileText(good) + "#" + std::string(2 << 20, 'x') + "\n");
    const CalcRun big = Calc({"--defaults", broken.string()});
    ASSERT_EQ(big.status, 2); // before the zero device, which would fill the memory
    EXPECT_NE(big.err.find("too large"), std::string::npos) << big.err;
    const auto zero = folder / "zero";
    if (!MakeDevice(zero, DeviceKind::Zero)) {
        ASSERT_TRUE(MakeFifo(zero)); // not a regular file either
    }
    const CalcRun device = Calc({"--defaults", zero.string()});
    EXPECT_EQ(device.status, 2);
    EXPECT_NE(device.err.find("not a regular file"), std::string::npos) << device.err;
}

// A pump speed within its range but near zero (a cycle of years) is computed at once.
TEST(DesignCalculator, APumpSpeedNearZeroIsComputedAtOnce) {
    TestFolder folder("calc-slow-pump");
    const auto slow = folder / "slow.yml";
    WriteFileAtomically(slow, "Casing Size: 4.09\nPreset Name: \nSeparator OD: 3\n"
                              "Separator ID: 2.75\nDip Tube OD: 1.35\nDip Tube ID: 1.05\n"
                              "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                              "Production Rate: 250\nSPM: 0.0000001\n");
    const CalcRun run = Calc({"--defaults", slow.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.keys.at("verdict"), "fails");
    EXPECT_EQ(run.keys.at("gas_limit_production_rate_bbl_per_day"), "65");
    EXPECT_NEAR(std::stod(run.keys.at("time_to_dip_tube_inlet_s")), 0.0885 * 6e8, 0.001 * 6e8);
}

TEST(DesignCalculator, TraceHasAHeaderAndOneRowPerStep) {
    TestFolder folder("calc-trace");
    const auto trace = folder / "trace.csv";
    ASSERT_EQ(Calc({"--seconds", "1", "--step", "0.1", "--trace", trace.string()}).status, 0);
    const std::string text = ReadFileText(trace);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 11);
    EXPECT_EQ(text.rfind("time_s,crank_angle_rad,plunger_position,", 0), 0u);
    EXPECT_NE(text.find("\n0.1,"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.begin() + text.find('\n'), ','), 10);
    // No flow yet at the first steps: the annulus velocity is 0, not a negative zero.
    EXPECT_EQ(text.find(",-0,"), std::string::npos);

    // In metric units the velocities and the depth are in m/s and m, and say so; the rest is
    // the same.
    const auto metricTrace = folder / "metric.csv";
    ASSERT_EQ(Calc({"--units", "metric", "--seconds", "1", "--step", "0.1", "--trace",
                    metricTrace.string()})
                  .status,
              0);
    std::istringstream oilfield(text);
    std::istringstream metric(ReadFileText(metricTrace));
    std::string oilfieldLine, metricLine;
    std::getline(oilfield, oilfieldLine);
    std::getline(metric, metricLine);
    EXPECT_EQ(metricLine, "time_s,crank_angle_rad,plunger_position,plunger_velocity_strokes_per_s,"
                          "flow_multiplier,annulus_liquid_velocity_m_per_s,"
                          "annulus_bubble_velocity_m_per_s,dip_tube_liquid_velocity_m_per_s,"
                          "dip_tube_bubble_velocity_m_per_s,gas_penetration_depth_m,"
                          "gas_penetration_fraction");
    while (std::getline(oilfield, oilfieldLine) && std::getline(metric, metricLine)) {
        std::istringstream oilfieldCells(oilfieldLine), metricCells(metricLine);
        std::string a, b;
        for (int column = 0;
             std::getline(oilfieldCells, a, ',') && std::getline(metricCells, b, ','); ++column) {
            const double factor = column >= 5 && column <= 9 ? 0.0254 : 1;
            EXPECT_NEAR(std::stod(b), std::stod(a) * factor, 1e-9 * (1 + std::abs(std::stod(a))))
                << "column " << column << " of " << metricLine;
        }
    }
}

// Every suggestion of the "Separator capacity exceeded" card, checked in the model: "Lower the
// production rate or use a larger annulus. Below capacity, a longer dip tube or a faster pump
// also helps." Each case: changes to the shipped design, and whether gas ever reaches the inlet.
TEST(DesignCalculator, TheCapacityCardsAdviceHoldsInTheModel) {
    const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
        {{"--production-rate", "250"}, true}, // above the capacity of 242
        {{"--production-rate", "200"}, false},
        {{"--production-rate", "250", "--separator-id", "2.9"}, false},
        {{"--production-rate", "250", "--dip-tube-od", "1.2", "--dip-tube-id", "1"}, false},
        {{"--production-rate", "250", "--dip-tube-length", "480"}, true}, // only later
        {{"--production-rate", "250", "--spm", "30"}, true},              // only later
        {{"--dip-tube-length", "18"}, true}, // below capacity, gas within each stroke
        {{"--dip-tube-length", "24"}, false},
        {{"--dip-tube-length", "18", "--spm", "10"}, false},
        {{"--dip-tube-length", "24", "--spm", "6"}, true}, // a slower pump, the old advice
        // Not quite right under the shown capacity: it is rounded to whole barrels, and the
        // pump's mean draw is 0.99905 of the rate.
        {{"--production-rate", "241.9", "--dip-tube-length", "480"}, true},
    };
    for (const auto& [args, reaches] : cases) {
        const CalcRun run = Calc(args);
        EXPECT_EQ(run.keys.at("time_to_dip_tube_inlet_s") != "never", reaches)
            << args[1] << run.err;
    }
}

// The rate from the pump and the rise velocity from the fluids, as the panel works them out, and
// a derived input named with what it comes from refused.
TEST(DesignCalculator, InputsWorkedOutFromThePumpAndTheFluids) {
    // 0.1166 × 100 in × (1.5 in)² × 10 SPM = 262.35 bbl/day; at 80 %, 209.88.
    const CalcRun pump =
        Calc({"--plunger-diameter", "1.5", "--spm", "10", "--pump-efficiency", "80"});
    ASSERT_EQ(pump.status, 0) << pump.err;
    EXPECT_EQ(pump.out.rfind("pump_displacement_bbl_per_day: 262.35\n"
                             "production_rate_bbl_per_day: 209.88\n",
                             0),
              0u)
        << pump.out;
    EXPECT_EQ(pump.keys.at("capacity_margin_percent"), FormatDecimals(100 * (1 - 209.88 / 242), 1));
    // Water and air by Harmathy: 9.821 in/s.
    const CalcRun fluid =
        Calc({"--liquid-density", "998", "--gas-density", "1.2", "--surface-tension", "0.072"});
    ASSERT_EQ(fluid.status, 0) << fluid.err;
    EXPECT_EQ(fluid.keys.at("rise_velocity_in_per_s"), "9.821");
    EXPECT_EQ(fluid.keys.count("production_rate_bbl_per_day"), 0u); // typed: not worked out
    // A typed design prints what it printed before.
    EXPECT_EQ(Calc({}).out.rfind("annulus_area_in2: ", 0), 0u);

    const CalcRun both = Calc({"--stroke-length", "90", "--production-rate", "200"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.err, "gas-separator-calc: production_rate and stroke_length cannot be given "
                        "together: with a pump value the production rate comes from the pump\n");
    EXPECT_EQ(Calc({"--rise-velocity", "6", "--gas-density", "40"}).status, 2);
    const CalcRun fast =
        Calc({"--liquid-density", "300", "--gas-density", "0.001", "--surface-tension", "0.2"});
    EXPECT_EQ(fast.status, 2);
    EXPECT_NE(fast.err.find("no rise velocity from the fluids: 17.128 in/s is outside"),
              std::string::npos)
        << fast.err;
}

// A chart's caption names an input the sweep works out afresh in each row by where it comes
// from, not by the one value of the starting design (a pump speed swept with the rate from the
// pump was captioned "production rate 209.88 bbl/day").
TEST(DesignCalculator, ASweepNamesTheSourceOfWhatFollowsIt) {
    WellParameters pumped;
    pumped.SetRateFromPump(true);
    const WellParameters typed;
    const ParameterEntry& rate = ParameterOf(ParameterId::ProductionRate);
    const ParameterEntry& rise = ParameterOf(ParameterId::RiseVelocity);
    const auto source = [](const ParameterEntry& input, ParameterId swept,
                           const WellParameters& base) {
        const char* from = SourceFollowingSweep(input, ParameterOf(swept), base);
        return std::string(from ? from : "");
    };
    EXPECT_EQ(source(rate, ParameterId::SPM, pumped), "pump");
    EXPECT_EQ(source(rate, ParameterId::SPM, typed), "");
    EXPECT_EQ(source(rate, ParameterId::PlungerDiameter, typed), "pump");
    EXPECT_EQ(source(rate, ParameterId::DipTubeLength, pumped), "");
    EXPECT_EQ(source(rise, ParameterId::SurfaceTension, typed), "fluids");
    EXPECT_EQ(source(rise, ParameterId::SPM, pumped), "");
}

// A batch shows the pump's and the fluids' columns only when it uses them; a row whose values
// give no rise velocity is an error of its own.
TEST(DesignCalculator, ABatchShowsTheInputsItUses) {
    const TestFolder folder("calc-derived");
    const auto batch = [&](const std::string& name, const std::string& csv) {
        std::ofstream(folder / name) << csv;
        return Calc({"--batch", (folder / name).string(), "-j", "1"});
    };
    const CalcRun typed = batch("typed.csv", "spm\n8\n");
    ASSERT_EQ(typed.status, 0) << typed.err;
    EXPECT_EQ(typed.out.rfind("casing_size,separator_od,separator_id,dip_tube_od,dip_tube_id,"
                              "dip_tube_length,rise_velocity,production_rate,spm,annulus_area_in2",
                              0),
              0u)
        << typed.out;
    EXPECT_EQ(typed.err.find("plunger"), std::string::npos) << typed.err;

    const CalcRun pump = batch("pump.csv", "spm,plunger_diameter,surface_tension\n10,2,0.02\n"
                                           "8,1.5,0.5\n");
    EXPECT_EQ(pump.status, 1);
    EXPECT_NE(pump.out.find("rise_velocity,production_rate,spm,plunger_diameter,stroke_length,"
                            "pump_efficiency,liquid_density,gas_density,surface_tension,"),
              std::string::npos)
        << pump.out;
    // 0.1166 × 100 × 4 × 10 = 466.4 bbl/day; 870, 50 kg/m³ and 0.02 N/m give 7.273 in/s.
    EXPECT_NE(pump.out.find(",7.273,466.4,10,2,100,100,870,50,0.02,"), std::string::npos)
        << pump.out;
    EXPECT_NE(pump.err.find("column 'production_rate' not given: every row takes it from the "
                            "pump\n"),
              std::string::npos)
        << pump.err;
    EXPECT_NE(pump.err.find(
                  "line 3: error: no rise velocity from the fluids: Surface tension must be from "
                  "0.001 to 0.2 N/m.\n"),
              std::string::npos)
        << pump.err;

    const CalcRun both = batch("both.csv", "rise_velocity,gas_density\n6,40\n");
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("rise_velocity and gas_density cannot be given together"),
              std::string::npos)
        << both.err;
}

// --select lists every shipped separator, those that fit the casing first and best first, each
// with the verdict the design would get with it.
TEST(DesignCalculator, SelectRanksTheShippedSeparatorsInTheCasing) {
    const CalcRun run = Calc({"--select", "--production-rate", "230"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "preset,fits,reason,maximum_capacity_bbl_per_day,capacity_margin_percent,"
                    "long_run_peak_gas_penetration_in,dip_tube_length_in,time_to_dip_tube_inlet_s,"
                    "verdict,verdict_cause");
    std::vector<std::string> rows;
    while (std::getline(lines, line)) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 11u);
    // The widest bore carries the most: 443 bbl/day, 48.1 % to spare at 230.
    EXPECT_EQ(rows[0], "2-7/8 Collar Size Gas Separator,yes,,443,48.1,7.79998,56,never,works,none");
    bool fitting = true;
    double margin = 100;
    for (const std::string& row : rows) {
        std::vector<std::string> fields; // no preset name holds a comma
        std::istringstream cells(row);
        for (std::string cell; std::getline(cells, cell, ',');) {
            fields.push_back(cell);
        }
        const bool fits = fields.at(1) == "yes";
        EXPECT_TRUE(fitting || !fits) << row; // none that fits after one that does not
        fitting = fits;
        if (fits && fields.at(8) == "works") { // the working ones by their margin
            EXPECT_LE(std::stod(fields.at(4)), margin) << row;
            margin = std::stod(fields.at(4));
        }
    }
    EXPECT_NE(
        rows.back().find(",no,outside diameter 6.003 in not below the drift diameter 3.965 in,"),
        std::string::npos)
        << rows.back();
    EXPECT_EQ(Calc({"--select", "--sweep", "spm=4:8:4"}).status, 2);

    // In metric units, as every other output: 443 bbl/day, 5.32178 in and 56 in converted.
    const CalcRun metric = Calc({"--select", "--units", "metric"});
    ASSERT_EQ(metric.status, 0) << metric.err;
    EXPECT_EQ(metric.out.substr(0, metric.out.find('\n', metric.out.find('\n') + 1)),
              "preset,fits,reason,maximum_capacity_m3_per_day,capacity_margin_percent,"
              "long_run_peak_gas_penetration_m,dip_tube_length_m,time_to_dip_tube_inlet_s,"
              "verdict,verdict_cause\n"
              "2-7/8 Collar Size Gas Separator,yes,,70.4314,54.9,0.135173,1.4224,never,works,none");
    EXPECT_NE(metric.out.find(",no,outside diameter 152.5 mm not below the drift diameter "
                              "100.7 mm,"),
              std::string::npos)
        << metric.out;
}

// --units metric: options, keys and columns in metric units, each figure the oilfield one
// converted (worked by hand); a batch column names its unit, a bare one is oilfield.
TEST(DesignCalculator, MetricUnitsInAndOut) {
    const CalcRun metric = Calc({"--units", "metric", "--separator-od", "76.2"}); // 3 in
    ASSERT_EQ(metric.status, 0) << metric.err;
    // 242 bbl/day × 0.158987294928 = 38.4749 m³/day; 27.75 in × 0.0254 = 0.70485 m;
    // 4.50819 in² × 645.16 = 2908.5 mm².
    EXPECT_EQ(metric.keys.at("maximum_capacity_m3_per_day"), "38.4749");
    EXPECT_EQ(metric.keys.at("recommended_dip_tube_length_m"), "0.70485");
    EXPECT_EQ(metric.keys.at("annulus_area_mm2"), "2908.5");
    EXPECT_EQ(metric.keys.at("gas_limit_production_rate_m3_per_day"), "38.4749");
    EXPECT_EQ(metric.keys.count("maximum_capacity_bbl_per_day"), 0u);
    const CalcRun oilfield = Calc({"--separator-od", "3"});
    EXPECT_EQ(metric.keys.at("verdict"), oilfield.keys.at("verdict"));
    EXPECT_EQ(metric.keys.at("capacity_margin_percent"),
              oilfield.keys.at("capacity_margin_percent"));
    EXPECT_EQ(Calc({"--units", "imperial"}).status, 2);

    const TestFolder folder("calc-units");
    std::ofstream(folder / "units.csv") << "separator_od_mm,production_rate,spm\n76.2,200,8\n";
    const CalcRun table = Calc({"--batch", (folder / "units.csv").string(), "-j", "1"});
    ASSERT_EQ(table.status, 0) << table.err;
    // 76.2 mm is the 3 in of the shipped design; the bare rate is in bbl/day.
    EXPECT_NE(table.out.find("\n4.09,3,2.75,1.35,1.05,42,6,200,8,4.50819,"), std::string::npos)
        << table.out;
    const CalcRun inMetric =
        Calc({"--batch", (folder / "units.csv").string(), "-j", "1", "--units", "metric"});
    EXPECT_EQ(inMetric.out.rfind("casing_size_mm,separator_od_mm,separator_id_mm,dip_tube_od_mm,"
                                 "dip_tube_id_mm,dip_tube_length_m,rise_velocity_m_per_s,"
                                 "production_rate_m3_per_day,spm,annulus_area_mm2,",
                                 0),
              0u)
        << inMetric.out;
    EXPECT_NE(inMetric.out.find("\n103.886,76.2,69.85,34.29,26.67,1.0668,0.1524,31.79745899,8,"),
              std::string::npos)
        << inMetric.out;
    // The inputs no column gives are named as the table names them, in its units.
    EXPECT_NE(inMetric.err.find("column 'separator_id_mm' not given: every row uses 69.85 mm\n"),
              std::string::npos)
        << inMetric.err;
    EXPECT_EQ(inMetric.err.find("column 'spm'"), std::string::npos); // given

    // The values worked out are in the run's units too, the rise velocity rounded as the
    // panel's fluid form rounds it in metric (0.1938 m/s; it was 7.629 in/s, 0.193777 m/s).
    const CalcRun derived = Calc({"--units", "metric", "--liquid-density", "900",
                                  "--plunger-diameter", "38.1", "--stroke-length", "2.54"});
    ASSERT_EQ(derived.status, 0) << derived.err;
    EXPECT_EQ(derived.keys.at("rise_velocity_m_per_s"), "0.1938");
    EXPECT_EQ(derived.keys.at("production_rate_m3_per_day"), "33.3683");
    EXPECT_EQ(derived.keys.count("production_rate_bbl_per_day"), 0u);
}

// A defaults file that takes the rate from the pump: the pump's rate is used, unless a rate is
// typed on the command line or in a column, which then is the rate and hides the pump.
TEST(DesignCalculator, ADefaultsFileWithTheRateFromThePump) {
    const TestFolder folder("calc-pump-defaults");
    std::ofstream(folder / "pump.yml") << kShipped << "Rate From Pump: true\r\n";
    const std::string defaults = (folder / "pump.yml").string();
    const CalcRun pump = Calc({"--defaults", defaults});
    ASSERT_EQ(pump.status, 0) << pump.err;
    EXPECT_EQ(pump.keys.at("production_rate_bbl_per_day"), "209.88"); // 0.1166 × 100 × 2.25 × 8
    const CalcRun typed = Calc({"--defaults", defaults, "--production-rate", "150"});
    EXPECT_EQ(typed.keys.count("production_rate_bbl_per_day"), 0u);
    EXPECT_EQ(typed.keys.at("capacity_margin_percent"), "38"); // 1 − 150 / 242
    std::ofstream(folder / "rates.csv") << "production_rate\n150\n";
    const CalcRun batch =
        Calc({"--defaults", defaults, "--batch", (folder / "rates.csv").string(), "-j", "1"});
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.out.find("plunger_diameter"), std::string::npos) << batch.out;
    EXPECT_NE(batch.out.find(",150,8,"), std::string::npos) << batch.out;
}
