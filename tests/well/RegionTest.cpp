// Particle regions: emission, kept-alive counts, levels, overrides, layered drawing and the
// dip tube region's confinement.

#include "app/window_manager/DipTubeBubbleRegionView.h"
#include "app/window_manager/ParticleRegionView.h"
#include "app/window_manager/PixelCanvas.h"
#include "tests/well/WellTestSupport.h"

using welltest::ScratchTagTest;

namespace {
constexpr double kFrame = 1.0 / 60;

class RegionTest : public ScratchTagTest {
protected:
    CParticleRegionView region;

    void ConfigureRegion(const std::vector<std::string>& particles, const std::string& keys = "",
                         int w = 40, int h = 200) {
        region.Init(nullptr, "Test Region");
        region.Configure(Region("test", w, h, particles, keys));
    }
};
} // namespace

TEST_F(RegionTest, AKeptAliveTypeReplacesItsDeadParticleInTheSameUpdate) {
    Particle("marker", 15, 13, "Max Number of Particles: 1\nEdge Behavior Y: Death\n");
    ConfigureRegion({"marker"});
    region.Update(kFrame);
    ASSERT_EQ(region.Particles().size(), 1u);
    region.SetVelocityYOverride(-6000); // 100 px per frame: reaches the top soon
    int deaths = 0;
    for (int i = 0; i < 20; ++i) {
        const bool dying = region.Particles()[0].IsDead();
        region.Update(kFrame);
        EXPECT_EQ(region.Particles().size(), 1u);
        deaths += dying ? 1 : 0;
    }
    EXPECT_GE(deaths, 2);
    EXPECT_EQ(region.Emitters()[0].liveCount, 1);
}

TEST_F(RegionTest, ARateCarriesItsFractionFromFrameToFrame) {
    Particle("bubble", 4, 4, "Particles Per Second: 80\n");
    ConfigureRegion({"bubble"});
    size_t before = 0;
    for (int i = 0; i < 60; ++i) {
        region.Update(kFrame);
        const size_t born = region.Particles().size() - before;
        EXPECT_TRUE(born == 1 || born == 2) << "frame " << i << ": " << born;
        before = region.Particles().size();
    }
    // 80 a second, but for the rounding of sixty additions of 4/3.
    EXPECT_GE(region.Particles().size(), 79u);
    EXPECT_LE(region.Particles().size(), 80u);
    EXPECT_LT(region.Emitters()[0].accumulator, 1.0);
}

TEST_F(RegionTest, StoppedEmissionFreezesTheCarryAndKeepsTheLiveParticles) {
    Particle("bubble", 4, 4, "Particles Per Second: 30\n");
    ConfigureRegion({"bubble"});
    region.Update(0.05); // 1.5 particles: one born, half carried
    region.StopEmitting();
    region.Update(1.0);
    EXPECT_EQ(region.Particles().size(), 1u);
    region.StartEmitting();
    region.Update(kFrame); // 0.5 + 0.5
    EXPECT_EQ(region.Particles().size(), 2u);
}

TEST_F(RegionTest, TheLevelIsClampedAndMovesTheVisibleBottom) {
    ConfigureRegion({}, "Minimum Height: 56\n", 33, 290);
    EXPECT_EQ(region.VisibleBottomY(), 56);
    region.SetLevel(-0.5);
    EXPECT_EQ(region.Level(), 0);
    EXPECT_EQ(region.VisibleBottomY(), 56);
    region.SetLevel(2);
    EXPECT_EQ(region.Level(), 1);
    EXPECT_EQ(region.VisibleBottomY(), 290);
    region.SetLevel(0.5);
    EXPECT_EQ(region.VisibleBottomY(), 56 + 117);
}

TEST_F(RegionTest, AnOverrideJittersOnceAndRepeatingItChangesNothing) {
    Particle("speck", 4, 4, "Particles Per Second: 600\n");
    ConfigureRegion({"speck"});
    region.Update(kFrame);
    ASSERT_GE(region.Particles().size(), 5u);
    region.SetVelocityYOverride(-100);
    std::vector<double> speeds;
    for (const CLiveParticle& p : region.Particles()) {
        EXPECT_NEAR(p.velocityY, -100, 9.0 + 1e-9);
        speeds.push_back(p.velocityY);
    }
    region.SetVelocityYOverride(-100);
    for (size_t i = 0; i < speeds.size(); ++i) {
        EXPECT_EQ(region.Particles()[i].velocityY, speeds[i]);
    }
    region.Update(kFrame); // new particles get the override too
    EXPECT_NEAR(region.Particles().back().velocityY, -100, 9.0 + 1e-9);
    region.ClearVelocityYOverride();
    EXPECT_FALSE(region.HasVelocityYOverride());
    EXPECT_EQ(region.Particles().back().velocityY, 0); // the type has no range
}

