// The panel in metric: every box, caption and card in the chosen units, values typed with a unit
// or a decimal comma, and no value in use drifting on the way.

#include "app/services/EventRegistry.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/ParameterTable.h"
#include "app/platform/Platform.h"
#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {
class UnitsControllerTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }
    void TearDown() override { Platform().decimalComma = false; }

    CTextEditView& Field(ParameterId id) {
        auto* field = gWindowManager->FindViewAs<CTextEditView>(ParameterOf(id).field);
        EXPECT_NE(field, nullptr);
        return *field;
    }
    CWarningView& Card(ParameterId id) {
        auto* card = gWindowManager->FindViewAs<CWarningView>(ParameterOf(id).rangeWarning);
        EXPECT_NE(card, nullptr);
        return *card;
    }
    void Type(ParameterId id, const std::string& text) {
        Field(id).SetText(text);
        RaiseEvent(LoseFocusEvent(ParameterOf(id).field));
    }
    const WellParameters& Model() { return TheModel().GetParameters(); }

    CRecordingShell shell;
};
} // namespace

TEST_F(UnitsControllerTest, MetricShowsEveryBoxInItsUnitAndChangesNoValue) {
    const WellParameters before = Model();
    RaiseEvent(EventName::kMetricUnitsChosen);
    EXPECT_EQ(TheModel().GetUnitSystem(), UnitSystem::Metric);
    for (const ParameterEntry& entry : Parameters()) {
        if (!entry.IsTyped()) {
            continue;
        }
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(Field(entry.id).GetText(),
                  FormatShown(entry.Get(before), entry.quantity, UnitSystem::Metric));
        EXPECT_NE(Field(entry.id).CaptionDetail().find(entry.UnitIn(UnitSystem::Metric).symbol),
                  std::string::npos);
        EXPECT_EQ(Card(entry.id).Text(), RangeWarningText(entry, UnitSystem::Metric));
    }
    EXPECT_EQ(Field(ParameterId::SeparatorID).GetText(), "69.9"); // 2.75 in
    // The results too: 242 bbl/day is 38.47 m³/day.
    EXPECT_EQ(gWindowManager->FindViewAs<CLabelView>(ViewName::kGasLimit)->DisplayText(),
              "Gas limit 38.47 m\u00b3/day");
    EXPECT_EQ(Field(ParameterId::DipTubeLength).GetText(), "1.067"); // 42 in
    // Typing one value leaves the others exactly as they were (69.9 mm is not 2.75 in).
    Type(ParameterId::SPM, "9");
    WellParameters expected = before;
    expected.SetSPM(9);
    EXPECT_EQ(Model(), expected);
    // Back in oilfield units the boxes read as before.
    RaiseEvent(EventName::kOilfieldUnitsChosen);
    EXPECT_EQ(Field(ParameterId::SeparatorID).GetText(), "2.75");
    EXPECT_EQ(Model(), expected);
}

TEST_F(UnitsControllerTest, AUnitTypedAfterTheNumberIsUsedAndKeptExactly) {
    Type(ParameterId::ProductionRate, "40 m3/d"); // 40 ÷ 0.158987294928 = 251.592 bbl/day
    EXPECT_NEAR(Model().GetProductionRate(), 251.592, 1e-3);
    EXPECT_EQ(Field(ParameterId::ProductionRate).GetText(), "251.592");
    RaiseEvent(EventName::kMetricUnitsChosen);
    Type(ParameterId::ProductionRate, "200 bbl/day");
    EXPECT_EQ(Field(ParameterId::ProductionRate).GetText(), "31.8"); // tidied to m³/day
    EXPECT_EQ(Model().GetProductionRate(), 200); // not the 200.016 that 31.8 m³/day is
    Type(ParameterId::SeparatorOD, "3 in");
    EXPECT_EQ(Model().GetSeparatorOD(), 3);
    EXPECT_EQ(Field(ParameterId::SeparatorOD).GetText(), "76.2");
}

TEST_F(UnitsControllerTest, AWrongUnitOrASeparatorIsRefusedWithWhatTheFieldTakes) {
    Type(ParameterId::ProductionRate, "40 kg");
    EXPECT_FALSE(Field(ParameterId::ProductionRate).IsValid());
    EXPECT_TRUE(Card(ParameterId::ProductionRate).IsVisible());
    EXPECT_EQ(Card(ParameterId::ProductionRate).Title(), "Production rate not understood");
    EXPECT_EQ(Card(ParameterId::ProductionRate).Text(),
              "Production rate takes bbl/day or m\u00b3/day, not \u201ckg\u201d.");
    EXPECT_EQ(Model().GetProductionRate(), 200);
    Type(ParameterId::ProductionRate, "1,200");
    EXPECT_FALSE(Field(ParameterId::ProductionRate).IsValid());
    EXPECT_EQ(Model().GetProductionRate(), 200); // not 1
    Type(ParameterId::ProductionRate, "210");
    EXPECT_TRUE(Field(ParameterId::ProductionRate).IsValid());
    EXPECT_FALSE(Card(ParameterId::ProductionRate).IsVisible());
    EXPECT_EQ(Card(ParameterId::ProductionRate).Title(), "Production rate out of range");
}

TEST_F(UnitsControllerTest, UnderACommaLocaleTheCommaIsTheDecimalPoint) {
    Platform().decimalComma = true;
    Type(ParameterId::SeparatorOD, "3,25");
    EXPECT_EQ(Model().GetSeparatorOD(), 3.25);
    EXPECT_EQ(Field(ParameterId::SeparatorOD).GetText(), "3.25");
}
