// Metric units against figures worked by hand, round trips of every input, and numbers typed with
// units and decimal commas.
#include "app/model/Units.h"
#include "app/model/DefaultsFile.h"
#include "app/model/DesignReadouts.h"
#include "app/model/DesignSheet.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/TypedNumber.h"
#include "app/model/Verdict.h"
#include "tests/app/CommaLocale.h"
#include "tests/app/ShippedDesign.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <map>

namespace {
constexpr auto kMetric = UnitSystem::Metric;
constexpr auto kOilfield = UnitSystem::Oilfield;

const ParameterEntry& Entry(ParameterId id) {
    return ParameterOf(id);
}

TypedValue Typed(const std::string& text, ParameterId id, UnitSystem units = kMetric,
                 bool comma = false) {
    return ReadTyped(text, Entry(id), units, comma);
}
} // namespace

// The shipped design in metric, each figure worked by hand from the oilfield one.
TEST(Units, TheShippedDesignInMetric) {
    const WellParameters p = ShippedDesign();
    // 4.09 in × 25.4 = 103.886 mm, to a tenth: 103.9.
    EXPECT_EQ(FormatShown(p.GetCasingSize(), Quantity::Diameter, kMetric), "103.9");
    EXPECT_EQ(FormatShown(p.GetSeparatorOD(), Quantity::Diameter, kMetric), "76.2");  // 3 in
    EXPECT_EQ(FormatShown(p.GetDipTubeID(), Quantity::Diameter, kMetric), "26.7");    // 1.05
    EXPECT_EQ(FormatShown(p.GetDipTubeLength(), Quantity::Length, kMetric), "1.067"); // 42 in
    EXPECT_EQ(FormatShown(p.GetGasBubbleRiseVelocity(), Quantity::Velocity, kMetric), "0.1524");
    // 200 bbl × 0.158987294928 = 31.797 m³, to a hundredth.
    EXPECT_EQ(FormatShown(p.GetProductionRate(), Quantity::Rate, kMetric), "31.8");
    EXPECT_EQ(FormatShown(p.GetSPM(), Quantity::PumpSpeed, kMetric), "8");
    // The capacity, 242 bbl/day: 38.4749 m³/day; the recommended 27.75 in: 0.70485 m.
    EXPECT_EQ(FormatShown(242, Quantity::Rate, kMetric), "38.47");
    EXPECT_EQ(FormatShown(27.75, Quantity::Length, kMetric), "0.705");
    // The range rules' limits, converted exactly: 12 in/s is 0.3048 m/s, 480 in 12.192 m.
    EXPECT_EQ(RangeWarningText(Entry(ParameterId::RiseVelocity), kMetric),
              "Must be above 0 and at most 0.3048 m/s.");
    EXPECT_NE(FieldTooltip(Entry(ParameterId::DipTubeLength), kMetric).find("12.192"),
              std::string::npos);
    // The gas reach to a millimetre: 20.3 of 42 in is 0.515 of 1.067 m.
    EXPECT_EQ(GasReachText({true, 20.2588, 42}, true, kMetric), "Gas reach 0.515 of 1.067 m, 48 %");
    EXPECT_EQ(GasReachText({true, 20.2588, 42}, true, kOilfield), "Gas reach 20.3 of 42 in, 48 %");
}

// Sizes in fractions of an inch are ties in millimetres (3/4 in is 19.05 mm), which the factor's
// binary rounding lands either side of: each rounds half up as on paper, and a value in the
// model's own unit rounds as it is.
TEST(Units, ConvertedTiesRoundAsOnPaper) {
    const struct {
        double model;
        Quantity quantity;
        const char* shown;
    } ties[] = {
        {0.75, Quantity::Diameter, "19.1"},   {1.75, Quantity::Diameter, "44.5"},
        {3.75, Quantity::Diameter, "95.3"},   {2.75, Quantity::Diameter, "69.9"},
        {2.5, Quantity::Length, "0.064"},     {0.75, Quantity::Velocity, "0.0191"},
        {1.75, Quantity::Velocity, "0.0445"}, {1.75, Quantity::Stroke, "0.0445"},
    };
    for (const auto& tie : ties) {
        SCOPED_TRACE(tie.model);
        EXPECT_EQ(FormatShown(tie.model, tie.quantity, kMetric), tie.shown);
        const double shown = ToShown(tie.model, tie.quantity, kMetric);
        EXPECT_EQ(FormatDecimals(TidyShown(shown, tie.quantity, kMetric), 4), tie.shown);
    }
    // Not converted: 2.0035 x 1000 is 2003.4999..., which stays below the tie, as it always has.
    EXPECT_EQ(FormatShown(2.0035, Quantity::Diameter, kOilfield), "2.003");
    EXPECT_EQ(FormatShown(2.0035, Quantity::PumpSpeed, kMetric), "2.003");
}

