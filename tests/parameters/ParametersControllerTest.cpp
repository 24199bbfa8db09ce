// The parameters controller in the running program: typed values, the input rules with their
// marks and warnings, presets, tidying, results and the preset list.

#include "app/services/EventRegistry.h"

#include "app/model/NumberFormat.h"
#include "app/platform/NativeControl.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/FieldPanelView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/TableNames.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
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
    const WellParameters& Model() { return TheModel().GetParameters(); }

    CRecordingShell shell;
};
} // namespace

TEST_F(ParametersTest, StartShowsTheShippedDefaultsFormattedAndValid) {
    EXPECT_EQ(Field(names::Field(ParameterId::SeparatorOD)).GetText(), "3");
    EXPECT_EQ(Field(names::Field(ParameterId::DipTubeID)).GetText(), "1.05");
    EXPECT_EQ(Field(names::Field(ParameterId::SPM)).GetText(), "8");
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
    Type(names::Field(ParameterId::SPM), "0");
    EXPECT_FALSE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_TRUE(WarningShown(names::RangeWarning(ParameterId::SPM)));
    EXPECT_EQ(Model().GetSPM(), 8); // the previous value reached the model
    Type(names::Field(ParameterId::SPM), "30");
    EXPECT_TRUE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_FALSE(WarningShown(names::RangeWarning(ParameterId::SPM)));
    EXPECT_EQ(Model().GetSPM(), 30);
    Type(names::Field(ParameterId::SPM), "30.0004");
    EXPECT_TRUE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    Type(names::Field(ParameterId::SPM), "30.001");
    EXPECT_FALSE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_EQ(Model().GetSPM(), 30);
    EXPECT_EQ(Field(names::Field(ParameterId::SPM)).GetText(),
              "30.001"); // the typed text stays for the user to fix
}

// Every typed input, from the table: a value just outside each of its limits is refused with its
// card saying the limits, the value just inside is taken. The card's numbers are the rule's.
TEST_F(ParametersTest, EveryInputKeepsItsTableRangeAndItsCardSaysIt) {
    for (const ParameterEntry& parameter : Parameters()) {
        if (!parameter.IsTyped()) {
            continue;
        }
        SCOPED_TRACE(parameter.name);
        const Limits& limits = parameter.limits;
        const double before = parameter.Get(Model());
        const double outside = limits.lowAllowed ? limits.low - 0.001 : limits.low;
        Type(parameter.field, FormatNumber(outside));
        EXPECT_FALSE(Field(parameter.field).IsValid());
        ASSERT_TRUE(WarningShown(parameter.rangeWarning));
        auto* card = gWindowManager->FindViewAs<CWarningView>(parameter.rangeWarning);
        EXPECT_EQ(card->Title(), parameter.Label() + " out of range");
        EXPECT_EQ(card->Text(), RangeWarningText(parameter));
        EXPECT_NE(card->Text().find(FormatNumber(limits.low)), std::string::npos);
        EXPECT_EQ(parameter.Get(Model()), before); // never reached the model
        if (std::isfinite(limits.high)) {
            EXPECT_NE(card->Text().find(FormatNumber(limits.high)), std::string::npos);
            Type(parameter.field, FormatNumber(limits.high + 0.001));
            EXPECT_FALSE(Field(parameter.field).IsValid());
            Type(parameter.field, FormatNumber(limits.high));
            EXPECT_TRUE(Field(parameter.field).IsValid());
            EXPECT_EQ(parameter.Get(Model()), limits.high);
        }
        Type(parameter.field, FormatNumber(before)); // back, so the next input is judged alone
        EXPECT_TRUE(Field(parameter.field).IsValid());
        EXPECT_EQ(Field(parameter.field).Caption(), parameter.caption);
        EXPECT_EQ(Field(parameter.field).Tooltip(), FieldTooltip(parameter));
    }
}

