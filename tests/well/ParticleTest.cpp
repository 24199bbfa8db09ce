// One particle: spawning, speed picks, edges, fading and shrinking.

#include "app/window_manager/LiveParticle.h"
#include "tests/well/WellTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <vector>

using welltest::RecordingCanvas;
using welltest::ScratchTagTest;

namespace {
class ParticleTest : public ScratchTagTest {
protected:
    // A particle of `kind` spawned in a w x h region whose spawn rectangle is the whole region.
    CLiveParticle SpawnIn(TagHandle kind) {
        if (!region_) {
            region_ = Region("region", 100, 100, {});
        }
        CLiveParticle particle;
        particle.Spawn(kind, region_);
        return particle;
    }

private:
    TagHandle region_ = 0;
};

// Puts the particle at (x, y) with no travel so far.
void PlaceAt(CLiveParticle& p, int x, int y) {
    p.baseX = p.x = x;
    p.baseY = p.y = y;
    p.offsetX = p.offsetY = 0;
}
} // namespace

TEST_F(ParticleTest, ATypeWithOnlyAnImageIsOpaqueUnmovingAndLivesPracticallyForever) {
    CLiveParticle p = SpawnIn(Particle("plain", 8, 6));
    EXPECT_EQ(p.alpha, 255);
    EXPECT_EQ(p.drawnWidth, 8);
    EXPECT_EQ(p.drawnHeight, 6);
    EXPECT_EQ(p.velocityX, 0);
    EXPECT_EQ(p.velocityY, 0); // no range means no speed, not 2147483647 px/s
    const int x = p.x, y = p.y;
    p.Update(1.0);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_FALSE(p.IsDead());
}

TEST_F(ParticleTest, VerticalSpeedIsTheRangeMaximumExceptOnceInAHundred) {
    const TagHandle kind =
        Particle("rising", 4, 4, "Velocity Y Minimum: -600\nVelocity Y Maximum: -200\n");
    int atMaximum = 0;
    std::set<double> seen;
    for (int i = 0; i < 2000; ++i) {
        CLiveParticle p = SpawnIn(kind);
        seen.insert(p.velocityY);
        atMaximum += p.velocityY == -200 ? 1 : 0;
    }
    EXPECT_EQ(seen, (std::set<double>{-600, -200}));
    EXPECT_GT(atMaximum, 1940);
}

TEST_F(ParticleTest, JitterStaysWithinNinePercentInWholePercentSteps) {
    std::set<long> percents;
    for (int i = 0; i < 500; ++i) {
        const double v = Jitter(200.0);
        EXPECT_LE(std::abs(v - 200.0), 18.0 + 1e-9);
        percents.insert(std::lround((v - 200.0) / 2.0));
    }
    EXPECT_EQ(percents.size(), 19u); // -9 .. +9
    EXPECT_EQ(Jitter(0.0), 0.0);
}

TEST_F(ParticleTest, ARandomSizeNeedsBothSidesToDifferFromTheImage) {
    // Minimum width equals the image width: the image size is kept.
    CLiveParticle same =
        SpawnIn(Particle("narrow", 14, 16, "Minimum Width: 14\nMinimum Height: 8\n"));
    EXPECT_EQ(same.drawnWidth, 14);
    EXPECT_EQ(same.drawnHeight, 16);
    const TagHandle kind = Particle("big", 49, 28, "Minimum Width: 14\nMinimum Height: 16\n");
    for (int i = 0; i < 50; ++i) {
        CLiveParticle p = SpawnIn(kind);
        EXPECT_GE(p.drawnWidth, 14);
        EXPECT_LE(p.drawnWidth, 49);
        EXPECT_GE(p.drawnHeight, 16);
        EXPECT_LE(p.drawnHeight, 28);
    }
}

TEST_F(ParticleTest, SpawnsInsideTheCreationBoundsOrAtTheirOriginWhenTooSmall) {
    const TagHandle kind = Particle("dot", 10, 10);
    const TagHandle wide = Region("wide", 100, 300, {},
                                  "Particle Creation Bounds Y: 250\n"
                                  "Particle Creation Bounds Height: 30\n");
    const TagHandle tight = Region("tight", 100, 300, {},
                                   "Particle Creation Bounds X: 20\n"
                                   "Particle Creation Bounds Width: 5\n");
    for (int i = 0; i < 50; ++i) {
        CLiveParticle p;
        p.Spawn(kind, wide);
        EXPECT_GE(p.y, 250);
        EXPECT_LT(p.y, 270); // 280 minus the image height
        CLiveParticle q;
        q.Spawn(kind, tight);
        EXPECT_EQ(q.x, 20);
    }
}

