#include "app/model/ParameterRules.h"

#include "app/model/NumberFormat.h"

#include <cmath>
#include <limits>

namespace {
// A range rule's own limits: a lowest and a highest value, each allowed or not, and whether
// the value must also stay below the casing size.
struct OwnLimits {
    double low;
    bool lowAllowed;
    double high; // infinity: no upper limit of its own
    bool highAllowed;
    bool belowCasing;
};

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

OwnLimits LimitsOf(ParameterRule rule) {
    switch (rule) {
    case ParameterRule::DipTubeLength:
        return {12, true, 480, true, false};
    case ParameterRule::RiseVelocity:
        return {0, false, 12, true, false};
    case ParameterRule::SPM:
        return {0, false, 30, true, false};
    case ParameterRule::SeparatorODRange:
    case ParameterRule::SeparatorIDRange:
    case ParameterRule::DipTubeODRange:
    case ParameterRule::DipTubeIDRange:
        return {0, false, kNoLimit, false, true};
    default: // the casing size and the production rate
        return {0, false, kNoLimit, false, false};
    }
}
} // namespace

bool WithinOwnLimits(ParameterRule rule, double v) {
    const OwnLimits limits = LimitsOf(rule);
    return std::isfinite(v) && (limits.lowAllowed ? v >= limits.low : v > limits.low) &&
           (limits.highAllowed ? v <= limits.high : v < limits.high);
}

std::string DescribeLimits(ParameterRule rule) {
    const OwnLimits limits = LimitsOf(rule);
    std::string text = (limits.lowAllowed ? "at least " : "above ") + FormatNumber(limits.low);
    if (limits.high != kNoLimit) {
        text += (limits.highAllowed ? ", at most " : ", below ") + FormatNumber(limits.high);
    }
    if (limits.belowCasing) {
        text += ", below the casing inside diameter";
    }
    return text;
}

namespace {
void Check(std::vector<RuleOutcome>& out, ParameterRule rule, bool passed) {
    out.push_back({rule, passed});
}

void CheckOwnLimits(std::vector<RuleOutcome>& out, ParameterRule rule, double value) {
    Check(out, rule, WithinOwnLimits(rule, value));
}

// A diameter's range rule: its own limits and below the casing size.
void CheckDiameter(std::vector<RuleOutcome>& out, ParameterRule rule, double value, double casing) {
    Check(out, rule, WithinOwnLimits(rule, value) && value < casing);
}
} // namespace

std::vector<RuleOutcome> CheckParameterRules(const WellParameters& p) {
    const double c = p.GetCasingSize(), o = p.GetSeparatorOD(), i = p.GetSeparatorID();
    const double d = p.GetDipTubeOD(), e = p.GetDipTubeID();
    std::vector<RuleOutcome> out;
    out.reserve(12);
    CheckOwnLimits(out, ParameterRule::CasingSize, c);
    CheckDiameter(out, ParameterRule::SeparatorODRange, o, c);
    CheckDiameter(out, ParameterRule::SeparatorIDRange, i, c);
    Check(out, ParameterRule::SeparatorWall, !(o > 0 && i >= o));
    CheckDiameter(out, ParameterRule::DipTubeODRange, d, c);
    Check(out, ParameterRule::DipTubeInsideSeparator, !(i > 0 && d >= i));
    CheckDiameter(out, ParameterRule::DipTubeIDRange, e, c);
    Check(out, ParameterRule::DipTubeWall, !(d > 0 && e >= d));
    CheckOwnLimits(out, ParameterRule::DipTubeLength, p.GetDipTubeLength());
    CheckOwnLimits(out, ParameterRule::RiseVelocity, p.GetGasBubbleRiseVelocity());
    CheckOwnLimits(out, ParameterRule::ProductionRate, p.GetProductionRate());
    CheckOwnLimits(out, ParameterRule::SPM, p.GetSPM());
    return out;
}

bool BreaksARangeRule(const WellParameters& p) {
    for (const RuleOutcome& outcome : CheckParameterRules(p)) {
        if (!outcome.passed && IsRangeRule(outcome.rule)) {
            return true;
        }
    }
    return false;
}

bool IsRangeRule(ParameterRule rule) {
    return rule != ParameterRule::SeparatorWall && rule != ParameterRule::DipTubeInsideSeparator &&
           rule != ParameterRule::DipTubeWall;
}

namespace {
std::string InsideCasingText(const char* field, double value, double casing) {
    return std::string(field) + " must be greater than 0 and less than the casing size (" +
           FormatNumber(casing) + " in); got " + FormatNumber(value);
}
} // namespace

std::string DescribeFailure(ParameterRule rule, const WellParameters& p) {
    const double c = p.GetCasingSize();
    switch (rule) {
    case ParameterRule::CasingSize:
        return "casing size must be greater than 0; got " + FormatNumber(c);
    case ParameterRule::SeparatorODRange:
        return InsideCasingText("separator OD", p.GetSeparatorOD(), c);
    case ParameterRule::SeparatorIDRange:
        return InsideCasingText("separator ID", p.GetSeparatorID(), c);
    case ParameterRule::SeparatorWall:
        return "separator ID (" + FormatNumber(p.GetSeparatorID()) +
               ") must be less than separator OD (" + FormatNumber(p.GetSeparatorOD()) + ")";
    case ParameterRule::DipTubeODRange:
        return InsideCasingText("dip tube OD", p.GetDipTubeOD(), c);
    case ParameterRule::DipTubeInsideSeparator:
        return "dip tube OD (" + FormatNumber(p.GetDipTubeOD()) +
               ") must be less than separator ID (" + FormatNumber(p.GetSeparatorID()) + ")";
    case ParameterRule::DipTubeIDRange:
        return InsideCasingText("dip tube ID", p.GetDipTubeID(), c);
    case ParameterRule::DipTubeWall:
        return "dip tube ID (" + FormatNumber(p.GetDipTubeID()) +
               ") must be less than dip tube OD (" + FormatNumber(p.GetDipTubeOD()) + ")";
    case ParameterRule::DipTubeLength:
        return "dip tube length must be from 12 to 480 in; got " +
               FormatNumber(p.GetDipTubeLength());
    case ParameterRule::RiseVelocity:
        return "gas bubble rise velocity must be above 0 and at most 12 in/s; got " +
               FormatNumber(p.GetGasBubbleRiseVelocity());
    case ParameterRule::ProductionRate:
        return "production rate must be above 0 bbl/day; got " +
               FormatNumber(p.GetProductionRate());
    case ParameterRule::SPM:
        return "pump speed must be above 0 and at most 30 SPM; got " + FormatNumber(p.GetSPM());
    }
    return {};
}
