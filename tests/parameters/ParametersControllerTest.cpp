// The parameters controller in the running program: typed values, the input rules with their
// marks and warnings, presets, tidying, results and the preset list.

#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/NumberFormat.h"
#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {
class ParametersTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }

    CTextEditView& Field(const std::string& name) {
        auto* field = gWindowManager->FindViewAs<CTextEditView>(name);
        EXPECT_NE(field, nullptr) << name;
        return *field;
    }
    CComboBoxView& List(const std::string& name) {
        auto* list = gWindowManager->FindViewAs<CComboBoxView>(name);
        EXPECT_NE(list, nullptr) << name;
        return *list;
    }
    bool WarningShown(const std::string& name) {
        auto* warning = gWindowManager->FindViewAs<CWarningView>(name);
        EXPECT_NE(warning, nullptr) << name;
        return warning && warning->IsVisible();
    }
    // What a user's typing amounts to: the field's text changes and raises its event.
    void Type(const std::string& field, const std::string& text) { Field(field).SetText(text); }
    void PickPreset(const std::string& text) {
        List("Separator Preset").SelectByText(text);
        RaiseEvent("Separator Preset Changed");
    }
    const WellParameters& Model() { return gGasSeparatorModel->GetParameters(); }

    CRecordingShell shell;
};
} // namespace

TEST_F(ParametersTest, StartShowsTheShippedDefaultsFormattedAndValid) {
    EXPECT_EQ(Field("Separator OD").GetText(), "3");
    EXPECT_EQ(Field("Dip Tube ID").GetText(), "1.05");
    EXPECT_EQ(Field("SPM").GetText(), "8");
    EXPECT_EQ(List("Casing Size").GetSelectedText(), "4.5\" 9.5 lbs/ft (ID 4.09\")");
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "(User Defined)");
    EXPECT_EQ(Field("Max Capacity").GetText(), "0");
    RunPass();
    EXPECT_EQ(Field("Max Capacity").GetText(), "242");
    auto* label = gWindowManager->FindViewAs<CLabelView>("Recommended Dip Tube Length");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->DisplayText(), "27.75 in");
}

TEST_F(ParametersTest, PumpSpeedBoundsRoundToThreeDecimals) {
    Type("SPM", "0");
    EXPECT_FALSE(Field("SPM").IsValid());
    EXPECT_TRUE(WarningShown("SPM Range Warning View"));
    EXPECT_EQ(Model().GetSPM(), 8); // the previous value reached the model
    Type("SPM", "30");
    EXPECT_TRUE(Field("SPM").IsValid());
    EXPECT_FALSE(WarningShown("SPM Range Warning View"));
    EXPECT_EQ(Model().GetSPM(), 30);
    Type("SPM", "30.0004");
    EXPECT_TRUE(Field("SPM").IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    Type("SPM", "30.001");
    EXPECT_FALSE(Field("SPM").IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    EXPECT_EQ(Field("SPM").GetText(), "30.001"); // the typed text stays for the user to fix
}

TEST_F(ParametersTest, LengthAndVelocityLimitsAreInclusive) {
    for (const auto& [text, accepted] : std::vector<std::pair<std::string, bool>>{
             {"12", true}, {"480", true}, {"11.999", false}, {"480.001", false}}) {
        Type("Dip Tube Length", text);
        EXPECT_EQ(Field("Dip Tube Length").IsValid(), accepted) << text;
        EXPECT_EQ(WarningShown("Dip Tube Length Warning View"), !accepted) << text;
    }
    EXPECT_EQ(Model().GetDipTubeLength(), 480);
    Type("Gas Bubble Rise Velocity", "12");
    EXPECT_TRUE(Field("Gas Bubble Rise Velocity").IsValid());
    Type("Gas Bubble Rise Velocity", "12.001");
    EXPECT_FALSE(Field("Gas Bubble Rise Velocity").IsValid());
    EXPECT_TRUE(WarningShown("Gas Bubble Velocity Range Warning View"));
    EXPECT_EQ(Model().GetGasBubbleRiseVelocity(), 12);
}

TEST_F(ParametersTest, InconsistentDiametersPassOnMarked) {
    Type("Separator ID", "3"); // equal to the outside diameter
    EXPECT_TRUE(WarningShown("Separator Diameter Warning View"));
    EXPECT_FALSE(WarningShown("Separator ID Range Warning View"));
    EXPECT_FALSE(Field("Separator OD").IsValid());
    EXPECT_FALSE(Field("Separator ID").IsValid());
    EXPECT_EQ(Model().GetSeparatorID(), 3);

    Type("Separator ID", "2.5"); // corrected: marks and warning go
    EXPECT_FALSE(WarningShown("Separator Diameter Warning View"));
    EXPECT_TRUE(Field("Separator ID").IsValid());

    Type("Dip Tube OD", "2.5"); // not inside the separator: also marks the separator ID
    EXPECT_TRUE(WarningShown("Separator Inner Diameter Warning View"));
    EXPECT_FALSE(Field("Dip Tube OD").IsValid());
    EXPECT_FALSE(Field("Separator ID").IsValid());
    EXPECT_EQ(Model().GetDipTubeOD(), 2.5);
}

TEST_F(ParametersTest, RangeFailuresRestoreTheModelValueButLaterRulesSeeTheTypedOnes) {
    Type("Separator OD", "5"); // beyond the 4.09 casing: restored to 3
    EXPECT_FALSE(Field("Separator OD").IsValid());
    EXPECT_TRUE(WarningShown("Separator OD Range Warning View"));
    EXPECT_EQ(Model().GetSeparatorOD(), 3);
    // The wall rule compared the typed 5, not the restored 3: no wall warning.
    EXPECT_FALSE(WarningShown("Separator Diameter Warning View"));
}

TEST_F(ParametersTest, TypedDimensionsClearThePresetButPumpSpeedDoesNot) {
    PickPreset("2-3/8 Collar Size Gas Separator");
    ASSERT_EQ(gGasSeparatorModel->GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type("SPM", "10");
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "2-3/8 Collar Size Gas Separator");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type("Separator OD", "3.1");
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "(User Defined)");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "");
}

