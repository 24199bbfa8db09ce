#include "app/model/Verdict.h"

#include "app/model/CapacityModel.h"
#include "app/model/DesignReadouts.h"
#include "app/model/InletOutlook.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"

#include <algorithm>
#include <cmath>

DesignVerdict JudgeDesign(const WellParameters& p, double step) {
    OutlookCache cache;
    return JudgeDesign(p, step, cache);
}

DesignVerdict JudgeDesign(const WellParameters& p, double step, OutlookCache& cache) {
    DesignVerdict verdict;
    if (BreaksARangeRule(p)) {
        return verdict; // does not apply
    }
    const double rate = p.GetProductionRate();
    const double length = p.GetDipTubeLength();
    verdict.maximumCapacity = MaximumCapacityOf(p);
    // No capacity at all (a dip tube at least as wide as the separator bore): nothing left.
    verdict.capacityMargin =
        verdict.maximumCapacity > 0 ? 100 * (1 - rate / verdict.maximumCapacity) : -100;
    verdict.recommendedLength = RoundToThousandths(
        CapacityModel::RecommendedDipTubeLength(p.GetGasBubbleRiseVelocity(), p.GetSPM()));
    verdict.dipTubeShorterThanRecommended = length < verdict.recommendedLength;
    const InletOutlook outlook = DipTubeInletOutlook(p, step, cache);
    verdict.deepestReach = outlook.deepest;
    verdict.reachShare = length > 0 ? 100 * outlook.deepest / length : 100;
    verdict.gasLimitRate = LongRunGasLimitRate(p, step, kGasLimitSearchRate, cache);
    verdict.reachesInlet = outlook.reaches;
    if (BreaksAConsistencyRule(p)) {
        // A separator ID above its OD still leaves the model an annulus, so it would "work".
        verdict.valuesContradict = true;
        verdict.secondsToInlet = outlook.reaches ? outlook.seconds : 0;
        return verdict;
    }
    if (!outlook.reaches) {
        verdict.kind = VerdictKind::Works;
        return verdict;
    }
    verdict.kind = VerdictKind::Fails;
    verdict.secondsToInlet = outlook.seconds;
    // Above capacity: above the capacity shown, or a rate just under it (the capacity is
    // rounded to a whole rate) at which the gas still goes deeper every cycle, where no dip tube
    // would be long enough and only a lower rate helps.
    const bool aboveCapacity =
        rate > verdict.maximumCapacity || rate > DriftFreeRate(p, step, cache);
    verdict.cause = aboveCapacity ? FailureCause::AboveCapacity : FailureCause::DipTubeTooShort;
    return verdict;
}

namespace {
// The highest rate within capacity at `spm`: the capacity shown, or the drift-free rate under it.
double RateWithinCapacityAt(const WellParameters& parameters, double spm, double step,
                            OutlookCache& cache) {
    WellParameters atSpeed = parameters;
    atSpeed.SetSPM(spm);
    const double driftFree = DriftFreeRate(atSpeed, step, cache); // not a number: no such rate
    const double capacity = MaximumCapacityOf(atSpeed);
    return driftFree < capacity ? driftFree : capacity;
}

double PumpRateAt(const WellParameters& parameters, double spm) {
    WellParameters atSpeed = parameters;
    atSpeed.SetSPM(spm);
    return atSpeed.GetPumpRate();
}
} // namespace

bool PumpWithinCapacityAt(const WellParameters& parameters, double spm, double step,
                          OutlookCache& cache) {
    return !(PumpRateAt(parameters, spm) > RateWithinCapacityAt(parameters, spm, step, cache));
}

