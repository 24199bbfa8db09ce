// The gas separator view with the shipped well model: inputs, valves, plunger, reloads.

#include "app/window_manager/GasSeparatorView.h"

#include "app/tags/ViewNames.h"
#include "app/window_manager/PixelCanvas.h"
#include "tests/well/WellTestSupport.h"

using welltest::ShippedWellTest;

namespace {
constexpr double kFrame = 1.0 / 60;

class GasSeparatorTest : public ShippedWellTest {
protected:
    CGasSeparatorView view;

    void SetUp() override {
        ShippedWellTest::SetUp();
        view.Init(nullptr, ViewName::kGasSeparator);
        view.Configure(wellTag);
    }

    void Run(double seconds, CParticleRegionView& region) {
        for (double t = 0; t < seconds; t += kFrame) {
            region.Update(kFrame);
        }
    }
};
} // namespace

TEST_F(GasSeparatorTest, ScalesComeFromTheDipTubeRegionAndThePlungerStroke) {
    EXPECT_EQ(view.DipTubeLengthPixels(), 234);
    EXPECT_EQ(view.PlungerStrokePixels(), 75);
}

TEST_F(GasSeparatorTest, ThePlungerStandsAtItsStrokeEnds) {
    view.SetPlungerPosition(1);
    EXPECT_EQ(view.Plunger().CurrentY(), -110);
    view.SetPlungerPosition(0);
    EXPECT_EQ(view.Plunger().CurrentY(), -35);
    view.SetPlungerPosition(2.5);
    EXPECT_EQ(view.Plunger().CurrentY(), -110);
    view.SetPlungerPosition(0.5);
    EXPECT_EQ(view.Plunger().CurrentY(), -35 - 37);
}

TEST_F(GasSeparatorTest, AValveReversedMidTravelStartsItsNewTravelFromTheFarEnd) {
    CValveView& valve = view.StandingValve();
    EXPECT_EQ(valve.LowerY(), 157);
    EXPECT_EQ(valve.UpperY(), 147);
    valve.Update(1.0);
    EXPECT_TRUE(valve.IsSeated());
    view.OpenIntakeValve();
    valve.Update(0.375);
    EXPECT_EQ(valve.CurrentY(), 152); // half of the 10 px travel
    view.CloseIntakeValve();
    valve.Update(0.0);
    EXPECT_EQ(valve.CurrentY(), 147); // the closing travel starts at the upper Y
    valve.Update(0.375);
    EXPECT_EQ(valve.CurrentY(), 152);
    valve.Update(0.4);
    EXPECT_TRUE(valve.IsSeated());
    view.CloseIntakeValve(); // already closed: no new travel
    valve.Update(0.0);
    EXPECT_TRUE(valve.IsSeated());
}

TEST_F(GasSeparatorTest, TheFlowMarkerIsHeldWhileTheFlowStopsAndReleasedAfterwards) {
    CFlowIndicatorView& marker = view.FlowIndicatorRegion();
    view.SetDipTubeFluidSpeed(120);
    marker.Update(kFrame);
    ASSERT_EQ(marker.Particles().size(), 1u);
    Run(0.5, marker);
    const int y = marker.Particles()[0].y;
    view.SetDipTubeFluidSpeed(0);
    EXPECT_FALSE(marker.IsEmitting());
    Run(2.0, marker);
    ASSERT_EQ(marker.Particles().size(), 1u);
    EXPECT_EQ(marker.Particles()[0].y, y);
    view.SetDipTubeFluidSpeed(2000);
    int births = 0;
    TagHandle last = -1;
    double lastAge = 1e9;
    for (int i = 0; i < 120; ++i) {
        marker.Update(kFrame);
        ASSERT_LE(marker.Particles().size(), 1u);
        if (!marker.Particles().empty()) {
            births += marker.Particles()[0].age < lastAge ? 1 : 0;
            lastAge = marker.Particles()[0].age;
            last = marker.Particles()[0].type;
        }
    }
    EXPECT_GE(births, 2); // it died at the top and only then was replaced
    EXPECT_NE(last, -1);
}

TEST_F(GasSeparatorTest, RepeatedValuesDoNotActAgain) {
    CParticleRegionView& leftTop = view.Region(CGasSeparatorView::PerfLeftTop);
    view.SetGasPenetration(0.3);
    view.SetAnnulusBubbleSpeed(-5); // the ports' upper regions stop emitting
    EXPECT_FALSE(leftTop.IsEmitting());
    view.SetGasPenetration(0.3); // unchanged: does not restart them
    EXPECT_FALSE(leftTop.IsEmitting());
    view.SetGasPenetration(0.0);
    view.SetGasPenetration(0.4); // from 0: restarts them
    EXPECT_TRUE(leftTop.IsEmitting());
}

