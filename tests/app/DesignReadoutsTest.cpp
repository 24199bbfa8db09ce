// The gas reach per pump cycle, the above-capacity notice and the copied design's rows.

#include "app/model/DesignReadouts.h"
#include "app/model/DesignSheet.h"
#include "app/model/SimulationStep.h"
#include "tests/app/ShippedDesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
// The shipped design with the pump running.
WellParameters RunningDesign(double rate = 200) {
    WellParameters p = ShippedDesign(rate);
    p.SetPumpRunning(true);
    return p;
}

const DesignSection& Section(const std::vector<DesignSection>& sections, const char* heading) {
    return *std::find_if(sections.begin(), sections.end(),
                         [&](const DesignSection& s) { return s.heading == heading; });
}
} // namespace

// Each cycle's deepest point is found independently from the depths stepped through, cycle by
// cycle, and must be what the state reports once that cycle is over, and only then.
TEST(GasReachTest, TheLastCompleteCycleReportsItsDeepestPenetration) {
    const WellParameters p = RunningDesign(235);
    SimulationState s;
    double deepest = 0;
    double lastCycle = -1;
    long cycles = 0;
    for (int i = 0; i < 60 * 40; ++i) {
        const long before = static_cast<long>(std::floor(s.crankAngle / kTwoPi));
        StepSimulation(p, 1.0 / 60, s);
        if (static_cast<long>(std::floor(s.crankAngle / kTwoPi)) != before) {
            lastCycle = deepest;
            deepest = s.gasPenetrationDepth;
            ++cycles;
        } else {
            deepest = std::max(deepest, s.gasPenetrationDepth);
        }
        ASSERT_EQ(s.completedCycles, cycles) << "step " << i;
        if (cycles > 0) {
            ASSERT_EQ(s.lastCycleDeepestPenetration, lastCycle) << "step " << i;
        }
    }
    EXPECT_EQ(cycles, 5);       // 40 s at 7.5 s per cycle
    EXPECT_GT(lastCycle, 20.3); // below capacity the gas still gains a little every cycle
    EXPECT_LT(lastCycle, 42);
}

TEST(GasReachTest, TextsAtTheShippedDesignBeforeACycleAndWhenResultsDoNotApply) {
    const WellParameters p = RunningDesign();
    SimulationState s;
    EXPECT_EQ(GasReachText(GasReachOf(p, s), true), "Gas reach \u2014 of 42 in");
    EXPECT_EQ(GasReachOf(p, s).Fraction(), 0);
    for (int i = 0; i < 60 * 16; ++i) {
        StepSimulation(p, 1.0 / 60, s);
    }
    const GasReach reach = GasReachOf(p, s);
    EXPECT_NEAR(reach.depth, 20.3, 0.05);
    EXPECT_EQ(GasReachText(reach, true), "Gas reach 20.3 of 42 in, 48 %");
    EXPECT_EQ(GasReachText(reach, false), "Gas reach \u2014");
    EXPECT_EQ(GasReachText({true, 42, 42}, true), "Gas reach 42 of 42 in, 100 %");
    EXPECT_EQ((GasReach{true, 5, 0}).Fraction(), 0); // no length, no share
}

namespace {
std::optional<std::string> Notice(const WellParameters& p, bool arrived = false) {
    return AboveCapacityText(p, JudgeDesign(p), arrived);
}
} // namespace

