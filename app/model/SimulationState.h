#pragma once
// The results of one simulation step: a plain value record, zeroed by default.

struct SimulationState {
    double elapsedTime = 0;            // s since the last reset
    double crankAngle = 0;             // rad, accumulated, never wrapped
    double plungerPosition = 0;        // fraction of stroke: 0 bottom, 1 top
    double plungerVelocity = 0;        // strokes/s, positive on the upstroke
    double annulusLiquidVelocity = 0;  // in/s, negative is downward
    double annulusBubbleVelocity = 0;  // in/s, positive is upward
    double dipTubeLiquidVelocity = 0;  // in/s, positive is upward
    double dipTubeBubbleVelocity = 0;  // in/s, positive is upward
    double gasPenetrationDepth = 0;    // in below the separator inlet, 0..dip tube length
    double gasPenetrationFraction = 0; // depth / dip tube length, 0..1
    bool gasAtDipTubeInlet = false;
    double annulusArea = 0;              // in²
    double dipTubeBoreArea = 0;          // in²
    double flowMultiplier = 0;           // instantaneous draw / average draw
    double maximumCapacity = 0;          // bbl/day, a whole number
    double recommendedDipTubeLength = 0; // in
    // The gas reach: the deepest penetration of each pump cycle (crank turn).
    double cycleDeepestPenetration = 0;     // in, so far in the cycle under way
    double lastCycleDeepestPenetration = 0; // in, of the last complete cycle
    long completedCycles = 0;               // since the last reset

    bool operator==(const SimulationState&) const = default;
};