// A value typed in metric and kept shows again as typed, for every input and a spread of
// values: no drift on the way through the model's units.
TEST(Units, EveryInputRoundTripsAsTyped) {
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.quantity == Quantity::Switch) {
            continue;
        }
        SCOPED_TRACE(entry.name);
        const Unit& unit = entry.UnitIn(kMetric);
        const double step = std::pow(10.0, -unit.decimals);
        for (const double shown : {step, 0.1, 1.0, 3.3, 26.7, 88.9, 103.9, 1000.07}) {
            const std::string typed = FormatDecimals(shown, unit.decimals);
            const TypedValue value = ReadTyped(typed, entry, kMetric, false);
            ASSERT_TRUE(value.problem.empty()) << value.problem;
            EXPECT_EQ(FormatShown(value.model, entry.quantity, kMetric), typed);
            // And once more through the model, as a save and a load would take it.
            const double again =
                ReadTyped(FormatShown(value.model, entry.quantity, kMetric), entry, kMetric, false)
                    .model;
            EXPECT_EQ(again, value.model);
        }
    }
    // A metric size that is a whole oilfield one lands on it exactly, not a bit beside it (the
    // bare division made 76.2 mm 3.0000000000000004 in, written so in presets and cases).
    EXPECT_EQ(Typed("76.2", ParameterId::SeparatorOD).model, 3.0);
    EXPECT_EQ(Typed("1.778 m", ParameterId::DipTubeLength).model, 70.0);
    EXPECT_EQ(ToModel(0.1524, Quantity::Velocity, kMetric), 6.0);
    // So does every limit a card shows and allows: 0.3048 m/s was refused as above "at most
    // 0.3048 m/s", 152.4 mm as above "at most 152.4 mm".
    for (const ParameterEntry& entry : Parameters()) {
        const Limits& limits = entry.limits;
        for (const auto& [limit, allowed] : {std::pair(limits.low, limits.lowAllowed),
                                             std::pair(limits.high, limits.highAllowed)}) {
            for (const UnitSystem units : {kMetric, kOilfield}) {
                if (allowed && std::isfinite(limit) && entry.quantity != Quantity::Switch) {
                    const std::string card = FormatLimit(limit, entry.quantity, units);
                    EXPECT_TRUE(WithinOwnLimits(entry, Typed(card, entry.id, units).model))
                        << entry.name << " " << card;
                }
            }
        }
    }
}

TEST(Units, AUnitAfterTheNumberIsReadInThatUnit) {
    // 40 m³/d ÷ 0.158987294928 = 251.592 bbl/day, in either system.
    for (const UnitSystem units : {kMetric, kOilfield}) {
        for (const char* text : {"40 m3/d", "40 m³/d", "40m3/day", " 40 M3/D "}) {
            const TypedValue rate = Typed(text, ParameterId::ProductionRate, units);
            EXPECT_TRUE(rate.problem.empty()) << text << ": " << rate.problem;
            EXPECT_NEAR(rate.model, 40 / 0.158987294928, 1e-9) << text;
        }
        EXPECT_DOUBLE_EQ(Typed("3.5 in", ParameterId::SeparatorOD, units).model, 3.5);
        EXPECT_DOUBLE_EQ(Typed("88.9 mm", ParameterId::SeparatorOD, units).model, 3.5);
        EXPECT_DOUBLE_EQ(Typed("6 in/s", ParameterId::RiseVelocity, units).model, 6);
        EXPECT_NEAR(Typed("0.15 m/s", ParameterId::RiseVelocity, units).model, 5.905511811, 1e-9);
        EXPECT_DOUBLE_EQ(Typed("3 1/2\"", ParameterId::SeparatorOD, units).model, 3.5);
        EXPECT_DOUBLE_EQ(Typed("1.2 m", ParameterId::DipTubeLength, units).model, 1.2 / 0.0254);
    }
    // A bare number is in the system's unit.
    EXPECT_DOUBLE_EQ(Typed("88.9", ParameterId::SeparatorOD, kMetric).model, 3.5);
    EXPECT_DOUBLE_EQ(Typed("3.5", ParameterId::SeparatorOD, kOilfield).model, 3.5);
    // Rounded to the decimals of the unit typed: 88.94 mm is 88.9 mm.
    EXPECT_DOUBLE_EQ(Typed("88.94 mm", ParameterId::SeparatorOD, kOilfield).model, 3.5);
}

