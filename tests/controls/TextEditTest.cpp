// Text boxes: the events of typed and programmatic changes, read-only silence, focus, the
// error colour, the default text and the name box that shares its identifier.

#include "tests/TableNames.h"
#include "tests/controls/ControlsTestSupport.h"

#include "app/model/ParameterTable.h"
#include "app/services/EventNames.h"
#include "app/tags/ViewNames.h"

#include "app/platform/Platform.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/SavePresetView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"

#include <gtest/gtest.h>

namespace {
class TextEditTest : public ::testing::Test {
protected:
    TextEditTest() {
        app.Listen({ParameterOf(ParameterId::SeparatorOD).changedEvent, "Separator OD Focus",
                    "Separator OD Lose Focus", "Separator ID Focus", "Separator ID Lose Focus",
                    "Max Capacity Focus", "Max Capacity Lose Focus",
                    EventName::kSavePresetNameChanged, "", "Save Preset Dialog Preset Name Focus"});
    }

    ControlsHarness app;
    std::string error;
};

const TTextEdit& TagOf(const CTextEditView& box) {
    return *GetTagAs<TTextEdit>(box.GetTagHandle());
}

TEST_F(TextEditTest, ProgrammaticAndTypedChangesRaiseTheSameEvent) {
    CTextEditView& od = app.Box(names::Field(ParameterId::SeparatorOD));
    od.SetText("3.5");
    EXPECT_EQ(od.GetText(), "3.5");
    EXPECT_EQ(app.Events(), ParameterOf(ParameterId::SeparatorOD).changedEvent);
    app.Clear();
    od.SetText("3.5"); // the same text is still reported, as the native box does
    EXPECT_EQ(app.Events(), ParameterOf(ParameterId::SeparatorOD).changedEvent);
    app.Clear();

    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorOD), error)) << error;
    ASSERT_TRUE(app.Input().Key("End", error));
    ASSERT_TRUE(app.Input().TypeText("25", error)) << error;
    EXPECT_EQ(od.GetText(), "3.525");
    EXPECT_EQ(app.Events(), "Separator OD Focus, Separator OD Changed, Separator OD Changed");
}

TEST_F(TextEditTest, ReadOnlyBoxRaisesNothingAndNeverTakesTheFocus) {
    CTextEditView& capacity = app.Box(ViewName::kMaxCapacity);
    ASSERT_TRUE(capacity.IsReadOnly());
    capacity.SetText("1200");
    EXPECT_EQ(capacity.GetText(), "1200");

    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorID), error)) << error;
    app.Clear();
    // A click on the read-only box passes to the window: the field with the focus loses it.
    ASSERT_TRUE(app.Input().Focus(ViewName::kMaxCapacity, error)) << error;
    EXPECT_EQ(app.FocusedControl(), "");
    EXPECT_EQ(app.Events(), "Separator ID Lose Focus");
    EXPECT_EQ(capacity.GetText(), "1200");

    // So does a real click on it: the field being edited loses the focus (and is tidied).
    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorID), error)) << error;
    app.Clear();
    const auto* box = GetTagAs<TTextEdit>(capacity.GetTagHandle());
    app.Input().MouseDown(box->absX + 20, box->absY + 10);
    app.Input().MouseUp(box->absX + 20, box->absY + 10);
    EXPECT_EQ(app.FocusedControl(), "");
    EXPECT_EQ(app.Events(), "Separator ID Lose Focus");
}

TEST_F(TextEditTest, ReleaseOnTheWindowTakesTheFocusBack) {
    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorOD), error)) << error;
    app.Input().MouseMove(100, 705);
    app.Input().MouseDown(100, 705);
    app.Input().MouseUp(100, 705);
    EXPECT_EQ(app.FocusedControl(), "");
    EXPECT_EQ(app.Events(), "Separator OD Focus, Separator OD Lose Focus");
}

TEST_F(TextEditTest, InvalidTextIsDrawnInTheErrorColour) {
    CTextEditView& od = app.Box(names::Field(ParameterId::SeparatorOD));
    const TTextEdit& tag = TagOf(od);
    od.SetText("88888");
    app.Pass();
    const PixelBuffer valid = app.Grab(tag.absX, tag.absY, tag.width, tag.height);
    EXPECT_GT(CountColour(valid, 0x000000, 60), 20);
    EXPECT_EQ(CountColour(valid, 0xFF0000, 60), 0);

    od.SetValid(false);
    EXPECT_FALSE(od.IsValid());
    app.Pass();
    const PixelBuffer invalid = app.Grab(tag.absX, tag.absY, tag.width, tag.height);
    EXPECT_GT(CountColour(invalid, 0xFF0000, 60), 20);
    EXPECT_EQ(CountColour(invalid, 0x000000, 60), 0);

    od.SetValid(true);
    app.Pass();
    EXPECT_EQ(CountColour(app.Grab(tag.absX, tag.absY, tag.width, tag.height), 0xFF0000, 60), 0);
}