TEST(AboveCapacityTest, ShownAboveTheCapacityWithTheModelsTimeToTheInlet) {
    EXPECT_EQ(MaximumCapacityOf(RunningDesign()), 242);
    EXPECT_FALSE(Notice(RunningDesign(200)));
    EXPECT_FALSE(Notice(RunningDesign(242))); // at the capacity is not above it
    // 70.4333 s, as the design calculator reports for 250 bbl/day.
    EXPECT_EQ(Notice(RunningDesign(250)).value_or(""),
              "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    // Once the gas has got there, the notice says so.
    EXPECT_EQ(Notice(RunningDesign(250), true).value_or(""),
              "Above capacity: gas reached the dip tube inlet after about 1 min 10 s");
    WellParameters outOfRange = RunningDesign(250);
    outOfRange.SetSPM(31);
    EXPECT_FALSE(Notice(outOfRange)); // the results do not apply
    WellParameters noAnnulus = RunningDesign(250);
    noAnnulus.SetDipTubeOD(2.75); // inconsistent, still computed: nothing separates
    EXPECT_EQ(Notice(noAnnulus).value_or(""),
              "Above capacity: gas reaches the dip tube inlet in under a second");
}

TEST(DesignSheetTest, TabSeparatedRowsOfInputsResultsReachAndWarnings) {
    DesignInput design{RunningDesign(250), "My\tSep\n2", "4.5\" 9.5 lbs/ft (ID 4.09\")", {}, {}};
    design.parameters.SetDipTubeOD(2.75); // not below the separator ID: no annulus, still computed
    design.verdict = JudgeDesign(design.parameters);
    design.state.completedCycles = 3;
    design.state.lastCycleDeepestPenetration = 20.26;
    const std::string text = DesignAsTabSeparatedText(DescribeDesign(design));
    EXPECT_EQ(text.rfind("Name\tValue\tUnit\nVerdict\t", 0), 0u) << text; // the verdict first
    EXPECT_NE(text.find("Separator preset\tMy Sep 2\t\nCasing\t4.5\" 9.5 lbs/ft (ID 4.09\")\t\n"
                        "Casing size\t4.09\tin\nSeparator OD\t3\tin\nSeparator ID\t2.75\tin\n"),
              std::string::npos)
        << text;
    for (const char* row :
         {"Dip tube length\t42\tin\n", "Gas bubble rise velocity\t6\tin/s\n",
          "Production rate\t250\tbbl/day\n", "Pump speed\t8\tSPM\n",
          "Recommended dip tube length\t27.75\tin\n", "Gas reach, last pump cycle\t20.3\tin\n",
          "Gas reach, share of dip tube\t48\t%\n",
          "Warning\tDip tube OD (2.75 in) must be less than separator ID (2.75 in)\t\n",
          "Verdict\tDoes not apply: the diameters contradict each other\t\n",
          "Verdict cause\tnone\t\n", "Capacity margin\t-100\t%\n",
          "Time to dip tube inlet\tunder a second\t\n", "Maximum capacity\t0\tbbl/day\n"}) {
        EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
    }
    EXPECT_NE(text.find("Maximum capacity\t"), std::string::npos);
    EXPECT_EQ(text.find("Gas reaches the dip tube inlet"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'),
              2 * std::count(text.begin(), text.end(), '\n'));
}

TEST(DesignSheetTest, BrokenRangeRuleBlanksResultsAndReach) {
    DesignInput design{RunningDesign(), "", "", {}, {}};
    design.parameters.SetCasingSize(2.5); // the separator no longer fits the casing
    design.verdict = JudgeDesign(design.parameters);
    const auto sections = DescribeDesign(design);
    EXPECT_EQ(Section(sections, "Inputs").rows[0].value, "(User Defined)");
    EXPECT_EQ(Section(sections, "Verdict").rows[0].value,
              "Does not apply: a value is out of range");
    for (const char* heading : {"Results", "Gas reach"}) {
        for (const DesignRow& row : Section(sections, heading).rows) {
            EXPECT_EQ(row.value, "\u2014") << row.name;
        }
    }
    EXPECT_FALSE(Section(sections, "Warnings").rows.empty());
    DesignInput fine{RunningDesign(), "", "", {}, JudgeDesign(RunningDesign())};
    EXPECT_TRUE(Section(DescribeDesign(fine), "Warnings").rows.empty());
}

// A preset name a spreadsheet would run as a formula is pasted as text; numbers stay numbers.
TEST(DesignSheetTest, TextThatLooksLikeAFormulaIsKeptAsText) {
    for (const auto& [name, cell] : std::vector<std::pair<std::string, std::string>>{
             {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
             {"+1+2", "'+1+2"},
             {"-rm", "'-rm"},
             {"@SUM(A1)", "'@SUM(A1)"},
             {"Plain = fine", "Plain = fine"}}) {
        const DesignInput design{RunningDesign(), name, "", {}, {}};
        const std::string text = DesignAsTabSeparatedText(DescribeDesign(design));
        EXPECT_NE(text.find("\nSeparator preset\t" + cell + "\t\n"), std::string::npos) << text;
    }
    DesignInput negative{RunningDesign(), "", "", {}, {}};
    negative.verdict.kind = VerdictKind::Works;
    negative.verdict.capacityMargin = -3;
    EXPECT_NE(DesignAsTabSeparatedText(DescribeDesign(negative)).find("\nCapacity margin\t-3\t%\n"),
              std::string::npos);

    // Under a decimal-comma locale the figures paste as its spreadsheets read numbers; a name
    // that looks like a number stays as it was named.
    const std::string comma =
        DesignAsTabSeparatedText(DescribeDesign({RunningDesign(), "3.5", "", {}, {}}), true);
    EXPECT_NE(comma.find("\nDip tube OD\t1,35\tin\n"), std::string::npos) << comma;
    EXPECT_NE(comma.find("\nSeparator preset\t3.5\t\n"), std::string::npos) << comma;
    EXPECT_EQ(comma.find("1.35"), std::string::npos) << comma;
    negative.verdict.capacityMargin = -3.5; // a number with either mark, not a guarded text
    EXPECT_NE(DesignAsTabSeparatedText(DescribeDesign(negative), true)
                  .find("\nCapacity margin\t-3,5\t%\n"),
              std::string::npos);
}