TEST(Units, AWrongOrUnknownUnitSaysWhatTheFieldTakes) {
    EXPECT_EQ(Typed("40 kg", ParameterId::ProductionRate).problem,
              "Production rate takes bbl/day or m\u00b3/day, not \u201ckg\u201d");
    EXPECT_EQ(Typed("3 m/s", ParameterId::SeparatorOD).problem,
              "Separator OD takes in or mm, not \u201cm/s\u201d");
    EXPECT_EQ(Typed("40 furlongs", ParameterId::ProductionRate, kOilfield).problem,
              "Production rate takes bbl/day or m\u00b3/day, not \u201cfurlongs\u201d");
    EXPECT_EQ(Typed("8 kg", ParameterId::SPM).problem, "Pump speed takes SPM, not \u201ckg\u201d");
    // A word glued to the number keeps the old rule: the number counts.
    const TypedValue glued = Typed("12abc", ParameterId::DipTubeLength, kOilfield);
    EXPECT_TRUE(glued.problem.empty());
    EXPECT_EQ(glued.model, 12);
    EXPECT_EQ(Typed("abc", ParameterId::DipTubeLength, kOilfield).model, 0);
}

// An East Asian input method's full-width mode types "４２"; a document copied from has the minus
// sign U+2212. Both were no number (0, "must be from 12 to 480").
TEST(Units, FullWidthFormsAreReadAsTheirAscii) {
    EXPECT_EQ(Typed("\uFF14\uFF12", ParameterId::DipTubeLength, kOilfield).model, 42);
    EXPECT_DOUBLE_EQ(
        Typed("\uFF18\uFF18\uFF0E\uFF19\u3000\uFF4D\uFF4D", ParameterId::SeparatorOD, kOilfield)
            .model,
        3.5); // "８８．９　ｍｍ"
    EXPECT_EQ(Typed("\u22123", ParameterId::SPM, kOilfield).model, -3);
    // Other letters of those blocks stay what they are: a unit no field takes.
    EXPECT_FALSE(Typed("42 \uFF5F", ParameterId::DipTubeLength, kOilfield).problem.empty());
}

// A number beyond a double's range was read as 0 and refused as "must be above 0".
TEST(Units, ANumberTooLargeToComputeWithSaysSo) {
    const std::string tooLarge = "The number is too large to compute with";
    EXPECT_EQ(Typed("1e400", ParameterId::ProductionRate, kOilfield).problem, tooLarge);
    EXPECT_EQ(Typed(std::string(400, '9'), ParameterId::SPM, kOilfield).problem, tooLarge);
    // Within range typed, beyond it in the model's unit: 1e308 m³ is 6.3e308 bbl.
    EXPECT_EQ(Typed("1e308", ParameterId::ProductionRate).problem, tooLarge);
    EXPECT_EQ(Typed("1e300", ParameterId::ProductionRate, kOilfield).model, 1e300);
}

TEST(Units, TheDecimalCommaOfTheUsersLocale) {
    // Under a comma locale "3,25" is 3.25 (a point still is one).
    EXPECT_DOUBLE_EQ(Typed("3,25", ParameterId::SeparatorOD, kOilfield, true).model, 3.25);
    EXPECT_DOUBLE_EQ(Typed("3.25", ParameterId::SeparatorOD, kOilfield, true).model, 3.25);
    EXPECT_NEAR(Typed("31,8 m3/d", ParameterId::ProductionRate, kOilfield, true).model,
                31.8 / 0.158987294928, 1e-9);
    // Under a point locale a comma inside the number is refused rather than read as 1: as a
    // thousands separator before three digits, else as a decimal comma.
    EXPECT_EQ(Typed("1,200", ParameterId::ProductionRate, kOilfield).problem,
              "Type the number without separators (1200, not 1,200)");
    for (const char* decimal : {"3,25", "0,5 in", "3,2500"}) {
        EXPECT_EQ(Typed(decimal, ParameterId::SeparatorOD, kOilfield).problem,
                  "Type the decimals after a point (3.25, not 3,25)")
            << decimal;
    }
    // A number grouped with points is refused, not read as its first group: 1.234,5 is no 1.234.
    EXPECT_EQ(Typed("1.234,5", ParameterId::ProductionRate, kOilfield, true).problem,
              "Type the number without separators (1234,5, not 1.234,5)");
    EXPECT_EQ(Typed("1.234.567", ParameterId::ProductionRate, kOilfield).problem,
              "Type the number without separators (1234.5, not 1,234.5)");
    EXPECT_TRUE(Typed("3.25.", ParameterId::SeparatorOD, kOilfield).problem.empty());
    // So is one grouped with blanks, also the no-break ones a spreadsheet pastes, which were
    // taken for a word glued to the 1; the example groups as the user did. A unit after such a
    // blank is still a unit.
    for (const char* grouped : {"1 234,5", "1\u00a0234,5", "1\u202f234,5"}) {
        EXPECT_EQ(Typed(grouped, ParameterId::ProductionRate, kOilfield, true).problem,
                  "Type the number without separators (1234,5, not 1 234,5)")
            << grouped;
    }
    EXPECT_EQ(Typed("1 234.5", ParameterId::ProductionRate, kOilfield).problem,
              "Type the number without separators (1234.5, not 1 234.5)");
    EXPECT_NEAR(Typed("31,8\u00a0m3/d", ParameterId::ProductionRate, kOilfield, true).model,
                31.8 / 0.158987294928, 1e-9);
    EXPECT_DOUBLE_EQ(Typed("3 1/2", ParameterId::SeparatorOD, kOilfield).model, 3.5);
}