TEST_F(GasSeparatorTest, FullPenetrationStartsTheDipTubeBubblesAndDrivesTheAnnulusBubbles) {
    view.SetAnnulusBubbleSpeed(20);
    view.SetGasPenetration(1);
    EXPECT_TRUE(view.DipTubeCenterRegion().IsEmitting());
    EXPECT_EQ(view.Region(CGasSeparatorView::DipTubeLeft).VelocityYOverride(), -20);
    EXPECT_EQ(view.Region(CGasSeparatorView::DipTubeRight).Level(), 1);
    view.SetGasPenetration(0.5);
    EXPECT_FALSE(view.DipTubeCenterRegion().IsEmitting());
    EXPECT_FALSE(view.Region(CGasSeparatorView::DipTubeLeft).HasVelocityYOverride());
}

TEST_F(GasSeparatorTest, AReloadKeepsTheLevelsAndTheInputs) {
    view.SetGasPenetration(0.5);
    view.SetDipTubeBubbleSpeed(30);
    const int bottom = view.Region(CGasSeparatorView::DipTubeLeft).VisibleBottomY();
    view.Configure(wellTag);
    EXPECT_EQ(view.Region(CGasSeparatorView::DipTubeLeft).VisibleBottomY(), bottom);
    EXPECT_EQ(view.Region(CGasSeparatorView::DipTubeRight).Level(), 0.5);
    EXPECT_EQ(view.DipTubeCenterRegion().VelocityYOverride(), -30);
}

TEST_F(GasSeparatorTest, TheChamberFollowsThePlungerAndTheValvesReportTheirSeats) {
    view.SetPlungerPosition(1);
    view.OpenPlungerValve();
    view.Plunger().Valve().Update(0.1);
    view.StandingValve().Update(1.0);
    view.RefreshDipTube();
    const CDipTubeBubbleRegionView& center = view.DipTubeCenterRegion();
    EXPECT_EQ(center.Chamber(), (ParticleRect{0, -110 + 156 + 26 - 7, 85, 171}));
    EXPECT_FALSE(center.TravelingValveSeated());
    EXPECT_TRUE(center.StandingValveSeated());
}

TEST_F(GasSeparatorTest, DrawsTheWellIntoTheBackBuffer) {
    view.SetGasPenetration(1);
    for (int i = 0; i < 30; ++i) {
        for (int id = 0; id < CGasSeparatorView::kRegionCount; ++id) {
            view.Region(static_cast<CGasSeparatorView::RegionId>(id)).Update(kFrame);
        }
    }
    CPixelCanvas canvas;
    canvas.Reset(1300, 720);
    view.Draw(canvas);
    EXPECT_EQ(canvas.Pixel(986, 0), welltest::kOpaquePixel); // the casing picture
    EXPECT_EQ(canvas.Pixel(985, 0), 0u);
    EXPECT_GT(view.Region(CGasSeparatorView::Casing).Particles().size(), 100u);
}

TEST(WellRegions, TheTableGivesTheWellItsDrawingOrder) {
    using Order = std::vector<WellRegionId>;
    const auto under = RegionsDrawnIn<RegionLayer::UnderSeparator>();
    EXPECT_EQ(Order(under.begin(), under.end()),
              (Order{Casing, PerfLeftTop, PerfLeftTopFluid, PerfLeftBottom, PerfRightTop,
                     PerfRightTopFluid, PerfRightBottom}));
    // The dip tube's bottom fluid goes under its centre fluid, unlike their member order.
    const auto over = RegionsDrawnIn<RegionLayer::OverSeparator>();
    EXPECT_EQ(Order(over.begin(), over.end()),
              (Order{PerfLeft, PerfRight, DipTubeLeft, DipTubeLeftFluid, DipTubeCenterBottomFluid,
                     DipTubeCenterFluid, DipTubeTopFluid, DipTubeRight, DipTubeRightFluid,
                     FlowIndicator}));
    const auto around = RegionsDrawnIn<RegionLayer::AroundPlunger>();
    EXPECT_EQ(Order(around.begin(), around.end()), Order{DipTubeCenter});
    for (int id = 0; id < kWellRegionCount; ++id) {
        EXPECT_EQ(kWellRegions[id].id, id) << "the table's rows follow WellRegionId";
    }
}
