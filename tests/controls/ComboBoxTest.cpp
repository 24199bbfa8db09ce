// Drop-down lists: the rows from the tag, the default row's life, selection by text, items
// added from outside the tag tree, reconfiguration and focus.

#include "tests/controls/ControlsTestSupport.h"

#include "app/services/EventNames.h"
#include "app/tags/ViewNames.h"

#include "app/tags/ComboBoxItem.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/WindowManager.h"

#include <gtest/gtest.h>

namespace {
constexpr const char* kUserDefined = "(User Defined)";
constexpr const char* kFirstPreset = "2-3/8 Collar Size Gas Separator";
constexpr const char* kPoorBoy = "2-7/8 Poor Boy Gas Separator";

class ComboBoxTest : public ::testing::Test {
protected:
    ComboBoxTest() {
        app.Listen({EventName::kSeparatorPresetChanged, EventName::kCasingSizeChanged,
                    "Casing Size Focus", "Casing Size Lose Focus"});
    }
    CComboBoxView& Presets() { return app.List(ViewName::kSeparatorPreset); }

    ControlsHarness app;
    std::string error;
};

TEST_F(ComboBoxTest, ConfigureListsTheTagRowsWithTheFirstSelected) {
    EXPECT_EQ(Presets().RowCount(), 11);
    EXPECT_EQ(Presets().GetSelectedText(), kFirstPreset);
    const auto* preset = dynamic_cast<TSeparatorPreset*>(Presets().GetSelectedItem());
    ASSERT_NE(preset, nullptr);
    EXPECT_DOUBLE_EQ(preset->preset.dimensions.GetSeparatorOD(), 3.125);
    EXPECT_EQ(app.List(ViewName::kCasingSize).RowCount(), 90);
    EXPECT_TRUE(Presets().IsVisible());
}

TEST_F(ComboBoxTest, DefaultRowExistsOnlyWhileSelected) {
    Presets().ShowDefaultText();
    EXPECT_EQ(Presets().RowCount(), 12);
    EXPECT_EQ(Presets().RowText(0), kUserDefined);
    EXPECT_EQ(Presets().GetSelectedText(), kUserDefined);
    EXPECT_EQ(Presets().GetSelectedItem(), nullptr);
    Presets().ShowDefaultText(); // already there: nothing changes
    EXPECT_EQ(Presets().RowCount(), 12);
    EXPECT_EQ(app.Events(), "");

    ASSERT_TRUE(app.Input().Select(ViewName::kSeparatorPreset, kPoorBoy, error)) << error;
    EXPECT_EQ(Presets().GetSelectedText(), kPoorBoy);
    EXPECT_EQ(Presets().RowCount(), 11);
    EXPECT_FALSE(Presets().HasDefaultRow());
    EXPECT_EQ(app.Events(), EventName::kSeparatorPresetChanged);
    app.Clear();

    Presets().SelectByText("No Such Separator");
    EXPECT_EQ(Presets().GetSelectedText(), kUserDefined);
    EXPECT_EQ(Presets().RowCount(), 12);
    Presets().SelectByText(kFirstPreset);
    EXPECT_EQ(Presets().GetSelectedText(), kFirstPreset);
    EXPECT_EQ(Presets().RowCount(), 11);
    EXPECT_EQ(app.Events(), ""); // selection from code is silent
}

TEST_F(ComboBoxTest, ListWithoutDefaultTextShowsNoSelectionForAnUnknownName) {
    CComboBoxView& casing = app.List(ViewName::kCasingSize);
    casing.SelectByText("13\" 1 lbs/ft (ID 1\")");
    EXPECT_EQ(casing.GetSelectedText(), "");
    EXPECT_EQ(casing.GetSelectedItem(), nullptr);
    EXPECT_EQ(casing.RowCount(), 90);
    casing.ShowDefaultText();
    EXPECT_EQ(casing.GetSelectedText(), "");
    casing.SelectByText("5\" 13 lbs/ft (ID 4.494\")");
    const auto* size = dynamic_cast<TCasingSize*>(casing.GetSelectedItem());
    ASSERT_NE(size, nullptr);
    EXPECT_DOUBLE_EQ(size->casingSize, 4.494);
    EXPECT_EQ(app.Events(), "");
}

TEST_F(ComboBoxTest, AddedItemsCanBePickedAndRemovedBeforeTheirOwnerDeletesThem) {
    TSeparatorPreset mine;
    mine.displayName = "My Separator";
    mine.preset.dimensions.SetSeparatorOD(4.2);
    TSeparatorPreset other;
    other.displayName = "Other Separator";
    Presets().AddItems({&mine, &other});
    EXPECT_EQ(Presets().RowCount(), 13);

    ASSERT_TRUE(app.Input().Select(ViewName::kSeparatorPreset, "My Separator", error)) << error;
    EXPECT_EQ(Presets().GetSelectedItem(), &mine);
    EXPECT_EQ(app.Events(), EventName::kSeparatorPresetChanged);

    Presets().RemoveAddedItems();
    EXPECT_EQ(Presets().RowCount(), 12); // the eleven presets and the default row instead
    EXPECT_EQ(Presets().GetSelectedText(), kUserDefined);
    for (int row = 0; row < Presets().RowCount(); ++row) {
        EXPECT_NE(Presets().RowText(row), "My Separator");
    }
    Presets().AddItems({&other});
    Presets().SelectByText(kPoorBoy);
    Presets().RemoveAddedItems(); // the selection stays when it is not among them
    EXPECT_EQ(Presets().GetSelectedText(), kPoorBoy);
    EXPECT_EQ(Presets().RowCount(), 11);
}

TEST_F(ComboBoxTest, ReconfiguringResetsToTheFirstRowAndRaisesTheEvent) {
    TSeparatorPreset mine;
    mine.displayName = "My Separator";
    Presets().AddItems({&mine});
    ASSERT_TRUE(app.Input().Select(ViewName::kSeparatorPreset, kPoorBoy, error)) << error;
    app.List(ViewName::kCasingSize).SelectByText("5\" 15 lbs/ft (ID 4.408\")");
    app.Clear();

    gWindowManager->RefreshTags();
    EXPECT_EQ(Presets().GetSelectedText(), kFirstPreset);
    EXPECT_EQ(Presets().RowCount(), 11); // the added row is gone
    EXPECT_EQ(app.List(ViewName::kCasingSize).GetSelectedText(), "4.5\" 9.5 lbs/ft (ID 4.09\")");
    EXPECT_EQ(app.Events(), "Separator Preset Changed, Casing Size Changed");
}

TEST_F(ComboBoxTest, OpeningTheListKeepsTheFocus) {
    ASSERT_TRUE(app.Input().Focus(ViewName::kCasingSize, error)) << error;
    ASSERT_TRUE(app.Input().Key("F4", error)) << error;
    EXPECT_TRUE(app.List(ViewName::kCasingSize).IsListOpen());
    ASSERT_TRUE(app.Input().Key("Escape", error)) << error;
    EXPECT_FALSE(app.List(ViewName::kCasingSize).IsListOpen());
    EXPECT_EQ(app.Events(), "Casing Size Focus");

    ASSERT_TRUE(app.Input().Key("Down", error)) << error; // a pick by keyboard counts
    EXPECT_EQ(app.List(ViewName::kCasingSize).GetSelectedText(), "4.5\" 10.5 lbs/ft (ID 4.052\")");
    EXPECT_EQ(app.Events(), "Casing Size Focus, Casing Size Changed");
}
} // namespace
