// The parameters panel: its members, the Tab order, and the still picture that stands in
// for the controls while a dialog is open.

#include "tests/TableNames.h"
#include "tests/controls/ControlsTestSupport.h"

#include "app/tags/ViewNames.h"

#include "app/window_manager/AppView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/ParametersPanelView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"

#include <gtest/gtest.h>

namespace {
class PanelTest : public ::testing::Test {
protected:
    ControlsHarness app;
    std::string error;
};

// Records where opaque copies land.
class CCopyCanvas : public ICanvas {
public:
    int Width() const override { return 1018; }
    int Height() const override { return 720; }
    void CopyImage(const ImageRef& image, int x, int y) override {
        std::uint64_t sum = 0;
        for (int row = 0; row < image.height; ++row) {
            for (int col = 0; col < image.width; ++col) {
                sum = sum * 31 + image.pixels[static_cast<size_t>(row) * image.width + col];
            }
        }
        copies.push_back({x, y, image.width, image.height, sum});
    }
    void DrawImage(const ImageRef&, int, int, int) override { ++draws; }
    void DrawImageScaled(const ImageRef&, int, int, int, int, int) override { ++draws; }
    void DrawOutlinedText(const TextStyle&, int, int, const std::string&) override { ++draws; }
    int MeasureText(const TextStyle&, const std::string&) override { return 0; }
    PixelBuffer ReadPixels(int, int, int, int) const override { return {}; }

    struct Copy {
        int x, y, w, h;
        std::uint64_t checksum;
    };
    std::vector<Copy> copies;
    int draws = 0;
};

TEST_F(PanelTest, MembersHaveTheirNamesAndIdentifiers) {
    EXPECT_EQ(app.List(ViewName::kSeparatorPreset).Identifier(), 201);
    EXPECT_EQ(app.List(ViewName::kCasingSize).Identifier(), 202);
    // The boxes take their identifiers from 102 on, in the panel tag's order.
    int identifier = 102;
    for (const auto& box : app.Panel().Fields()) {
        EXPECT_EQ(app.Box(box->Name()).Identifier(), identifier++) << box->Name();
        EXPECT_TRUE(app.Box(box->Name()).IsVisible()) << box->Name();
    }
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.IsTyped()) {
            EXPECT_NE(gWindowManager->RootView().Field(parameter.field), nullptr) << parameter.name;
        }
    }
    EXPECT_NE(app.Panel().Field(ViewName::kMaxCapacity), nullptr);
    EXPECT_NE(gWindowManager->FindView(ViewName::kRecommendedDipTubeLength), nullptr);
    EXPECT_EQ(gWindowManager->FindView(ViewName::kParametersPanel), &app.Panel());
}

TEST_F(PanelTest, TabWalksTheEditableControlsFromTopToBottom) {
    const std::vector<std::string> order = {ViewName::kCasingSize,
                                            ViewName::kSeparatorPreset,
                                            names::Field(ParameterId::SeparatorOD),
                                            names::Field(ParameterId::SeparatorID),
                                            names::Field(ParameterId::DipTubeOD),
                                            names::Field(ParameterId::DipTubeID),
                                            names::Field(ParameterId::DipTubeLength),
                                            names::Field(ParameterId::RiseVelocity),
                                            names::Field(ParameterId::RateFromPump),
                                            names::Field(ParameterId::ProductionRate),
                                            names::Field(ParameterId::SPM),
                                            names::Field(ParameterId::PlungerDiameter),
                                            names::Field(ParameterId::StrokeLength),
                                            names::Field(ParameterId::PumpEfficiency)};
    ASSERT_TRUE(app.Input().Focus(order.front(), error)) << error;
    for (size_t i = 1; i < order.size(); ++i) {
        ASSERT_TRUE(app.Input().Key("Tab", error)) << error;
        EXPECT_EQ(app.FocusedControl(), order[i]);
    }
    for (size_t i = order.size() - 1; i > 0; --i) {
        ASSERT_TRUE(app.Input().Key("Backtab", error)) << error;
        EXPECT_EQ(app.FocusedControl(), order[i - 1]);
    }
}

TEST_F(PanelTest, OpenDialogShowsAStillPictureOfThePanelAsItWas) {
    ASSERT_TRUE(app.Input().Focus(names::Field(ParameterId::DipTubeLength), error)) << error;
    ASSERT_TRUE(app.Input().TypeText("12.5", error)) << error;
    app.Input().MouseDown(100, 705); // the focus back to the window, as a click does
    app.Input().MouseUp(100, 705);
    app.Pass();
    const PixelBuffer before = app.Grab(0, 51, 430, 669);

    gWindowManager->RootView().SuspendInteraction();
    app.SaveDialog().Open();
    CParametersPanelView& panel = app.Panel();
    ASSERT_TRUE(panel.HasSnapshot());
    EXPECT_FALSE(app.Box(names::Field(ParameterId::DipTubeLength)).IsVisible());
    EXPECT_FALSE(app.List(ViewName::kCasingSize).IsVisible());
    EXPECT_FALSE(app.Input().Focus(names::Field(ParameterId::DipTubeLength),
                                   error)); // hidden controls cannot be reached

    // The panel starts 2 pixels left of the window: the picture is what lies inside.
    CCopyCanvas canvas;
    panel.Draw(canvas);
    ASSERT_EQ(canvas.copies.size(), 1u);
    EXPECT_EQ(canvas.copies[0].x, 0);
    EXPECT_EQ(canvas.copies[0].y, 51);
    EXPECT_EQ(canvas.draws, 0);

    // With the dialog drawn the panel region shows the same pixels where the dialog is not.
    app.Pass();
    const PixelBuffer during = app.Grab(0, 51, 430, 669);
    ASSERT_EQ(during.pixels.size(), before.pixels.size());
    const int dialogLeft = 160; // the dialog covers x >= 160, y in 120..480 or so
    int differing = 0;
    for (int y = 0; y < before.height; ++y) {
        for (int x = 0; x < dialogLeft - 1; ++x) {
            const size_t i = static_cast<size_t>(y) * before.width + x;
            differing += before.pixels[i] != during.pixels[i] ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    const PixelBuffer typed = app.Grab(178, 51 + 344, 100, 29); // "12.5" in the length box
    EXPECT_GT(CountColour(typed, 0x000000, 60), 20);
}

TEST_F(PanelTest, ReloadWhileADialogIsOpenKeepsTheControlsHiddenAndThePicture) {
    gWindowManager->RootView().SuspendInteraction();
    app.SaveDialog().Open();
    app.Pass();
    CCopyCanvas first;
    app.Panel().Draw(first);

    gWindowManager->RefreshTags();
    EXPECT_FALSE(app.Box(names::Field(ParameterId::SeparatorOD)).IsVisible());
    EXPECT_FALSE(app.List(ViewName::kSeparatorPreset).IsVisible());
    EXPECT_TRUE(app.Panel().HasSnapshot());
    CCopyCanvas second;
    app.Panel().Draw(second);
    ASSERT_EQ(second.copies.size(), 1u);
    EXPECT_EQ(second.copies[0].checksum, first.copies[0].checksum); // not retaken over the dialog

    app.SaveDialog().Close();
    gWindowManager->RootView().ResumeInteraction();
    EXPECT_FALSE(app.Panel().HasSnapshot());
    EXPECT_TRUE(app.Box(names::Field(ParameterId::SeparatorOD)).IsVisible());
    EXPECT_TRUE(app.List(ViewName::kSeparatorPreset).IsVisible());
    EXPECT_TRUE(app.Input().Focus(names::Field(ParameterId::SeparatorOD), error)) << error;
}
} // namespace