double FastestSpeedWithinCapacity(const WellParameters& parameters, double highest, double step) {
    const double perStroke = PumpRateAt(parameters, 1);
    if (!(perStroke > 0)) {
        return 0;
    }
    OutlookCache cache;
    const auto tenths = [](double spm) { return std::floor(spm * 10 + 1e-9) / 10; };
    double speed =
        std::min(tenths(CapacityModel::FastestPumpSpeedWithinCapacity(parameters)), highest);
    // The drift-free rate lies within half a barrel a day under the capacity shown, and hardly
    // moves with the speed: one step down to the speed of the rate found is the usual end.
    while (speed > 0) {
        const double within = RateWithinCapacityAt(parameters, speed, step, cache);
        if (!(PumpRateAt(parameters, speed) > within)) {
            break;
        }
        speed = std::min(std::round(speed * 10 - 1) / 10, tenths(within / perStroke));
    }
    return std::max(speed, 0.0);
}

const char* VerdictWord(VerdictKind kind) {
    switch (kind) {
    case VerdictKind::Works:
        return "works";
    case VerdictKind::Fails:
        return "fails";
    case VerdictKind::DoesNotApply:
        break;
    }
    return "does not apply";
}

const char* CauseText(FailureCause cause) {
    switch (cause) {
    case FailureCause::AboveCapacity:
        return "above capacity";
    case FailureCause::DipTubeTooShort:
        return "dip tube shorter than the gas reach";
    case FailureCause::None:
        break;
    }
    return "";
}

namespace {
std::string Whole(double value) {
    return FormatDecimals(std::floor(value), 0);
}

// "3 h" or "3 h 20 min": a larger unit and, when it says something, the next smaller one.
std::string TwoUnits(double seconds, double big, const char* bigName, double small,
                     const char* smallName) {
    const double bigCount = std::floor(seconds / big);
    const double smallCount = std::floor((seconds - bigCount * big) / small);
    std::string text = Whole(bigCount) + " " + bigName;
    if (smallCount >= 1) {
        text += " " + Whole(smallCount) + " " + smallName;
    }
    return text;
}
} // namespace

std::string SayDuration(double seconds) {
    constexpr double kMinute = 60, kHour = 3600, kDay = 86400;
    if (!(seconds >= 1)) {
        return "under a second";
    }
    seconds = std::round(seconds);
    if (seconds < kMinute) {
        return Whole(seconds) + " s";
    }
    if (seconds < kHour) {
        return seconds < 10 * kMinute ? TwoUnits(seconds, kMinute, "min", 1, "s")
                                      : Whole(std::round(seconds / kMinute)) + " min";
    }
    if (seconds < 2 * kDay) {
        return TwoUnits(seconds, kHour, "h", kMinute, "min");
    }
    if (seconds < 10 * kDay) {
        return TwoUnits(seconds, kDay, "days", kHour, "h");
    }
    return Whole(std::round(seconds / kDay)) + " days";
}

std::string SayWhen(double seconds) {
    return seconds >= 1 ? "after " + SayDuration(seconds) : "in " + SayDuration(seconds);
}

std::string VerdictSentence(const DesignVerdict& verdict) {
    switch (verdict.kind) {
    case VerdictKind::Works:
        // The reach's share is rounded down: 100 % is said only of gas at the inlet.
        return "Works: " + Whole(std::round(100 - verdict.capacityMargin)) +
               " % of capacity, gas reaches " + Whole(std::min(verdict.reachShare, 99.0)) +
               " % of the dip tube";
    case VerdictKind::Fails:
        return std::string("Fails: ") + CauseText(verdict.cause) + ", gas at the dip tube inlet " +
               SayWhen(verdict.secondsToInlet);
    case VerdictKind::DoesNotApply:
        break;
    }
    return verdict.valuesContradict ? "Does not apply: the diameters contradict each other"
                                    : "Does not apply: a value is out of range";
}

std::string GasLimitSentence(const DesignVerdict& verdict, UnitSystem units) {
    if (!verdict.FiguresApply() || !verdict.gasLimitRate) {
        return std::string("Gas limit ") + kNotApplying;
    }
    const std::string rate =
        FormatShown(static_cast<double>(*verdict.gasLimitRate), Quantity::Rate, units);
    return "Gas limit " + rate + " " + UnitOf(Quantity::Rate, units).symbol;
}