TEST_F(TextEditTest, DefaultTextOnlyOnTheFirstConfigure) {
    CTextEditView& od = app.Box(names::Field(ParameterId::SeparatorOD));
    TTextEdit& tag = *GetTagAs<TTextEdit>(od.GetTagHandle());
    tag.defaultText = "7.25";
    CTextEditView probe;
    probe.Init(Platform().mainWindow, "Probe", 300);
    probe.Configure(od.GetTagHandle());
    EXPECT_EQ(probe.GetText(), "7.25");
    EXPECT_TRUE(probe.IsVisible());

    probe.SetText("5");
    tag.defaultText = "9";
    probe.Configure(od.GetTagHandle());
    EXPECT_EQ(probe.GetText(), "5");
    probe.Shutdown();
    EXPECT_FALSE(probe.IsVisible());
}

TEST_F(TextEditTest, ReloadingTheTagsKeepsTheTypedText) {
    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorOD), error)) << error;
    ASSERT_TRUE(app.Input().TypeText("4.4", error)) << error;
    app.Box(names::Field(ParameterId::SeparatorOD)).SetValid(false);
    gWindowManager->RefreshTags();
    EXPECT_EQ(app.Box(names::Field(ParameterId::SeparatorOD)).GetText(), "4.4");
    EXPECT_FALSE(app.Box(names::Field(ParameterId::SeparatorOD)).IsValid());
    EXPECT_TRUE(app.Box(names::Field(ParameterId::SeparatorOD)).IsVisible());
    EXPECT_TRUE(app.Box(ViewName::kMaxCapacity).IsReadOnly());
}

TEST_F(TextEditTest, NameBoxAndCapacityBoxWithoutCrosstalk) {
    CTextEditView& capacity = app.Box(ViewName::kMaxCapacity);
    CTextEditView& name = app.SaveDialog().PresetName();
    EXPECT_EQ(capacity.Identifier(), 107); // the last of the parameters panel's six boxes
    EXPECT_EQ(name.Identifier(), 110);
    EXPECT_FALSE(name.IsVisible()); // shown only while the dialog is open

    app.SaveDialog().Open();
    EXPECT_TRUE(name.IsVisible());
    EXPECT_TRUE(name.HasFocus()); // the dialog gives its name box the focus
    app.Clear();
    ASSERT_TRUE(app.Input().Focus("Save Preset Dialog Preset Name", error)) << error;
    ASSERT_TRUE(app.Input().TypeText("Mine", error)) << error;
    capacity.SetText("950");
    EXPECT_EQ(app.Events(), "Save Preset Name Changed, Save Preset Name Changed, "
                            "Save Preset Name Changed, Save Preset Name Changed");
    EXPECT_EQ(name.GetText(), "Mine");
    EXPECT_EQ(capacity.GetText(), "950");
}

TEST_F(TextEditTest, OpeningTheSaveDialogAlwaysEmptiesTheNameBox) {
    CSavePresetView& dialog = app.SaveDialog();
    dialog.Open();
    dialog.PresetName().SetText("Cancelled attempt");
    dialog.Close();
    EXPECT_FALSE(dialog.PresetName().IsVisible());
    app.Clear();
    dialog.Open();
    EXPECT_EQ(dialog.PresetName().GetText(), "");
    const std::string openEvents =
        std::string(EventName::kSavePresetNameChanged) + ", Save Preset Dialog Preset Name Focus";
    EXPECT_EQ(app.Events(), openEvents);
    app.Clear();
    dialog.Close();
    dialog.Open(); // already empty: the change is still reported
    EXPECT_EQ(app.Events(), openEvents);
    gWindowManager->RefreshTags();
    EXPECT_TRUE(dialog.PresetName().IsVisible()); // a reload keeps an open dialog's box
}
} // namespace

// A click on the panel's picture while the dialog is open leaves the keys going to its box.
TEST_F(TextEditTest, AClickBesideAnOpenDialogLeavesTheFocusInItsBox) {
    app.SaveDialog().Open();
    app.Pass();
    ASSERT_EQ(app.FocusedControl(), ViewName::kSavePresetName);
    app.Input().MouseDown(100, 650); // the panel's picture under the dialog
    app.Input().MouseUp(100, 650);
    app.Pass();
    EXPECT_EQ(app.FocusedControl(), ViewName::kSavePresetName);
    std::string error;
    ASSERT_TRUE(app.Input().TypeText("Mine", error)) << error;
    EXPECT_EQ(app.SaveDialog().PresetName().GetText(), "Mine");
}
