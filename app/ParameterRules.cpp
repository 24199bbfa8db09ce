#include "app/ParameterRules.h"

#include "app/NumberFormat.h"

namespace {
bool InsideCasing(double value, double casing) {
    return value > 0 && value < casing;
}

void Check(std::vector<RuleOutcome>& out, ParameterRule rule, bool passed) {
    out.push_back({rule, passed});
}

// A diameter's range rule and, only when it passes, the consistency rule that follows it.
void CheckDiameter(std::vector<RuleOutcome>& out, ParameterRule range, double value, double casing,
                   ParameterRule consistency, bool consistent) {
    const bool inRange = InsideCasing(value, casing);
    Check(out, range, inRange);
    if (inRange) {
        Check(out, consistency, consistent);
    }
}
} // namespace

std::vector<RuleOutcome> CheckParameterRules(const WellParameters& p) {
    const double c = p.GetCasingSize(), o = p.GetSeparatorOD(), i = p.GetSeparatorID();
    const double d = p.GetDipTubeOD(), e = p.GetDipTubeID(), l = p.GetDipTubeLength();
    const double v = p.GetGasBubbleRiseVelocity(), s = p.GetSPM();
    std::vector<RuleOutcome> out;
    out.reserve(12);
    Check(out, ParameterRule::CasingSize, c > 0);
    Check(out, ParameterRule::SeparatorODRange, InsideCasing(o, c));
    CheckDiameter(out, ParameterRule::SeparatorIDRange, i, c, ParameterRule::SeparatorWall,
                  !(o > 0 && i >= o));
    CheckDiameter(out, ParameterRule::DipTubeODRange, d, c, ParameterRule::DipTubeInsideSeparator,
                  !(i > 0 && d >= i));
    CheckDiameter(out, ParameterRule::DipTubeIDRange, e, c, ParameterRule::DipTubeWall,
                  !(d > 0 && e >= d));
    Check(out, ParameterRule::DipTubeLength, l >= 12 && l <= 480);
    Check(out, ParameterRule::RiseVelocity, v > 0 && v <= 12);
    Check(out, ParameterRule::ProductionRate, p.GetProductionRate() > 0);
    Check(out, ParameterRule::SPM, s > 0 && s <= 30);
    return out;
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
