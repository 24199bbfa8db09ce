// The parameters controller in the running program: typed values, the input rules with their
// marks and warnings, presets, tidying, results and the preset list.

#include "app/services/EventRegistry.h"

#include "app/model/NumberFormat.h"
#include "app/platform/NativeControl.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/ViewNames.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    // What a user's typing of a value amounts to: the field's text changes and raises its
    // event, then the user leaves the field, which ends the edit.
    void Type(const std::string& field, const std::string& text) {
        Field(field).SetText(text);
        RaiseEvent(LoseFocusEvent(field));
    }
    void PickPreset(const std::string& text) {
        List(ViewName::kSeparatorPreset).SelectByText(text);
        RaiseEvent(EventName::kSeparatorPresetChanged);
    }
    void PickCasing(const std::string& text) {
        List(ViewName::kCasingSize).SelectByText(text);
        RaiseEvent(EventName::kCasingSizeChanged);
    }
    std::string Results() { // the maximum capacity and the recommended length
        auto* label = gWindowManager->FindViewAs<CLabelView>(ViewName::kRecommendedDipTubeLength);
        return Field(ViewName::kMaxCapacity).GetText() + " | " +
               (label ? label->DisplayText() : "");
    }
    const WellParameters& Model() { return gGasSeparatorModel->GetParameters(); }

    CRecordingShell shell;
};
} // namespace

TEST_F(ParametersTest, StartShowsTheShippedDefaultsFormattedAndValid) {
    EXPECT_EQ(Field(ViewName::kSeparatorOD).GetText(), "3");
    EXPECT_EQ(Field(ViewName::kDipTubeID).GetText(), "1.05");
    EXPECT_EQ(Field(ViewName::kSPM).GetText(), "8");
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), "4.5\" 9.5 lbs/ft (ID 4.09\")");
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(Field(ViewName::kMaxCapacity).GetText(), "0");
    RunPass();
    EXPECT_EQ(Field(ViewName::kMaxCapacity).GetText(), "242");
    auto* label = gWindowManager->FindViewAs<CLabelView>(ViewName::kRecommendedDipTubeLength);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->DisplayText(), "27.75 in");
}

