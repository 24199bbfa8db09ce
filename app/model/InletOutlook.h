#pragma once
// Whether, and when, gas bubbles reach the dip tube inlet if the pump runs on without end: the
// long-run view of the capacity model, found from its cycle behaviour instead of a long run.
//
// The simulation moves the penetration depth by -dt x (annulus bubble velocity) each step and
// keeps it between 0 and the dip tube length; the velocity depends on the crank angle only, not
// on the depth. Over one pump cycle the depth therefore changes by the same drift d every cycle
// (once it no longer touches 0), and within a cycle it rises a fixed amount above its value at
// the cycle's start. Hence:
// - d <= 0 (the pump draws the annulus down no faster than bubbles rise, on average): a stretch
//   longer than a cycle never takes the gas deeper than a shorter one, so the deepest point is
//   reached within the first cycles. Gas that has not reached the inlet then never does.
// - d > 0: the depth at each cycle's start grows by d, so the cycle in which the peak reaches
//   the inlet follows from the depth, the peak above it and d. Whole cycles are skipped (the
//   crank's phase is unchanged; time and depth advance by whole cycles) until two cycles before
//   it, then the last cycles are stepped exactly as the simulation steps.
// d is measured over several cycles after the first, with the same step as the simulation,
// from the depth at the exact cycle boundaries: the pump draws nothing around the bottom of the
// stroke, so there the depth moves at the rise velocity and is interpolated between steps.
//
// A pump cycle longer than kMostStepsPerCycle steps (a pump speed far below any real one: under
// 0.055 SPM at 1/60 s) is stepped in kMostStepsPerCycle steps instead, so the work is bounded
// whatever the values; every shorter cycle is stepped with the simulation's own step.

#include "app/model/WellParameters.h"

#include <memory>
#include <optional>

struct InletOutlook {
    bool reaches = false; // gas reaches the dip tube inlet, however long it takes
    double seconds = 0;   // when: the pump started at the bottom of the stroke, no gas below
    double deepest = 0;   // the deepest penetration ever (in): the dip tube length if it reaches
};

// The most steps a pump cycle is stepped in (about 18 minutes of pump cycle at 1/60 s).
inline constexpr double kMostStepsPerCycle = 65536;

// What the outlooks of many designs share, kept between calls: the pump's draw at each step
// for the last few pump speeds and steps (it depends on nothing else), and the gas limits of
// the last few designs (they do not depend on the production rate). Not shared between
// threads: each thread that judges designs keeps its own.
class OutlookCache {
public:
    OutlookCache();
    ~OutlookCache();
    OutlookCache(const OutlookCache&) = delete;
    OutlookCache& operator=(const OutlookCache&) = delete;

    struct Memory; // InletOutlook.cpp
    Memory& Get() { return *memory_; }

private:
    std::unique_ptr<Memory> memory_;
};

// With the pump running from the bottom of the stroke, stepped by `step` seconds as the
// simulation steps. A design that cannot separate (no annulus) reaches at the first step.
InletOutlook DipTubeInletOutlook(const WellParameters& parameters, double step);
InletOutlook DipTubeInletOutlook(const WellParameters& parameters, double step,
                                 OutlookCache& cache);

// The smallest whole production rate from 1 to `maxRate` bbl/day at which gas ever reaches the
// dip tube inlet (the penetration grows with the rate); none when even `maxRate` does not.
// Found from the cycle's peak and the drift's sign, then held to the outlook's own answer at
// the rate found and the one below it.
std::optional<long> LongRunGasLimitRate(const WellParameters& parameters, double step,
                                        long maxRate);
std::optional<long> LongRunGasLimitRate(const WellParameters& parameters, double step, long maxRate,
                                        OutlookCache& cache);

// The production rate at which the pump's mean draw over a cycle, stepped by `step` as the
// simulation steps, takes the annulus liquid down as fast as the bubbles rise: above it the gas
// goes deeper every cycle, so no dip tube is long enough. The maximum capacity rounded to a
// whole rate lies within half a barrel a day of it. Not a number for a design without one.
double DriftFreeRate(const WellParameters& parameters, double step, OutlookCache& cache);