TEST_F(ParametersTest, LengthAndVelocityLimitsAreInclusive) {
    for (const auto& [text, accepted] : std::vector<std::pair<std::string, bool>>{
             {"12", true}, {"480", true}, {"11.999", false}, {"480.001", false}}) {
        Type(names::Field(ParameterId::DipTubeLength), text);
        EXPECT_EQ(Field(names::Field(ParameterId::DipTubeLength)).IsValid(), accepted) << text;
        EXPECT_EQ(WarningShown(names::RangeWarning(ParameterId::DipTubeLength)), !accepted) << text;
    }
    EXPECT_EQ(Model().GetDipTubeLength(), 480);
    Type(names::Field(ParameterId::RiseVelocity), "12");
    EXPECT_TRUE(Field(names::Field(ParameterId::RiseVelocity)).IsValid());
    Type(names::Field(ParameterId::RiseVelocity), "12.001");
    EXPECT_FALSE(Field(names::Field(ParameterId::RiseVelocity)).IsValid());
    EXPECT_TRUE(WarningShown(names::RangeWarning(ParameterId::RiseVelocity)));
    EXPECT_EQ(Model().GetGasBubbleRiseVelocity(), 12);
}

TEST_F(ParametersTest, InconsistentDiametersPassOnMarked) {
    Type(names::Field(ParameterId::SeparatorID), "3"); // equal to the outside diameter
    EXPECT_TRUE(WarningShown(names::ConsistencyWarning(ParameterId::SeparatorID)));
    EXPECT_FALSE(WarningShown(names::RangeWarning(ParameterId::SeparatorID)));
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorOD)).IsValid());
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorID)).IsValid());
    EXPECT_EQ(Model().GetSeparatorID(), 3);

    Type(names::Field(ParameterId::SeparatorID), "2.5"); // corrected: marks and warning go
    EXPECT_FALSE(WarningShown(names::ConsistencyWarning(ParameterId::SeparatorID)));
    EXPECT_TRUE(Field(names::Field(ParameterId::SeparatorID)).IsValid());

    Type(names::Field(ParameterId::DipTubeOD),
         "2.5"); // not inside the separator: also marks the separator ID
    EXPECT_TRUE(WarningShown(names::ConsistencyWarning(ParameterId::DipTubeOD)));
    EXPECT_FALSE(Field(names::Field(ParameterId::DipTubeOD)).IsValid());
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorID)).IsValid());
    EXPECT_EQ(Model().GetDipTubeOD(), 2.5);
}

TEST_F(ParametersTest, RangeFailuresRestoreTheModelValue) {
    Type(names::Field(ParameterId::SeparatorOD), "5"); // beyond the 4.09 casing: restored to 3
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorOD)).IsValid());
    EXPECT_TRUE(WarningShown(names::RangeWarning(ParameterId::SeparatorOD)));
    EXPECT_EQ(Model().GetSeparatorOD(), 3);
    // The wall rule judged the 3 in use with the 2.75 bore: no wall warning.
    EXPECT_FALSE(WarningShown(names::ConsistencyWarning(ParameterId::SeparatorID)));
}

TEST_F(ParametersTest, ARangeFailureKeepsTheValueFromBeforeTheEditNotAKeystroke) {
    for (const char* keystrokes : {"3", "35"}) { // 35 typed over 8, without leaving the field
        Field(names::Field(ParameterId::SPM)).SetText(keystrokes);
    }
    EXPECT_FALSE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_EQ(Model().GetSPM(), 8); // not the 3 on the way
    RunPass();
    EXPECT_EQ(Results(), "242 | 27.75 in");
}

TEST_F(ParametersTest, ConsistencyIsJudgedOnTheValuesInUse) {
    Type(names::Field(ParameterId::DipTubeOD), "3"); // wider than the 2.75 bore: passed on, marked
    for (const char* typed : {"0", "5"}) {           // out of range: the 2.75 bore stays in use
        Type(names::Field(ParameterId::SeparatorID), typed);
        EXPECT_TRUE(WarningShown(names::ConsistencyWarning(ParameterId::DipTubeOD))) << typed;
        EXPECT_FALSE(Field(names::Field(ParameterId::DipTubeOD)).IsValid()) << typed;
    }
}