TEST_F(ParametersTest, APresetFillsAllFiveFieldsAndStaysSelected) {
    const auto* preset = dynamic_cast<const TSeparatorPreset*>(List("Separator Preset").Items()[1]);
    ASSERT_NE(preset, nullptr);
    PickPreset(preset->displayName);
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), preset->displayName);
    EXPECT_EQ(Model().GetSeparatorOD(), preset->separatorOd);
    EXPECT_EQ(Model().GetDipTubeLength(), preset->dipTubeLength);
    EXPECT_EQ(Field("Separator ID").GetText(), FormatNumber(preset->separatorId));
    EXPECT_EQ(Field("Dip Tube OD").GetText(), FormatNumber(preset->dipTubeOd));
    EXPECT_EQ(Field("Dip Tube ID").GetText(), FormatNumber(preset->dipTubeId));
}

TEST_F(ParametersTest, LeavingAFieldTidiesValidTextOnly) {
    Type("Dip Tube ID", "1.0500");
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field("Dip Tube ID").GetText(), "1.05");
    Type("Dip Tube ID", "12abc"); // beyond the casing: invalid, left as typed
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field("Dip Tube ID").GetText(), "12abc");
    Type("Dip Tube Length", "  42.0004 ");
    RaiseEvent("Dip Tube Length Lose Focus");
    EXPECT_EQ(Field("Dip Tube Length").GetText(), "42");
}

TEST_F(ParametersTest, ACasingSizeWithoutAPresetSelectsNoRow) {
    WellParameters p = Model();
    p.SetCasingSize(5.5);
    gGasSeparatorModel->SetParameters(p);
    EXPECT_EQ(List("Casing Size").GetSelectedText(), "");
    p.SetCasingSize(4); // two presets share 4 in: the first in list order is chosen
    gGasSeparatorModel->SetParameters(p);
    const std::string selected = List("Casing Size").GetSelectedText();
    for (const TComboBoxItem* item : List("Casing Size").Items()) {
        if (dynamic_cast<const TCasingSize*>(item)->casingSize == 4) {
            EXPECT_EQ(selected, item->displayName);
            break;
        }
    }
}

TEST_F(ParametersTest, SavedPresetsAreSelectedAndSurviveAReloadWithoutDuplicates) {
    Field("Save Preset Dialog Preset Name").SetText("My Sep 2");
    RaiseEvent("Save Preset");
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "My Sep 2");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "My Sep 2");
    const int rows = List("Separator Preset").RowCount();
    gWindowManager->RefreshTags();
    EXPECT_EQ(List("Separator Preset").RowCount(), rows);
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "My Sep 2");
    // Every row's item is alive and names what the row shows.
    for (const TComboBoxItem* item : List("Separator Preset").Items()) {
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->displayName.empty());
    }
}

TEST_F(ParametersTest, ReloadingTheTagsKeepsTheUsersDesign) {
    Type("Separator OD", "3.25");
    WellParameters p = Model();
    p.SetCasingSize(6.184);
    gGasSeparatorModel->SetParameters(p);
    const WellParameters before = Model();
    const std::string casing = List("Casing Size").GetSelectedText();
    gWindowManager->RefreshTags();
    EXPECT_EQ(Model(), before);
    EXPECT_EQ(List("Casing Size").GetSelectedText(), casing);
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "(User Defined)");
    EXPECT_EQ(Field("Separator OD").GetText(), "3.25");
}

TEST_F(ParametersTest, ResetToDefaultsRestoresTheShippedValues) {
    Type("SPM", "12");
    Type("Separator OD", "3.5");
    RaiseEvent("Reset to Defaults");
    EXPECT_EQ(Field("SPM").GetText(), "8");
    EXPECT_EQ(Field("Separator OD").GetText(), "3");
    EXPECT_EQ(Model().GetSPM(), 8);
    EXPECT_EQ(List("Separator Preset").GetSelectedText(), "(User Defined)");
}