TEST_F(ParametersTest, PumpSpeedBoundsRoundToThreeDecimals) {
    Type(ViewName::kSPM, "0");
    EXPECT_FALSE(Field(ViewName::kSPM).IsValid());
    EXPECT_TRUE(WarningShown(ViewName::kSPMRangeWarning));
    EXPECT_EQ(Model().GetSPM(), 8); // the previous value reached the model
    Type(ViewName::kSPM, "30");
    EXPECT_TRUE(Field(ViewName::kSPM).IsValid());
    EXPECT_FALSE(WarningShown(ViewName::kSPMRangeWarning));
    EXPECT_EQ(Model().GetSPM(), 30);
    Type(ViewName::kSPM, "30.0004");
    EXPECT_TRUE(Field(ViewName::kSPM).IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    Type(ViewName::kSPM, "30.001");
    EXPECT_FALSE(Field(ViewName::kSPM).IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    EXPECT_EQ(Field(ViewName::kSPM).GetText(),
              "30.001"); // the typed text stays for the user to fix
}

TEST_F(ParametersTest, LengthAndVelocityLimitsAreInclusive) {
    for (const auto& [text, accepted] : std::vector<std::pair<std::string, bool>>{
             {"12", true}, {"480", true}, {"11.999", false}, {"480.001", false}}) {
        Type(ViewName::kDipTubeLength, text);
        EXPECT_EQ(Field(ViewName::kDipTubeLength).IsValid(), accepted) << text;
        EXPECT_EQ(WarningShown(ViewName::kDipTubeLengthWarning), !accepted) << text;
    }
    EXPECT_EQ(Model().GetDipTubeLength(), 480);
    Type(ViewName::kGasBubbleRiseVelocity, "12");
    EXPECT_TRUE(Field(ViewName::kGasBubbleRiseVelocity).IsValid());
    Type(ViewName::kGasBubbleRiseVelocity, "12.001");
    EXPECT_FALSE(Field(ViewName::kGasBubbleRiseVelocity).IsValid());
    EXPECT_TRUE(WarningShown(ViewName::kGasBubbleVelocityRangeWarning));
    EXPECT_EQ(Model().GetGasBubbleRiseVelocity(), 12);
}

TEST_F(ParametersTest, InconsistentDiametersPassOnMarked) {
    Type(ViewName::kSeparatorID, "3"); // equal to the outside diameter
    EXPECT_TRUE(WarningShown(ViewName::kSeparatorDiameterWarning));
    EXPECT_FALSE(WarningShown(ViewName::kSeparatorIDRangeWarning));
    EXPECT_FALSE(Field(ViewName::kSeparatorOD).IsValid());
    EXPECT_FALSE(Field(ViewName::kSeparatorID).IsValid());
    EXPECT_EQ(Model().GetSeparatorID(), 3);

    Type(ViewName::kSeparatorID, "2.5"); // corrected: marks and warning go
    EXPECT_FALSE(WarningShown(ViewName::kSeparatorDiameterWarning));
    EXPECT_TRUE(Field(ViewName::kSeparatorID).IsValid());

    Type(ViewName::kDipTubeOD, "2.5"); // not inside the separator: also marks the separator ID
    EXPECT_TRUE(WarningShown(ViewName::kSeparatorInnerDiameterWarning));
    EXPECT_FALSE(Field(ViewName::kDipTubeOD).IsValid());
    EXPECT_FALSE(Field(ViewName::kSeparatorID).IsValid());
    EXPECT_EQ(Model().GetDipTubeOD(), 2.5);
}

TEST_F(ParametersTest, RangeFailuresRestoreTheModelValue) {
    Type(ViewName::kSeparatorOD, "5"); // beyond the 4.09 casing: restored to 3
    EXPECT_FALSE(Field(ViewName::kSeparatorOD).IsValid());
    EXPECT_TRUE(WarningShown(ViewName::kSeparatorODRangeWarning));
    EXPECT_EQ(Model().GetSeparatorOD(), 3);
    // The wall rule judged the 3 in use with the 2.75 bore: no wall warning.
    EXPECT_FALSE(WarningShown(ViewName::kSeparatorDiameterWarning));
}

TEST_F(ParametersTest, ARangeFailureKeepsTheValueFromBeforeTheEditNotAKeystroke) {
    for (const char* keystrokes : {"3", "35"}) { // 35 typed over 8, without leaving the field
        Field(ViewName::kSPM).SetText(keystrokes);
    }
    EXPECT_FALSE(Field(ViewName::kSPM).IsValid());
    EXPECT_EQ(Model().GetSPM(), 8); // not the 3 on the way
    RunPass();
    EXPECT_EQ(Results(), "242 | 27.75 in");
}

TEST_F(ParametersTest, ConsistencyIsJudgedOnTheValuesInUse) {
    Type(ViewName::kDipTubeOD, "3");       // wider than the 2.75 bore: passed on, marked
    for (const char* typed : {"0", "5"}) { // out of range: the 2.75 bore stays in use
        Type(ViewName::kSeparatorID, typed);
        EXPECT_TRUE(WarningShown(ViewName::kSeparatorInnerDiameterWarning)) << typed;
        EXPECT_FALSE(Field(ViewName::kDipTubeOD).IsValid()) << typed;
    }
}

TEST_F(ParametersTest, ResultsDoNotApplyWhileAValueInUseBreaksARangeRule) {
    PickPreset("3-1/2 Collar Size Gas Separator"); // 4.5 in wide, in a 4.09 in casing
    RunPass();
    EXPECT_FALSE(Field(ViewName::kSeparatorOD).IsValid());
    EXPECT_EQ(Results(), "\u2014 | \u2014");
    PickCasing("7\" 23 lbs/ft (ID 6.366\")"); // wide enough: the results apply again
    RunPass();
    EXPECT_EQ(Results(), "644 | 27.75 in");
    PickCasing("4.5\" 9.5 lbs/ft (ID 4.09\")"); // the casing changed under the design
    RunPass();
    EXPECT_FALSE(Field(ViewName::kSeparatorID).IsValid());
    EXPECT_EQ(Results(), "\u2014 | \u2014");
}

TEST_F(ParametersTest, ADesignWithoutAnAnnulusShowsTheCapacityWarningWithThePumpRunning) {
    Type(ViewName::kDipTubeOD, "2.75"); // as wide as the separator bore: marked, passed on
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    EXPECT_TRUE(WarningShown(ViewName::kMaxCapacityWarning));
}

TEST_F(ParametersTest, TypedDimensionsClearThePresetButPumpSpeedDoesNot) {
    PickPreset("2-3/8 Collar Size Gas Separator");
    ASSERT_EQ(gGasSeparatorModel->GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type(ViewName::kSPM, "10");
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(),
              "2-3/8 Collar Size Gas Separator");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type(ViewName::kSeparatorOD, "3.1");
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "");
}

TEST_F(ParametersTest, APresetFillsAllFiveFieldsAndStaysSelected) {
    const auto* preset =
        dynamic_cast<const TSeparatorPreset*>(List(ViewName::kSeparatorPreset).Items()[1]);
    ASSERT_NE(preset, nullptr);
    PickPreset(preset->displayName);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), preset->displayName);
    EXPECT_EQ(Model().GetSeparatorOD(), preset->separatorOd);
    EXPECT_EQ(Model().GetDipTubeLength(), preset->dipTubeLength);
    EXPECT_EQ(Field(ViewName::kSeparatorID).GetText(), FormatNumber(preset->separatorId));
    EXPECT_EQ(Field(ViewName::kDipTubeOD).GetText(), FormatNumber(preset->dipTubeOd));
    EXPECT_EQ(Field(ViewName::kDipTubeID).GetText(), FormatNumber(preset->dipTubeId));
}