TEST_F(ParametersTest, ResultsDoNotApplyWhileAValueInUseBreaksARangeRule) {
    PickPreset("3-1/2 Collar Size Gas Separator"); // 4.5 in wide, in a 4.09 in casing
    RunPass();
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorOD)).IsValid());
    EXPECT_EQ(Results(), "\u2014 | \u2014");
    PickCasing("7\" 23 lbs/ft (ID 6.366\")"); // wide enough: the results apply again
    RunPass();
    EXPECT_EQ(Results(), "644 | 27.75 in");
    PickCasing("4.5\" 9.5 lbs/ft (ID 4.09\")"); // the casing changed under the design
    RunPass();
    EXPECT_FALSE(Field(names::Field(ParameterId::SeparatorID)).IsValid());
    EXPECT_EQ(Results(), "\u2014 | \u2014");
}

TEST_F(ParametersTest, ADesignWithoutAnAnnulusShowsTheCapacityWarningWithThePumpRunning) {
    Type(names::Field(ParameterId::DipTubeOD),
         "2.75"); // as wide as the separator bore: marked, passed on
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    EXPECT_TRUE(WarningShown(ViewName::kMaxCapacityWarning));
}

TEST_F(ParametersTest, TypedDimensionsClearThePresetButPumpSpeedDoesNot) {
    PickPreset("2-3/8 Collar Size Gas Separator");
    ASSERT_EQ(TheModel().GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type(names::Field(ParameterId::SPM), "10");
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(),
              "2-3/8 Collar Size Gas Separator");
    EXPECT_EQ(TheModel().GetPresetName(), "2-3/8 Collar Size Gas Separator");
    Type(names::Field(ParameterId::SeparatorOD), "3.1");
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(TheModel().GetPresetName(), "");
}

TEST_F(ParametersTest, APresetFillsAllFiveFieldsAndStaysSelected) {
    const auto* preset =
        dynamic_cast<const TSeparatorPreset*>(List(ViewName::kSeparatorPreset).Items()[1]);
    ASSERT_NE(preset, nullptr);
    PickPreset(preset->displayName);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), preset->displayName);
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.inPresets) {
            const double value = parameter.Get(preset->preset.dimensions);
            EXPECT_EQ(parameter.Get(Model()), value) << parameter.name;
            EXPECT_EQ(Field(parameter.field).GetText(), FormatNumber(value)) << parameter.name;
        }
    }
}

TEST_F(ParametersTest, LeavingAFieldTidiesValidTextOnly) {
    Type(names::Field(ParameterId::DipTubeID), "1.0500");
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field(names::Field(ParameterId::DipTubeID)).GetText(), "1.05");
    Type(names::Field(ParameterId::DipTubeID),
         "12abc"); // beyond the casing: invalid, left as typed
    RaiseEvent("Dip Tube ID Lose Focus");
    EXPECT_EQ(Field(names::Field(ParameterId::DipTubeID)).GetText(), "12abc");
    Type(names::Field(ParameterId::DipTubeLength), "  42.0004 ");
    RaiseEvent("Dip Tube Length Lose Focus");
    EXPECT_EQ(Field(names::Field(ParameterId::DipTubeLength)).GetText(), "42");
}

TEST_F(ParametersTest, FractionsAreUsedAndTidiedToDecimals) {
    Type(names::Field(ParameterId::SeparatorOD), "2 7/8");
    EXPECT_EQ(Model().GetSeparatorOD(), 2.875);
    EXPECT_EQ(Field(names::Field(ParameterId::SeparatorOD)).GetText(), "2.875");
    Type(names::Field(ParameterId::DipTubeOD), "1\u00BC");
    EXPECT_EQ(Model().GetDipTubeOD(), 1.25);
    EXPECT_EQ(Field(names::Field(ParameterId::DipTubeOD)).GetText(), "1.25");
    Type(names::Field(ParameterId::SPM),
         "8 1/0"); // refused like any bad number: the value in use stays
    EXPECT_FALSE(Field(names::Field(ParameterId::SPM)).IsValid());
    EXPECT_EQ(Field(names::Field(ParameterId::SPM)).GetText(), "8 1/0");
    EXPECT_EQ(Model().GetSPM(), 8);
}