// Qt makes the user's locale the C library's; under a Turkish one C's tolower leaves 'I' as it
// is, and "3.5 IN" was refused as no unit.
TEST(Units, UnitsInCapitalsAreReadUnderATurkishLocale) {
    const std::string path = TestLocalePath("tr_TR.UTF-8");
    if (path.empty()) {
        GTEST_SKIP() << "no Turkish locale: `localedef -i tr_TR -f UTF-8` failed";
    }
    setenv("LOCPATH", path.c_str(), 1);
    ASSERT_TRUE(std::setlocale(LC_ALL, "tr_TR.UTF-8"));
    const TypedValue inches = Typed("3.5 IN", ParameterId::SeparatorOD);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inches.problem, "");
    EXPECT_EQ(inches.model, 3.5);
}

// The defaults file keeps the user's unit system; an old file without it is oilfield, and a
// word that is neither is refused like any broken value.
TEST(Units, TheDefaultsFileKeepsTheUnitSystem) {
    const WellParameters p = ShippedDesign();
    const std::string text = FormatDefaultsText(p, "My design", kMetric);
    EXPECT_NE(text.find("\nUnits: metric\n"), std::string::npos) << text;
    WellParameters read;
    std::string name;
    UnitSystem units = kOilfield;
    ParseDefaultsText(text, read, name, &units);
    EXPECT_EQ(units, kMetric);
    EXPECT_EQ(read, p);
    std::string old = text.substr(0, text.find("Units:"));
    ParseDefaultsText(old, read, name, &units);
    EXPECT_EQ(units, kOilfield);
    EXPECT_THROW(ParseDefaultsText(old + "Units: imperial\n", read, name, &units),
                 SettingsFileError);
}

// Copy Design and the report take their rows from the sheet: in metric every figure and unit is
// the metric one, worked as above.
TEST(Units, TheDesignSheetInMetric) {
    DesignInput design{ShippedDesign(), "", "", {}, JudgeDesign(ShippedDesign()), kMetric};
    std::map<std::string, std::pair<std::string, std::string>> rows;
    for (const DesignSection& section : DescribeDesign(design)) {
        for (const DesignRow& row : section.rows) {
            rows[row.name] = {row.value, row.unit};
        }
    }
    using Cell = std::pair<std::string, std::string>;
    EXPECT_EQ(rows["Separator OD"], (Cell{"76.2", "mm"}));
    EXPECT_EQ(rows["Dip tube length"], (Cell{"1.067", "m"}));
    EXPECT_EQ(rows["Production rate"], (Cell{"31.8", "m\u00b3/day"}));
    EXPECT_EQ(rows["Gas bubble rise velocity"], (Cell{"0.1524", "m/s"}));
    EXPECT_EQ(rows["Maximum capacity"], (Cell{"38.47", "m\u00b3/day"}));
    EXPECT_EQ(rows["Recommended dip tube length"], (Cell{"0.705", "m"}));
    EXPECT_EQ(rows["Gas limit production rate"], (Cell{"38.47", "m\u00b3/day"}));
    EXPECT_EQ(rows["Rate source"], (Cell{"typed", ""}));
}

// Gas just short of the inlet never reads as the whole dip tube, in either system.
TEST(Units, TheGasReachIsRoundedDownNextToTheInlet) {
    EXPECT_EQ((GasReach{true, 41.96, 42}.DepthText()), "41.9"); // 42.0 would be the inlet
    EXPECT_EQ((GasReach{true, 20.26, 42}.DepthText()), "20.3"); // elsewhere to the nearest
    // 41.99 in is 1.06655 m: to the nearest millimetre that is the tube's 1.067 m.
    EXPECT_EQ((GasReach{true, 41.99, 42}.DepthText(kMetric)), "1.066");
    EXPECT_EQ((GasReach{true, 42, 42}.DepthText(kMetric)), "1.067");
}