TEST_F(RegionTest, ReconfiguringDropsParticlesButKeepsLevelOverridesAndEmission) {
    Particle("speck", 4, 4, "Particles Per Second: 600\n");
    ConfigureRegion({"speck"}, "Minimum Height: 50\n");
    region.Update(kFrame);
    region.SetLevel(0.25);
    region.SetVelocityYOverride(-40);
    region.StopEmitting();
    region.Configure(region.GetTagHandle());
    EXPECT_TRUE(region.Particles().empty());
    EXPECT_EQ(region.Emitters()[0].accumulator, 0);
    EXPECT_EQ(region.Level(), 0.25);
    EXPECT_EQ(region.VisibleBottomY(), 50 + 37);
    EXPECT_EQ(region.VelocityYOverride(), -40);
    EXPECT_FALSE(region.IsEmitting());
}

TEST_F(RegionTest, OnlyTheLowestVisibleRowsAreShownAtTheRegionsTop) {
    Particle("dot", 4, 4, "Max Number of Particles: 1\n");
    ConfigureRegion({"dot"}, "Minimum Height: 50\n", 40, 200);
    region.Update(kFrame);
    CLiveParticle& p = region.Particles()[0];
    CPixelCanvas target;
    target.Reset(40, 200);
    p.x = 10;
    p.y = 180; // in the lowest 50 rows: shown 150 rows higher
    region.DrawParticles(target);
    EXPECT_EQ(target.Pixel(11, 31), welltest::kOpaquePixel);
    EXPECT_EQ(target.Pixel(11, 181), 0u);
    target.Reset(40, 200);
    p.y = 150; // at the cut, not strictly below it: not drawn
    region.DrawParticles(target);
    EXPECT_EQ(target.Pixel(11, 1), 0u);
}

TEST_F(RegionTest, LayersSplitParticlesByTheirFrontFlag) {
    Particle("dot", 4, 4, "Max Number of Particles: 2\n");
    ConfigureRegion({"dot"});
    region.SetLevel(1);
    region.Update(kFrame);
    auto& particles = region.Particles();
    ASSERT_EQ(particles.size(), 2u);
    particles[0].x = 2, particles[0].y = 20, particles[0].front = true;
    particles[1].x = 20, particles[1].y = 20, particles[1].front = false;
    CPixelCanvas front;
    front.Reset(40, 200);
    region.DrawParticles(front, CParticleRegionView::Layer::Front);
    EXPECT_NE(front.Pixel(3, 21), 0u);
    EXPECT_EQ(front.Pixel(21, 21), 0u);
    CPixelCanvas back;
    back.Reset(40, 200);
    region.DrawParticles(back, CParticleRegionView::Layer::Back);
    EXPECT_EQ(back.Pixel(3, 21), 0u);
    EXPECT_NE(back.Pixel(21, 21), 0u);
}

TEST_F(RegionTest, AKeptAliveTypeWithTheDefaultCountCannotStallTheProgram) {
    Particle("endless", 2, 2);
    ConfigureRegion({"endless"});
    region.Update(kFrame);
    EXPECT_EQ(region.Particles().size(),
              static_cast<size_t>(CParticleRegionView::kMaxSpawnPerUpdate));
}

TEST_F(RegionTest, AnAbsurdRateIsLimitedPerUpdateAndPerRegion) {
    constexpr size_t kPerUpdate = CParticleRegionView::kMaxSpawnPerUpdate;
    Particle("storm", 2, 2, "Particles Per Second: 1000000\nLifespan: 1000\n");
    ConfigureRegion({"storm"});
    region.Update(kFrame); // 16,667 asked for
    ASSERT_EQ(region.Particles().size(), kPerUpdate);
    EXPECT_LT(region.Emitters()[0].accumulator, 1.0); // no backlog either

    Particle("tempest", 2, 2, "Particles Per Second: 1000000000\nLifespan: 1000\n");
    CParticleRegionView wide;
    wide.Init(nullptr, "Wide Region");
    wide.Configure(Region("wide", 40, 200, {"tempest"}));
    for (size_t i = 1; i <= 30; ++i) {
        wide.Update(kFrame);
        EXPECT_EQ(wide.Particles().size(),
                  std::min(i * kPerUpdate, size_t{CParticleRegionView::kMaxLiveParticles}));
    }
    wide.Shutdown();
}