TEST_F(ParametersTest, ACasingSizeWithoutAPresetSelectsNoRow) {
    WellParameters p = Model();
    p.SetCasingSize(5.5);
    TheModel().SetParameters(p);
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), "");
    // The box shows the size instead, in the units in use.
    EXPECT_EQ(List(ViewName::kCasingSize).ShownText(), "ID 5.5 in, not in the list");
    TheModel().SetUnitSystem(UnitSystem::Metric);
    RaiseEvent(EventName::kUnitsChanged);
    EXPECT_EQ(List(ViewName::kCasingSize).ShownText(), "ID 139.7 mm, not in the list");
    p.SetCasingSize(4); // two presets share 4 in: the first in list order is chosen
    TheModel().SetParameters(p);
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
    EXPECT_EQ(TheModel().GetPresetName(), "My Sep 2");
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
    Type(names::Field(ParameterId::SeparatorOD), "3.25");
    WellParameters p = Model();
    p.SetCasingSize(6.184);
    TheModel().SetParameters(p);
    const WellParameters before = Model();
    const std::string casing = List(ViewName::kCasingSize).GetSelectedText();
    gWindowManager->RefreshTags();
    EXPECT_EQ(Model(), before);
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), casing);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(Field(names::Field(ParameterId::SeparatorOD)).GetText(), "3.25");
}

TEST_F(ParametersTest, ResetToDefaultsRestoresTheShippedValues) {
    Type(names::Field(ParameterId::SPM), "12");
    Type(names::Field(ParameterId::SeparatorOD), "3.5");
    RaiseEvent(EventName::kResetToDefaults);
    EXPECT_EQ(Field(names::Field(ParameterId::SPM)).GetText(), "8");
    EXPECT_EQ(Field(names::Field(ParameterId::SeparatorOD)).GetText(), "3");
    EXPECT_EQ(Model().GetSPM(), 8);
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
}

TEST_F(ParametersTest, TwinDisplayNamesEachApplyTheirOwnPresetAndASaveSelectsTheNewRow) {
    Type(names::Field(ParameterId::SeparatorOD), "3.25");
    Field(ViewName::kSavePresetName).SetText("Twin");
    RaiseEvent(EventName::kSavePreset);
    CComboBoxView& saved = List(ViewName::kSeparatorPreset);
    EXPECT_EQ(saved.Control()->GetCurrentIndex(), saved.RowCount() - 1);
    // Saving asks before a second "Twin"; a twin still comes with a file from elsewhere.
    const std::filesystem::path folder = DocumentsFolder();
    std::ifstream in(folder / "Twin.seppreset.yml");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.replace(text.find("Separator OD: 3.25"), 18, "Separator OD: 3.5");
    std::ofstream(folder / "Twin_1.seppreset.yml") << text;
    gWindowManager->RefreshTags();
    CComboBoxView& presets = List(ViewName::kSeparatorPreset);
    const int newest = presets.RowCount() - 1;
    for (const auto& [row, od] : {std::pair{newest - 1, 3.25}, std::pair{newest, 3.5}}) {
        presets.Control()->SetCurrentIndex(row); // as the user picks a row
        RaiseEvent(EventName::kSeparatorPresetChanged);
        EXPECT_EQ(Model().GetSeparatorOD(), od) << row;
    }
    // The twin in use stays the highlighted one when the list is filled again (a reload, the
    // next start), not the first of that name.
    presets.Control()->SetCurrentIndex(newest);
    RaiseEvent(EventName::kSeparatorPresetChanged);
    gWindowManager->RefreshTags();
    EXPECT_EQ(List(ViewName::kSeparatorPreset).Control()->GetCurrentIndex(), newest);
    EXPECT_EQ(Model().GetSeparatorOD(), 3.5);
}

