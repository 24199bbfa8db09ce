#pragma once
// The design's verdict: whether gas ever reaches the dip tube inlet if the pump runs on without
// end, and why, judged once from the model's long-run outlook (not from the warnings of an
// instant). The panel, Copy Design, the report and the calculator all say it in the words here.

#include "app/model/Units.h"
#include "app/model/WellParameters.h"

#include <optional>
#include <string>

class OutlookCache;

// In order from best to worst (the separator finder ranks by it).
enum class VerdictKind {
    Works,        // gas never reaches the dip tube inlet
    Fails,        // it does, after secondsToInlet
    DoesNotApply, // a value breaks its range rule, or values contradict each other: no
                  // separator of these diameters can be built, so none works or fails
};

enum class FailureCause {
    None,
    AboveCapacity,   // the production rate is above the maximum capacity
    DipTubeTooShort, // below capacity, the dip tube is shorter than the gas's reach
};

struct DesignVerdict {
    VerdictKind kind = VerdictKind::DoesNotApply;
    FailureCause cause = FailureCause::None;
    // Values within their ranges that contradict each other: the figures below are still
    // worked out (the calculator prints them), but the verdict does not apply.
    bool valuesContradict = false;
    bool reachesInlet = false;  // whether gas ever reaches the dip tube inlet
    double secondsToInlet = 0;  // when it does: from a pump start, no gas below the inlet
    double maximumCapacity = 0; // bbl/day, a whole number
    double capacityMargin = 0;  // percent of the capacity left: 100 × (1 − rate / capacity)
    double deepestReach = 0;    // in, however long the pump runs (the dip tube length if fails)
    double reachShare = 0;      // percent of the dip tube the gas reaches at its deepest
    std::optional<long> gasLimitRate; // bbl/day: the smallest whole rate at which gas reaches
    double recommendedLength = 0;     // in
    bool dipTubeShorterThanRecommended = false;

    // Whether the figures above were worked out: not for a value out of range.
    bool FiguresApply() const { return kind != VerdictKind::DoesNotApply || valuesContradict; }
};

// The highest production rate the gas limit is searched up to.
inline constexpr long kGasLimitSearchRate = 10000000;

// Judges `parameters` with the simulation stepped by `step` seconds (the main loop's 1/60 s).
DesignVerdict JudgeDesign(const WellParameters& parameters, double step = 1.0 / 60);
// The same verdict, with what designs judged before share kept in `cache` (the calculator
// judges many).
DesignVerdict JudgeDesign(const WellParameters& parameters, double step, OutlookCache& cache);

// Whether the pump's rate at `spm` strokes a minute (its displacement times its efficiency) is
// within capacity as the verdict judges it: not above the capacity shown, nor above the rate,
// just under it, at which the gas goes deeper every cycle.
bool PumpWithinCapacityAt(const WellParameters& parameters, double spm, double step,
                          OutlookCache& cache);
// The fastest pump speed, to 0.1 SPM and at most `highest`, at which the pump's rate is within
// capacity so; 0 when none is.
double FastestSpeedWithinCapacity(const WellParameters& parameters, double highest,
                                  double step = 1.0 / 60);

// "works", "fails", "does not apply": the calculator's column and the start of every sentence.
const char* VerdictWord(VerdictKind kind);
// "above capacity", "dip tube shorter than the gas reach"; empty without a failure.
const char* CauseText(FailureCause cause);

// A time as people say it: "under a second", "45 s", "4 min 25 s", "3 h 20 min", "12 days".
std::string SayDuration(double seconds);
// When something happens after a pump start: "after 1 min 10 s", "in under a second".
std::string SayWhen(double seconds);

// The verdict in one line, as the panel shows it and Copy Design and the report print it:
// "Works: 83 % of capacity, gas reaches 48 % of the dip tube"; "Fails: above capacity, gas at
// the dip tube inlet after 1 min 10 s"; "Does not apply: a value is out of range", "Does not
// apply: the diameters contradict each other".
std::string VerdictSentence(const DesignVerdict& verdict);

// "Gas limit 242 bbl/day", in `units`; "Gas limit —" without one in reach of the search.
std::string GasLimitSentence(const DesignVerdict& verdict, UnitSystem units = UnitSystem::Oilfield);