TEST_F(ParticleTest, FlowWrapsToTheOppositeSideOnBothAxes) {
    CLiveParticle p =
        SpawnIn(Particle("flow", 10, 10, "Edge Behavior X: Flow\nEdge Behavior Y: Flow\n"));
    PlaceAt(p, 50, 2);
    p.velocityY = -300; // 5 px upwards in one 1/60 s step
    p.Update(1.0 / 60);
    EXPECT_EQ(p.y, 100 - 10 - 3); // 3 px above the top comes in 3 px above the bottom
    PlaceAt(p, 88, 40);
    p.velocityY = 0;
    p.velocityX = 300;
    p.Update(1.0 / 60);
    EXPECT_EQ(p.x, 3); // 3 px beyond the right edge comes in 3 px from the left
    EXPECT_FALSE(p.IsDead());
}

TEST_F(ParticleTest, DeathEndsTheParticleAtTheEdgeWhereItIsStillDrawnOnce) {
    CLiveParticle p = SpawnIn(Particle("dies", 10, 10, "Edge Behavior Y: Death\n"));
    PlaceAt(p, 50, 1);
    p.velocityY = -120;
    p.Update(1.0 / 60);
    EXPECT_TRUE(p.IsDead());
    EXPECT_EQ(p.y, -1);
}

TEST_F(ParticleTest, BounceReflectsAndABounceYTypeRisesBackOnlyForItsBounceLifespan) {
    CLiveParticle plain =
        SpawnIn(Particle("ball", 10, 10, "Velocity Y Minimum: -50\nVelocity Y Maximum: 40\n"));
    PlaceAt(plain, 50, 85);
    plain.velocityY = 600;
    plain.Update(1.0 / 60);
    EXPECT_EQ(plain.y, 90);          // clamped to the bottom
    EXPECT_EQ(plain.velocityY, -50); // reflected, but no faster than the range allows

    CLiveParticle p = SpawnIn(Particle("bubble", 10, 10,
                                       "Velocity Y Minimum: -30\nVelocity Y Maximum: 0\n"
                                       "Edge Behavior Y: Bounce\n"
                                       "Minimum Bounce Y Lifespan: 0.25\n"
                                       "Maximum Bounce Y Lifespan: 0.5\n"));
    EXPECT_GE(p.bounceYLifespan, 0.25);
    EXPECT_LE(p.bounceYLifespan, 0.745);
    PlaceAt(p, 50, 1);
    p.velocityY = -120;
    p.Update(1.0 / 60);
    ASSERT_TRUE(p.bounceYActive);
    EXPECT_GE(p.bounceYSpeed, 0); // away from the top edge
    const double ownSpeed = p.velocityY;
    int steps = 0;
    while (p.bounceYActive && steps < 100) {
        p.Update(1.0 / 60);
        ++steps;
    }
    EXPECT_NEAR(steps / 60.0, p.bounceYLifespan, 2.0 / 60);
    EXPECT_EQ(p.velocityY, ownSpeed); // back to its own speed
}

TEST_F(ParticleTest, AFadingParticleIsDrawnAtHalfSizeAndHalfAlphaHalfwayThrough) {
    CLiveParticle p = SpawnIn(
        Particle("fade", 14, 16, "Fade in Time: 0.2\nAlpha Minimum: 40\nAlpha Maximum: 40\n"));
    EXPECT_EQ(p.alpha, 102); // floor(0.4 * 255)
    p.age = 0.1;
    RecordingCanvas canvas;
    p.Draw(canvas);
    ASSERT_EQ(canvas.draws.size(), 1u);
    EXPECT_EQ(canvas.draws[0].w, 7);
    EXPECT_EQ(canvas.draws[0].h, 8);
    EXPECT_EQ(canvas.draws[0].alpha, 51);
    p.age = 0.3;
    p.Draw(canvas);
    EXPECT_EQ(canvas.draws[1].w, 14);
    EXPECT_EQ(canvas.draws[1].alpha, 102);
}

TEST_F(ParticleTest, AShrinkingParticleEndsWithASixPixelShortSideAndKeepsItsAspect) {
    CLiveParticle p = SpawnIn(Particle("shrink", 14, 10, "Fade in Time: 0.2\n"));
    p.StartShrink();
    p.Update(0.1);
    EXPECT_EQ(p.drawnWidth, 9); // max(0.5 * 14, ceil(14 * 6 / 10))
    EXPECT_EQ(p.drawnHeight, 6);
    p.StartShrink(); // already shrinking: the clock is not restarted
    p.Update(0.5);
    EXPECT_EQ(p.drawnWidth, 9);
    EXPECT_EQ(p.drawnHeight, 6);
}

