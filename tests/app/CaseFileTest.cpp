// Case files: every input and particular comes back exactly, a broken or hostile file is refused
// with its line and key, an older case without a later input still opens; and the undo history
// of designs.

#include "app/model/CaseFile.h"
#include "app/model/DefaultsFile.h"
#include "app/model/DesignHistory.h"
#include "app/model/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {
// A value within the input's own range with as many digits as a double has.
double AwkwardValue(const ParameterEntry& entry) {
    if (entry.quantity == Quantity::Switch) {
        return 1;
    }
    const Limits& limits = entry.limits;
    return std::isinf(limits.high) ? limits.low + 123.45678901234567
                                   : limits.low + (limits.high - limits.low) * 0.37139067635410372;
}

CaseDesign AwkwardDesign() {
    CaseDesign design;
    for (const ParameterEntry& entry : Parameters()) {
        entry.Set(design.parameters, AwkwardValue(entry));
    }
    design.presetName = "Sep: \"2 7/8\" #1";
    design.units = UnitSystem::Metric;
    design.details = {"  Well 7: north ", "true", "12",
                      "Line one\nline \"two\"\ttabbed\n\n\u00e9\u2014 end\n"};
    return design;
}

// The line (from 1) of the text on which `key` starts a line.
int LineOf(const std::string& text, const std::string& key) {
    int line = 1;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1, ++line) {
        if (text.compare(at, key.size() + 1, key + ":") == 0) {
            return line;
        }
        if (text.find('\n', at) == std::string::npos) {
            break;
        }
    }
    return 0;
}

// The case's text with the value of `key` replaced.
std::string WithValue(std::string text, const std::string& key, const std::string& value) {
    const size_t at = text.find("\n" + key + ":") + 1;
    const size_t end = text.find('\n', at);
    return text.replace(at, end - at, key + ": " + value);
}

std::string Refusal(const std::string& text) {
    try {
        ParseCaseText(text, WellParameters());
    } catch (const SettingsFileError& error) {
        return error.what();
    }
    return "(opened)";
}
} // namespace

TEST(CaseFileTest, EveryInputAndParticularComesBackExactly) {
    const CaseDesign design = AwkwardDesign();
    const std::string text = FormatCaseText(design);
    EXPECT_EQ(text.rfind("Case Version: 1\n", 0), 0u) << text;
    // The unit system once, before the inputs: a key twice is not YAML to stricter readers.
    EXPECT_EQ(LineOf(text, "Units"), LineOf(text, "Casing Size") - 1) << text;
    EXPECT_EQ(text.find("Units:"), text.rfind("Units:")) << text;
    EXPECT_NE(text.find("\nUnits: metric\n"), std::string::npos) << text;
    const CaseDesign read = ParseCaseText(text, WellParameters());
    for (const ParameterEntry& entry : Parameters()) {
        EXPECT_EQ(entry.Get(read.parameters), entry.Get(design.parameters)) << entry.storedKey;
    }
    EXPECT_EQ(read.presetName, design.presetName);
    EXPECT_EQ(read.units, UnitSystem::Metric);
    EXPECT_EQ(read.details, design.details);
    EXPECT_TRUE(read.SameAs(design));
    EXPECT_EQ(FormatCaseText(read), text); // and writes the same text again

    CaseDesign oilfield = design;
    oilfield.units = UnitSystem::Oilfield;
    oilfield.details = {};
    EXPECT_TRUE(ParseCaseText(FormatCaseText(oilfield), WellParameters()).SameAs(oilfield));
}

// A case is read up to 1 MiB, so none larger is written: it could not be opened again.
TEST(CaseFileTest, ACaseTooLargeToOpenAgainIsNotWritten) {
    CaseDesign design = AwkwardDesign();
    design.details.notes = std::string(kMaxCaseFileBytes / 2, '"'); // each escaped: twice over
    EXPECT_THROW(FormatCaseText(design), SettingsFileError);
    design.details.notes.resize(kMaxCaseFileBytes / 4);
    const std::string text = FormatCaseText(design);
    EXPECT_LE(text.size(), kMaxCaseFileBytes);
    EXPECT_EQ(ParseCaseText(text, WellParameters()).details.notes, design.details.notes);
}