TEST_F(ParametersTest, LeavingAFieldTidiesValidTextOnly) {
    Type(ViewName::kDipTubeID, "1.0500");
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field(ViewName::kDipTubeID).GetText(), "1.05");
    Type(ViewName::kDipTubeID, "12abc"); // beyond the casing: invalid, left as typed
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field(ViewName::kDipTubeID).GetText(), "12abc");
    Type(ViewName::kDipTubeLength, "  42.0004 ");
    RaiseEvent("Dip Tube Length Lose Focus");
    EXPECT_EQ(Field(ViewName::kDipTubeLength).GetText(), "42");
}

TEST_F(ParametersTest, FractionsAreUsedAndTidiedToDecimals) {
    Type(ViewName::kSeparatorOD, "2 7/8");
    EXPECT_EQ(Model().GetSeparatorOD(), 2.875);
    EXPECT_EQ(Field(ViewName::kSeparatorOD).GetText(), "2.875");
    Type(ViewName::kDipTubeOD, "1\u00BC");
    EXPECT_EQ(Model().GetDipTubeOD(), 1.25);
    EXPECT_EQ(Field(ViewName::kDipTubeOD).GetText(), "1.25");
    Type(ViewName::kSPM, "8 1/0"); // refused like any bad number: the value in use stays
    EXPECT_FALSE(Field(ViewName::kSPM).IsValid());
    EXPECT_EQ(Field(ViewName::kSPM).GetText(), "8 1/0");
    EXPECT_EQ(Model().GetSPM(), 8);
}

TEST_F(ParametersTest, ACasingSizeWithoutAPresetSelectsNoRow) {
    WellParameters p = Model();
    p.SetCasingSize(5.5);
    gGasSeparatorModel->SetParameters(p);
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), "");
    p.SetCasingSize(4); // two presets share 4 in: the first in list order is chosen
    gGasSeparatorModel->SetParameters(p);
    const std::string selected = List(ViewName::kCasingSize).GetSelectedText();
    for (const TComboBoxItem* item : List(ViewName::kCasingSize).Items()) {
        if (dynamic_cast<const TCasingSize*>(item)->casingSize == 4) {
            EXPECT_EQ(selected, item->displayName);
            break;
        }
    }
}