TEST_F(ParticleTest, RunawaySpeedsAndEmptyBoundsNeitherOverflowNorDivideByZero) {
    CLiveParticle p =
        SpawnIn(Particle("wild", 4, 4, "Edge Behavior X: Flow\nEdge Behavior Y: Flow\n"));
    p.velocityX = 1e300;
    p.velocityY = -1e300;
    p.Update(1.0);
    EXPECT_GE(p.x, -100);
    EXPECT_LE(p.x, 100);
    p.SetBounds(10, 10, 10, 10); // zero-sized
    p.velocityX = p.velocityY = 5;
    p.Update(1.0);
    SUCCEED();
}

// A spawn draws its random numbers in one order, which keeps every run of the program the same
// from the same seed: the size, the layer, the bounce lifespan, the position, the wiggle's
// amplitude and period (two draws each), the vertical speed, the alpha; and no more.
TEST_F(ParticleTest, ASpawnDrawsItsRandomNumbersInItsOrder) {
    const TagHandle kind = Particle("all", 20, 16,
                                    "Minimum Width: 10\nMinimum Height: 8\n"
                                    "Velocity Y Minimum: -60\nVelocity Y Maximum: -20\n"
                                    "Wiggle X: 10\nWiggle X Period: 2\n"
                                    "Alpha Minimum: 20\nAlpha Maximum: 80\n"
                                    "Minimum Bounce Y Lifespan: 0.5\n"
                                    "Maximum Bounce Y Lifespan: 1\n");
    const TagHandle room = Region("room", 300, 200, {});
    for (unsigned seed : {1u, 7u, 12345u, 99u}) {
        SeedParticleRandom(seed);
        CLiveParticle p;
        p.Spawn(kind, room);
        const int next = ParticleRandom();

        SeedParticleRandom(seed);
        const double size = (ParticleRandom() % 100) / 100.0;
        const bool front = ParticleRandom() % 2 == 1;
        const double bounce = (ParticleRandom() % 100) / 100.0;
        const int x = ParticleRandom() % (300 - 20);
        const int y = ParticleRandom() % (200 - 16);
        const double amplitude = Jitter(10);
        const double period = Jitter(2);
        const bool slowest = ParticleRandom() % 100 == 0;
        const int alpha = 51 + ParticleRandom() % (204 - 51); // 20 and 80 % of 255, rounded down
        EXPECT_EQ(ParticleRandom(), next) << "seed " << seed;

        EXPECT_EQ(p.drawnWidth, static_cast<int>(size * 10 + 10)) << "seed " << seed;
        EXPECT_EQ(p.drawnHeight, static_cast<int>(size * 8 + 8));
        EXPECT_EQ(p.front, front);
        EXPECT_EQ(p.bounceYLifespan, bounce * 1 + 0.5);
        EXPECT_EQ(p.x, x);
        EXPECT_EQ(p.y, y);
        EXPECT_EQ(p.wiggleAmplitude, amplitude);
        EXPECT_EQ(p.wigglePeriod, period);
        EXPECT_EQ(p.velocityY, slowest ? -60 : -20);
        EXPECT_EQ(p.alpha, alpha);
    }
}

// The wiggle moves the particle by the whole pixels of amplitude * sin(2 pi / period * age),
// whatever the steps; not while it moves sideways.
TEST_F(ParticleTest, TheWiggleMovesByTheWholePixelsOfItsSine) {
    CLiveParticle p;
    p.Spawn(Particle("wiggle", 4, 4, "Wiggle X: 20\nWiggle X Period: 0.4\n"),
            Region("wide", 1000, 100, {}));
    PlaceAt(p, 500, 50);
    const auto wholePixels = [&p] {
        return static_cast<int>(
            std::floor(p.wiggleAmplitude * std::sin(6.283185307179586 / p.wigglePeriod * p.age)));
    };
    const std::vector<double> steps = {1.0 / 60, 1.0 / 59.3, 0.0171, 0.05, 0.0163};
    std::set<int> seen;
    for (int i = 0; i < 600; ++i) {
        p.Update(steps[static_cast<size_t>(i) % steps.size()]);
        ASSERT_EQ(p.x - p.baseX, wholePixels()) << "update " << i;
        seen.insert(p.x - p.baseX);
    }
    EXPECT_GE(seen.size(), 30u); // it went from side to side
    // Frame-sized steps only, for a long life: the phase is turned step by step thousands
    // of times and still lands on the same whole pixels as the sine of the age.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> frame(1.0 / 75, 1.0 / 45);
    for (int i = 0; i < 20000; ++i) {
        p.Update(frame(random));
        ASSERT_EQ(p.x - p.baseX, wholePixels()) << "frame " << i;
    }
    p.velocityX = 40;
    p.Update(1.0 / 60);
    EXPECT_EQ(p.x, static_cast<int>(std::floor(p.offsetX)) + p.baseX);
}