TEST_F(RegionTest, AnEmptyRegionUpdatesAndDrawsWithoutFault) {
    Particle("flow", 4, 4,
             "Max Number of Particles: 3\nEdge Behavior X: Flow\nEdge Behavior Y: Flow\n");
    ConfigureRegion({"flow"}, "", 0, 0);
    region.SetVelocityXOverride(50);
    for (int i = 0; i < 5; ++i) {
        region.Update(kFrame);
    }
    CPixelCanvas target;
    target.Reset(10, 10);
    region.DrawParticles(target);
    EXPECT_EQ(region.Particles().size(), 3u);
}

namespace {
class DipTubeRegionTest : public ScratchTagTest {
protected:
    CDipTubeBubbleRegionView region;

    void SetUp() override {
        ScratchTagTest::SetUp();
        Particle("bubble", 8, 8,
                 "Velocity Y Minimum: -45\nVelocity Y Maximum: 0\n"
                 "Velocity X Minimum: -35\nVelocity X Maximum: 35\n"
                 "Edge Behavior Y: Death\nMax Number of Particles: 1\n");
        region.Init(nullptr, "Dip Tube Center");
        region.Configure(Region("center", 95, 568, {"bubble"},
                                "Dip Tube X: 26\nDip Tube Y: 0\n"
                                "Dip Tube Height: 555\nDip Tube Width: 33\n",
                                "diptubeparticleregion"));
        region.SetChamber(0, 65, 85, 171);
    }

    CLiveParticle& Bubble(int x, int y) {
        CLiveParticle p;
        p.Spawn(region.Emitters()[0].particle, region.GetTagHandle());
        p.x = x, p.y = y;
        region.Particles().push_back(p);
        return region.Particles().back();
    }
};
} // namespace

TEST_F(DipTubeRegionTest, TheRectanglesFollowTheChamberAndTheTube) {
    EXPECT_EQ(region.Tube(), (ParticleRect{26, -4, 59, 559}));
    EXPECT_EQ(region.Upper(), (ParticleRect{0, 0, 85, 61}));
    EXPECT_EQ(region.Lower(), (ParticleRect{26, 171, 59, 559}));
    EXPECT_EQ(region.Column(), (ParticleRect{26, 65, 59, 559}));
}

TEST_F(DipTubeRegionTest, SeatedValvesHoldTheBubblesBelowTheChamber) {
    CLiveParticle& p = Bubble(30, 300);
    region.SetStandingValveSeated(true);
    region.OnParticleUpdate(p, kFrame);
    EXPECT_EQ(p.bounds, region.Lower());
    EXPECT_EQ(p.edgeBehaviorY, EdgeBehavior::Bounce);
    region.SetStandingValveSeated(false);
    region.SetTravelingValveSeated(true);
    region.OnParticleUpdate(p, kFrame);
    EXPECT_EQ(p.bounds, region.Column());
}

TEST_F(DipTubeRegionTest, OpenValvesLetBubblesRiseThroughTheTubeIntoTheChamber) {
    region.SetVelocityYOverride(-100);
    CLiveParticle& p = Bubble(30, 300);
    region.OnParticleUpdate(p, kFrame);
    EXPECT_EQ(p.bounds, region.Tube());
    EXPECT_EQ(p.edgeBehaviorY, EdgeBehavior::Death);
    EXPECT_NEAR(p.velocityY, -100, 9.0 + 1e-9); // re-drawn every frame it is free
    CLiveParticle& q = Bubble(10, 100);         // in the chamber, outside the tube
    region.OnParticleUpdate(q, kFrame);
    EXPECT_EQ(q.bounds, region.Chamber());
    EXPECT_EQ(q.edgeBehaviorY, EdgeBehavior::Bounce);
}

TEST_F(DipTubeRegionTest, BubblesAboveTheChamberShrinkAway) {
    CLiveParticle& p = Bubble(30, 20);
    region.OnParticleUpdate(p, kFrame);
    EXPECT_TRUE(p.shrinking);
    EXPECT_EQ(p.bounds, region.Upper());
}

// A frame's random draws go to the particles newest first: with a speed override every free
// bubble in the tube has its speed jittered again, two draws each.
TEST_F(DipTubeRegionTest, AFrameDrawsItsRandomNumbersForTheNewestParticleFirst) {
    region.StopEmitting();
    region.SetVelocityYOverride(-100);
    for (int i = 0; i < 6; ++i) {
        CLiveParticle& p = Bubble(30, 200 + 40 * i);
        p.baseX = 30;
        p.baseY = p.y;
    }
    for (unsigned seed : {3u, 2024u}) {
        SeedParticleRandom(seed);
        region.Update(kFrame);
        const int next = ParticleRandom();
        SeedParticleRandom(seed);
        for (size_t i = region.Particles().size(); i-- > 0;) {
            EXPECT_EQ(region.Particles()[i].velocityY, Jitter(-100)) << "particle " << i;
        }
        EXPECT_EQ(ParticleRandom(), next);
    }
}