TEST_F(ParametersTest, SavedPresetsAreSelectedAndSurviveAReloadWithoutDuplicates) {
    Field("Save Preset Dialog Preset Name").SetText("My Sep 2");
    RaiseEvent(EventName::kSavePreset);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "My Sep 2");
    EXPECT_EQ(gGasSeparatorModel->GetPresetName(), "My Sep 2");
    const int rows = List(ViewName::kSeparatorPreset).RowCount();
    gWindowManager->RefreshTags();
    EXPECT_EQ(List(ViewName::kSeparatorPreset).RowCount(), rows);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "My Sep 2");
    // Every row's item is alive and names what the row shows.
    for (const TComboBoxItem* item : List(ViewName::kSeparatorPreset).Items()) {
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->displayName.empty());
    }
}

TEST_F(ParametersTest, ReloadingTheTagsKeepsTheUsersDesign) {
    Type(ViewName::kSeparatorOD, "3.25");
    WellParameters p = Model();
    p.SetCasingSize(6.184);
    gGasSeparatorModel->SetParameters(p);
    const WellParameters before = Model();
    const std::string casing = List(ViewName::kCasingSize).GetSelectedText();
    gWindowManager->RefreshTags();
    EXPECT_EQ(Model(), before);
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), casing);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(Field(ViewName::kSeparatorOD).GetText(), "3.25");
}

TEST_F(ParametersTest, ResetToDefaultsRestoresTheShippedValues) {
    Type(ViewName::kSPM, "12");
    Type(ViewName::kSeparatorOD, "3.5");
    RaiseEvent(EventName::kResetToDefaults);
    EXPECT_EQ(Field(ViewName::kSPM).GetText(), "8");
    EXPECT_EQ(Field(ViewName::kSeparatorOD).GetText(), "3");
    EXPECT_EQ(Model().GetSPM(), 8);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
}

TEST_F(ParametersTest, TwinDisplayNamesEachApplyTheirOwnPresetAndASaveSelectsTheNewRow) {
    for (const char* od : {"3.25", "3.5"}) {
        Type(ViewName::kSeparatorOD, od);
        Field(ViewName::kSavePresetName).SetText("Twin");
        RaiseEvent(EventName::kSavePreset);
    }
    CComboBoxView& presets = List(ViewName::kSeparatorPreset);
    const int newest = presets.RowCount() - 1;
    EXPECT_EQ(presets.Control()->GetCurrentIndex(), newest);
    for (const auto& [row, od] : {std::pair{newest - 1, 3.25}, std::pair{newest, 3.5}}) {
        presets.Control()->SetCurrentIndex(row); // as the user picks a row
        RaiseEvent(EventName::kSeparatorPresetChanged);
        EXPECT_EQ(Model().GetSeparatorOD(), od) << row;
    }
}

TEST_F(ParametersTest, ASaveThatFailsSaysWhyAndKeepsTheDialogOpenWithTheName) {
    const std::filesystem::path folder = DocumentsFolder();
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "a file where the presets folder belongs";
    RaiseEvent(EventName::kOpenSavePresetDialog);
    Field(ViewName::kSavePresetName).SetText("My Sep 2");
    RaiseEvent(EventName::kSavePreset);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find("The preset could not be saved"), std::string::npos)
        << shell.messages[0];
    EXPECT_NE(shell.messages[0].find("Not a directory"), std::string::npos) << shell.messages[0];
    EXPECT_TRUE(gWindowManager->FindViewAs<CDialogView>(ViewName::kSavePresetDialog)->IsOpen());
    EXPECT_EQ(Field(ViewName::kSavePresetName).GetText(), "My Sep 2");
}