// The particles draw the C library's rand() sequence from the same seed, 1 until seeded.
TEST(ParticleRandomTest, ItIsTheSequenceOfRandFromTheSameSeed) {
    for (const unsigned seed : {1u, 0u, 7u, 12345u, 2147483653u, 4294967295u}) {
        std::srand(seed);
        SeedParticleRandom(seed);
        for (int i = 0; i < 20000; ++i) {
            ASSERT_EQ(ParticleRandom(), std::rand()) << "seed " << seed << ", draw " << i;
        }
    }
}

// A turn found again by its angle is the very turn worked out for it, bit for bit, also when
// many angles share the table's slots.
TEST(WiggleTurnTest, ARememberedTurnIsTheOneWorkedOutForItsAngle) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> angles(-0.59, 0.59);
    std::vector<double> asked(3000);
    for (double& angle : asked) {
        angle = angles(random);
    }
    asked.push_back(0.0);
    asked.push_back(-0.0);
    for (int round = 0; round < 2; ++round) {
        for (const double angle : asked) {
            const WiggleTurn remembered = RememberedWiggleTurn(angle);
            const WiggleTurn worked = WiggleTurnOf(angle);
            ASSERT_EQ(std::memcmp(&remembered, &worked, sizeof worked), 0) << angle;
        }
    }
}

// Dead particles are dropped wherever they are in the list, in the pass that moves the others
// newest first; the others keep their order, and new ones go after them.
TEST(ParticleListTest, DeadParticlesGoInThePassThatMovesTheOthersNewestFirst) {
    std::mt19937 random(17);
    ParticleList list;
    std::vector<int> expected; // the ids of the living, oldest first
    int next = 0;
    for (int round = 0; round < 400; ++round) {
        for (int births = static_cast<int>(random() % 12); births > 0; --births) {
            CLiveParticle p;
            p.baseX = next;
            p.lifespan = 1;
            list.push_back(p);
            expected.push_back(next++);
        }
        // Deaths at the front (the usual case), at the back, or anywhere.
        const std::uint32_t pattern = random() % 3;
        std::vector<int> dead;
        for (size_t i = 0; i < list.size(); ++i) {
            const bool front = pattern == 0 && i < list.size() / 4;
            const bool back = pattern == 1 && i >= list.size() * 3 / 4;
            if (front || back || (pattern == 2 && random() % 5 == 0)) {
                list[i].age = 1;
                dead.insert(dead.begin(), list[i].baseX); // heard newest first
            }
        }
        std::vector<int> heard;
        std::vector<int> updated;
        list.RemoveDeadAndUpdate([&heard](const CLiveParticle& p) { heard.push_back(p.baseX); },
                                 [&updated](CLiveParticle& p) { updated.push_back(p.baseX); });
        ASSERT_EQ(heard, dead) << "round " << round;
        std::erase_if(expected, [&dead](int id) {
            return std::find(dead.begin(), dead.end(), id) != dead.end();
        });
        ASSERT_EQ(updated, std::vector<int>(expected.rbegin(), expected.rend()));
        std::vector<int> kept;
        for (const CLiveParticle& p : list) {
            kept.push_back(p.baseX);
        }
        ASSERT_EQ(kept, expected) << "round " << round;
        if (!list.empty()) {
            EXPECT_EQ(list[0].baseX, expected.front());
            EXPECT_EQ(list.back().baseX, expected.back());
        }
    }
    list.clear();
    EXPECT_TRUE(list.empty());
}

TEST(ParticleRects, TouchingRectanglesIntersectAndContainmentIsInclusive) {
    const ParticleRect a{0, 0, 10, 10};
    EXPECT_TRUE(RectsIntersect(a, {10, 10, 20, 20}));
    EXPECT_FALSE(RectsIntersect(a, {11, 0, 20, 10}));
    EXPECT_TRUE(RectContains(a, {0, 0, 10, 10}));
    EXPECT_FALSE(RectContains(a, {0, -1, 10, 10}));
}