// A value refused never reaches the model, so the design is still its preset.
TEST_F(ParametersTest, ARefusedValueLeavesThePresetAsItWas) {
    PickPreset("2-3/8 Collar Size Gas Separator");
    const std::string name = TheModel().GetPresetName();
    Type(names::Field(ParameterId::DipTubeLength), "4000");
    EXPECT_FALSE(Field(names::Field(ParameterId::DipTubeLength)).IsValid());
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), name);
    EXPECT_EQ(TheModel().GetPresetName(), name);
    Type(names::Field(ParameterId::DipTubeLength), "50"); // a value in use that differs: no more
    EXPECT_EQ(List(ViewName::kSeparatorPreset).GetSelectedText(), "(User Defined)");
    EXPECT_EQ(TheModel().GetPresetName(), "");
}

TEST_F(ParametersTest, ABlankNameSaysWhyNothingWasSavedAndKeepsTheDialogOpen) {
    RaiseEvent(EventName::kOpenSavePresetDialog);
    Field(ViewName::kSavePresetName).SetText("  \t ");
    RaiseEvent(EventName::kSavePreset);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find("Nothing was saved: a preset needs a name"),
              std::string::npos);
    EXPECT_TRUE(gWindowManager->FindViewAs<CDialogView>(ViewName::kSavePresetDialog)->IsOpen());
    EXPECT_TRUE(TheModel().GetUserPresets().empty());
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

// A dialog opened by a key pressed as the program starts, before the window is drawn: the
// panels under it were pictured unpainted (white) and stayed so.
TEST_F(ParametersTest, APanelUnderADialogOpenedBeforeTheFirstFrameIsPicturedWhole) {
    RaiseEvent(EventName::kOpenHelpDialog);
    for (int pass = 0; pass < 3; ++pass) {
        RunPass();
    }
    auto* flow = gWindowManager->FindViewAs<CFieldPanelView>(ViewName::kFlowPanel);
    ASSERT_NE(flow, nullptr);
    ASSERT_TRUE(flow->HasSnapshot());
    const PixelVector early = flow->Snapshot().pixels;
    RaiseEvent(EventName::kCloseHelpDialog);
    RunPass();
    RaiseEvent(EventName::kOpenHelpDialog);
    RunPass();
    ASSERT_TRUE(flow->HasSnapshot());
    EXPECT_EQ(early, flow->Snapshot().pixels);
}

// The panels pictured under an open dialog show the values in use after a change made under it
// (File > Reset to Defaults), and are not pictured again while nothing changes.
TEST_F(ParametersTest, APanelUnderADialogIsPicturedAgainAfterAChangeUnderIt) {
    Type(names::Field(ParameterId::SPM), "12");
    RaiseEvent(EventName::kOpenHelpDialog);
    RunPass();
    auto* flow = gWindowManager->FindViewAs<CFieldPanelView>(ViewName::kFlowPanel);
    ASSERT_NE(flow, nullptr);
    ASSERT_TRUE(flow->HasSnapshot());
    const PixelVector at12 = flow->Snapshot().pixels;
    RunPass();
    EXPECT_EQ(flow->Snapshot().pixels, at12); // nothing changed: the same picture
    RaiseEvent(EventName::kResetToDefaults);
    RunPass();
    EXPECT_EQ(Model().GetSPM(), 8);
    ASSERT_TRUE(flow->HasSnapshot());
    EXPECT_NE(flow->Snapshot().pixels, at12);
    EXPECT_FALSE(Field(names::Field(ParameterId::SPM)).IsVisible()); // still under the dialog
    auto* label = gWindowManager->FindViewAs<CLabelView>(ViewName::kRecommendedDipTubeLength);
    EXPECT_EQ(label->DisplayText(), "27.75 in"); // at once, though no frame has run
}
