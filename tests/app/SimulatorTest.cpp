#include "app/services/EventRegistry.h"

#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GasSeparatorSimulator.h"
#include "app/services/GlobalService.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        publish = std::make_unique<ScopedGlobal<EventRegistry>>(gEventRegistry, registry);
        model.Initialise();
        registry.Subscribe(EventName::kSimulationFrameUpdated, nullptr, [this] { ++frames; });
        simulator.Initialise(model);
        WellParameters p = model.GetParameters();
        p.SetSeparatorID(2.75);
        p.SetDipTubeOD(1.35);
        p.SetDipTubeID(1.05);
        model.SetParameters(p);
    }
    void TearDown() override { publish.reset(); }

    EventRegistry registry;
    std::unique_ptr<ScopedGlobal<EventRegistry>> publish;
    CGasSeparatorModel model;
    CGasSeparatorSimulator simulator;
    int frames = 0;
};
} // namespace

TEST_F(SimulatorTest, FirstStepAfterAStart) {
    model.GetParameters().SetPumpRunning(true);
    simulator.Update(1.0 / 60);
    const SimulationState& s = model.GetState();
    EXPECT_NEAR(s.crankAngle, 0.013963, 1e-6);
    EXPECT_NEAR(s.plungerPosition, 0.0000487, 1e-7);
    EXPECT_NEAR(s.plungerVelocity, 0.00585, 1e-5);
    EXPECT_EQ(s.flowMultiplier, 0);
    EXPECT_EQ(frames, 1);
}

TEST_F(SimulatorTest, DrawWindowOfOneCycleAtEightStrokesPerMinute) {
    model.GetParameters().SetPumpRunning(true);
    const double dt = 0.001;
    double firstDraw = -1, lastDraw = -1;
    for (int i = 1; i <= 7500; ++i) {
        simulator.Update(dt);
        if (model.GetState().flowMultiplier > 0) {
            lastDraw = i * dt;
            if (firstDraw < 0) {
                firstDraw = i * dt;
            }
        }
    }
    EXPECT_NEAR(firstDraw, 0.375, 0.0015);
    EXPECT_NEAR(lastDraw, 3.6, 0.0015);
}

TEST_F(SimulatorTest, PenetrationPeaksNearTwentyInchesWithTheShippedDesign) {
    model.GetParameters().SetPumpRunning(true);
    double peak = 0;
    for (int i = 0; i < 60 * 30; ++i) {
        simulator.Update(1.0 / 60);
        peak = std::max(peak, model.GetState().gasPenetrationDepth);
        ASSERT_FALSE(model.GetState().gasAtDipTubeInlet);
    }
    EXPECT_NEAR(peak, 20.3, 0.1);
    EXPECT_EQ(model.GetState().maximumCapacity, 242);
}

TEST_F(SimulatorTest, StoppedPumpLetsTheGasRiseAndHoldsThePlunger) {
    model.GetParameters().SetPumpRunning(true);
    for (int i = 0; i < 100; ++i) {
        simulator.Update(1.0 / 60);
    }
    model.GetParameters().SetPumpRunning(false);
    SimulationState forced = model.GetState();
    forced.gasPenetrationDepth = 12;
    model.CopyStateFrom(forced);
    const double angle = forced.crankAngle, position = forced.plungerPosition;

    simulator.Update(0.5);
    EXPECT_DOUBLE_EQ(model.GetState().gasPenetrationDepth, 9);
    EXPECT_EQ(model.GetState().crankAngle, angle);
    EXPECT_EQ(model.GetState().plungerPosition, position);
    EXPECT_EQ(model.GetState().plungerVelocity, 0);
    EXPECT_EQ(model.GetState().flowMultiplier, 0);
    for (int i = 0; i < 10; ++i) {
        simulator.Update(0.5);
    }
    EXPECT_EQ(model.GetState().gasPenetrationDepth, 0);
}

TEST_F(SimulatorTest, ParameterChangeRestartsTheCycleButPumpStartDoesNot) {
    model.GetParameters().SetPumpRunning(true);
    for (int i = 0; i < 30; ++i) {
        simulator.Update(1.0 / 60);
    }
    EXPECT_GT(model.GetState().crankAngle, 0);
    model.GetParameters().SetPumpRunning(false); // no event, no reset
    EXPECT_GT(model.GetState().crankAngle, 0);

    WellParameters p = model.GetParameters();
    p.SetSPM(10);
    model.SetParameters(p);
    EXPECT_EQ(model.GetState(), SimulationState()); // zeroed until the next step
    model.GetParameters().SetPumpRunning(true);
    simulator.Update(1.0 / 60);
    EXPECT_NEAR(model.GetState().crankAngle, 10 / 60.0 * kTwoPi / 60, 1e-12);
    EXPECT_NEAR(model.GetState().elapsedTime, 1.0 / 60, 1e-12);
}
