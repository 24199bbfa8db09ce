// The well animation controller against the real gas separator view, registered with a window
// manager that has no window, and the simulation core's events and model.

#include "app/controllers/WellAnimationController.h"

#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/SimulationCore.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/well/WellTestSupport.h"

using welltest::ShippedWellTest;

namespace {
class WellAnimationControllerTest : public ShippedWellTest {
protected:
    CSimulationCore core;
    CGasSeparatorView* view = nullptr;
    std::unique_ptr<CWellAnimationController> controller_;

    void SetUp() override {
        ShippedWellTest::SetUp();
        core.CreateEvents();
        core.CreateModel(false);
        WellParameters& p = core.Model()->GetParameters();
        p.SetCasingSize(4.5);
        p.SetSeparatorOD(3);
        p.SetSeparatorID(2.75);
        p.SetDipTubeOD(1.35);
        p.SetDipTubeID(1.084);
        p.SetDipTubeLength(42);
        p.SetGasBubbleRiseVelocity(6);
        view_ = std::make_unique<CGasSeparatorView>();
        view = view_.get();
        view->Init(nullptr, ViewName::kGasSeparator);
        view->Configure(wellTag);
        controller_ = std::make_unique<CWellAnimationController>(*core.Model(), *view);
        controller_->Initialise();
    }

    void TearDown() override {
        controller_.reset();
        view_.reset();
        core.Reset();
        ShippedWellTest::TearDown();
    }

    CDimensionLineView& Line(int index) { return view->DimensionLine(index); }

    void Frame(double position, double plungerVelocity) {
        SimulationState state;
        state.plungerPosition = position;
        state.plungerVelocity = plungerVelocity;
        state.dipTubeBubbleVelocity = 2;
        state.dipTubeLiquidVelocity = 3;
        state.annulusLiquidVelocity = -1;
        state.gasPenetrationFraction = 0.5;
        core.Model()->CopyStateFrom(state);
    }

private:
    std::unique_ptr<CGasSeparatorView> view_;
};
} // namespace

TEST_F(WellAnimationControllerTest, StartsWithTheValuesSetAndEveryLineFlashing) {
    EXPECT_EQ(Line(0).Label().DisplayText().rfind("4.5", 0), 0u);
    EXPECT_EQ(Line(4).Label().DisplayText().rfind("1.084", 0), 0u);
    EXPECT_EQ(Line(5).Label().DisplayText().rfind("42", 0), 0u);
    for (int i = 0; i < CGasSeparatorView::kDimensionLineCount; ++i) {
        EXPECT_TRUE(Line(i).IsVisible());
        EXPECT_TRUE(Line(i).IsFading());
    }
}

TEST_F(WellAnimationControllerTest, PinnedDimensionsIgnoreLostFocusAndPresetFlashes) {
    RaiseEvent(EventName::kShowDimensions);
    EXPECT_TRUE(controller_->DimensionsPinned());
    RaiseEvent("Dip Tube ID Lose Focus");
    RaiseEvent(EventName::kSeparatorPresetChanged);
    for (int i = 0; i < CGasSeparatorView::kDimensionLineCount; ++i) {
        EXPECT_TRUE(Line(i).IsVisible());
        EXPECT_FALSE(Line(i).IsFading());
    }
    RaiseEvent(EventName::kHideDimensions);
    for (int i = 0; i < CGasSeparatorView::kDimensionLineCount; ++i) {
        EXPECT_FALSE(Line(i).IsVisible());
    }
    RaiseEvent(EventName::kSeparatorPresetChanged);
    EXPECT_FALSE(Line(0).IsVisible()); // the casing line is not part of a separator preset
    EXPECT_TRUE(Line(1).IsFading());
    RaiseEvent("Casing Size Focus");
    EXPECT_TRUE(Line(0).IsVisible());
    EXPECT_FALSE(Line(0).IsFading());
    RaiseEvent("Casing Size Lose Focus");
    EXPECT_FALSE(Line(0).IsVisible());
}

TEST_F(WellAnimationControllerTest, NewParametersUpdateTheLineValues) {
    core.Model()->GetParameters().SetDipTubeLength(37.5);
    RaiseEvent(EventName::kWellParametersUpdated);
    EXPECT_EQ(Line(5).Label().DisplayText().rfind("37.5", 0), 0u);
}

TEST_F(WellAnimationControllerTest, WhileStoppedTheLiquidRestsAndTheBubblesRiseAtTheirOwnSpeed) {
    view->OpenIntakeValve();
    Frame(0.5, 0);
    EXPECT_FALSE(view->StandingValve().IsOpen());
    EXPECT_TRUE(view->Plunger().Valve().IsOpen());
    const double k = 234.0 / 42.0;
    EXPECT_DOUBLE_EQ(view->DipTubeCenterRegion().VelocityYOverride(), -6 * k);
    EXPECT_EQ(view->FlowIndicatorRegion().VelocityYOverride(), 0);
    EXPECT_FALSE(view->FlowIndicatorRegion().IsEmitting());
    EXPECT_EQ(view->Region(CGasSeparatorView::DipTubeTopFluid).VelocityYOverride(), 0);
    EXPECT_EQ(view->Plunger().Position(), 0.5);
}

TEST_F(WellAnimationControllerTest, OnTheUpstrokeTheIntakeOpensOnlyAboveTheStrokesFoot) {
    Frame(0.04, 1.0);
    EXPECT_FALSE(view->StandingValve().IsOpen()); // keeps its closed state
    EXPECT_FALSE(view->Plunger().Valve().IsOpen());
    const double k = 234.0 / 42.0;
    EXPECT_DOUBLE_EQ(view->DipTubeCenterRegion().VelocityYOverride(), -2 * k);
    EXPECT_DOUBLE_EQ(view->FlowIndicatorRegion().VelocityYOverride(), -3 * k);
    EXPECT_DOUBLE_EQ(view->Region(CGasSeparatorView::DipTubeTopFluid).VelocityYOverride(), -75);
    EXPECT_DOUBLE_EQ(view->Region(CGasSeparatorView::DipTubeLeftFluid).VelocityYOverride(), k);
    Frame(0.06, 1.0);
    EXPECT_TRUE(view->StandingValve().IsOpen());
}

TEST_F(WellAnimationControllerTest, ADipTubeOfNoLengthMovesNothingInsteadOfDividing) {
    core.Model()->GetParameters().SetDipTubeLength(0);
    Frame(0.5, 0);
    EXPECT_EQ(view->DipTubeCenterRegion().VelocityYOverride(), 0);
}