TEST(CaseFileTest, ABrokenOrHostileCaseIsRefusedWithItsLineAndKey) {
    const std::string text = FormatCaseText(AwkwardDesign());
    const std::string spm = std::to_string(LineOf(text, "SPM"));
    const std::string units = std::to_string(LineOf(text, "Units"));
    const std::string casing = std::to_string(LineOf(text, "Casing Size"));
    const struct {
        std::string text;
        std::string says;
    } cases[] = {
        {WithValue(text, "SPM", "1e308"), "\"SPM\" (line " + spm + "): 1e+308 is out of its range"},
        {WithValue(text, "SPM", "-8"), "\"SPM\" (line " + spm + "): -8 is out of its range"},
        {WithValue(text, "SPM", ".nan"), "\"SPM\" (line " + spm + "): '.nan' is not a finite"},
        {WithValue(text, "SPM", ".inf"), "\"SPM\" (line " + spm + ")"},
        {WithValue(text, "SPM", "eight"), "\"SPM\" (line " + spm + "): not a number"},
        {WithValue(text, "SPM", "[8, 9]"), "\"SPM\" (line " + spm + ")"},
        {WithValue(text, "Dip Tube Length", "5"), "\"Dip Tube Length\" (line "},
        {WithValue(text, "Units", "imperial"), "\"Units\" (line " + units + "): 'imperial'"},
        {WithValue(text, "Case Version", "2"), "\"Case Version\" (line 1): version 2 comes from"},
        {WithValue(text, "Case Version", "0.5"), "\"Case Version\" (line 1)"},
        {WithValue(text, "Notes", "{a: 1}"), "\"Notes\" (line "},
        {text.substr(text.find('\n') + 1), "missing key \"Case Version\""},
        // An empty value is marked where the next line starts; the message names the key's.
        {WithValue(text, "Casing Size", "") + "\n", "\"Casing Size\" (line " + casing + "): "},
        {WithValue(text, "SPM", ""), "\"SPM\" (line " + spm + "): not a number"},
        {"Case Version: 1\nUnits: oilfield\n", "missing key"},
        // A corrected line added at the end would silently lose to the first.
        {text + "SPM: 12\n", "\"SPM\" is given twice (lines " + spm + " and "},
        {"- a list\n- of things\n", "not a map"},
        {"Case Version: [1\n", "not valid YAML"},
        {"", "not a map"},
    };
    for (const auto& broken : cases) {
        EXPECT_NE(Refusal(broken.text).find(broken.says), std::string::npos)
            << Refusal(broken.text) << "\n--- wanted: " << broken.says << "\n"
            << broken.text;
    }
}

TEST(CaseFileTest, AnOlderCaseWithoutALaterInputTakesTheShippedValue) {
    const CaseDesign design = AwkwardDesign();
    std::string text = FormatCaseText(design);
    // The pump's and the fluids' inputs came later: a case written before them lacks the keys.
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.optionalInFiles) {
            const size_t at = text.find(std::string("\n") + entry.storedKey + ":");
            ASSERT_NE(at, std::string::npos) << entry.storedKey;
            text.erase(at + 1, text.find('\n', at + 1) - at);
        }
    }
    WellParameters shipped;
    shipped.SetPlungerDiameter(2.25);
    shipped.SetLiquidDensity(1000);
    const CaseDesign read = ParseCaseText(text, shipped);
    EXPECT_EQ(read.parameters.GetPlungerDiameter(), 2.25);
    EXPECT_EQ(read.parameters.GetLiquidDensity(), 1000);
    EXPECT_EQ(read.parameters.GetDipTubeLength(), design.parameters.GetDipTubeLength());
    EXPECT_EQ(read.details, design.details);
    // Particulars are optional too: a case without them has them empty.
    const CaseDesign bare = ParseCaseText(
        text.substr(0, text.find("Well Name")) + text.substr(text.find("Units:")), shipped);
    EXPECT_EQ(bare.details, CaseDetails{});
}

// Cases saved by an earlier version repeat the unit system after the inputs, always as
// oilfield: the first, the case's own, is the one that counts.
TEST(CaseFileTest, ACaseWithTheUnitSystemRepeatedOpensInItsOwn) {
    const CaseDesign design = AwkwardDesign();
    const CaseDesign read =
        ParseCaseText(FormatCaseText(design) + "Units: oilfield\n", WellParameters());
    EXPECT_EQ(read.units, UnitSystem::Metric);
    EXPECT_TRUE(read.SameAs(design));
}

namespace {
CaseDesign WithSpm(double spm) {
    CaseDesign design;
    design.parameters.SetSPM(spm);
    return design;
}
} // namespace

TEST(DesignHistoryTest, UndoAndRedoWalkTheStepsBackAndForth) {
    CDesignHistory history;
    history.Reset(WithSpm(1));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Record(WithSpm(1))); // no change, no step
    EXPECT_TRUE(history.Record(WithSpm(2)));
    EXPECT_TRUE(history.Record(WithSpm(3)));
    // A change not recorded yet (an edit under way) is a step of its own.
    auto undone = history.Undo(WithSpm(4));
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->parameters.GetSPM(), 3);
    EXPECT_EQ(history.Undo(*undone)->parameters.GetSPM(), 2);
    EXPECT_EQ(history.Undo(WithSpm(2))->parameters.GetSPM(), 1);
    EXPECT_FALSE(history.Undo(WithSpm(1)));
    EXPECT_TRUE(history.CanRedo());
    EXPECT_EQ(history.Redo(WithSpm(1))->parameters.GetSPM(), 2);
    EXPECT_EQ(history.Redo(WithSpm(2))->parameters.GetSPM(), 3);
    // A new step after an undo: nothing left to redo.
    history.Undo(WithSpm(3));
    EXPECT_FALSE(history.Redo(WithSpm(7)));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(WithSpm(7))->parameters.GetSPM(), 2);
}

TEST(CaseFileTest, AWellsNameGivesAPlainFileName) {
    EXPECT_EQ(WellFileStem("Well 7", "Untitled"), "Well 7");
    EXPECT_EQ(WellFileStem("  Smith & Sons / R&D-7 ", "Untitled"), "Smith Sons RD-7");
    EXPECT_EQ(WellFileStem("../../etc", "Untitled"), "etc");
    EXPECT_EQ(WellFileStem(" & ", "Untitled"), "Untitled");
    EXPECT_EQ(WellFileStem(std::string(300, 'w'), "").size(), 100u);
    // Letters of every script are kept, as the well is named: a Russian well was "7".
    EXPECT_EQ(WellFileStem("Скважина 7", ""), "Скважина 7");
    EXPECT_EQ(WellFileStem("Bohrung Müller\u00a0№ 3 «Nord» \u2013 B", ""),
              "Bohrung Müller № 3 Nord B");
    // The limit never cuts a character in two; a stray byte that is no character is left out.
    std::string wells = "ww";
    for (int i = 0; i < 40; ++i) {
        wells += "\u4e95"; // a well, in Chinese: 3 bytes
    }
    EXPECT_EQ(WellFileStem(wells, "").size(), 98u);
    EXPECT_EQ(WellFileStem("A\xff\xc3"
                           "B",
                           ""),
              "AB");
}

// The unit system is how a design is shown: a switch is no step, and a step undone in the
// other system is undone all the same.
TEST(DesignHistoryTest, TheUnitSystemIsNoStep) {
    CDesignHistory history;
    history.Reset(WithSpm(1));
    CaseDesign metric = WithSpm(1);
    metric.units = UnitSystem::Metric;
    EXPECT_FALSE(history.Record(metric));
    EXPECT_TRUE(history.IsCurrent(metric));
    metric.parameters.SetSPM(2);
    EXPECT_TRUE(history.Record(metric));
    metric.parameters.SetSPM(3); // an edit under way, in metric
    EXPECT_EQ(history.Undo(metric)->parameters.GetSPM(), 2);
    EXPECT_EQ(history.Undo(WithSpm(2))->parameters.GetSPM(), 1);
    EXPECT_FALSE(history.CanUndo());
}

TEST(DesignHistoryTest, TheOldestStepsGoBeyondTheBound) {
    CDesignHistory history;
    history.Reset(WithSpm(0));
    const int steps = static_cast<int>(CDesignHistory::kSteps) + 50;
    for (int i = 1; i <= steps; ++i) {
        history.Record(WithSpm(i));
    }
    CaseDesign now = WithSpm(steps);
    int undone = 0;
    while (const auto design = history.Undo(now)) {
        now = *design;
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(CDesignHistory::kSteps));
    EXPECT_EQ(now.parameters.GetSPM(), steps - static_cast<int>(CDesignHistory::kSteps));
}
