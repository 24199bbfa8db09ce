#pragma once
// Which of the separators one can buy fits a casing and carries a rate: every preset judged in
// the design's casing, at its flow and pump speed. A separator fits when its outside diameter is
// below the casing's drift diameter (the inside diameter less 1/8 in, the API drift convention:
// the largest tool that passes the casing).

#include "app/model/SeparatorPreset.h"
#include "app/model/Verdict.h"
#include "app/model/WellParameters.h"

#include <string>
#include <vector>

inline constexpr double kDriftAllowance = 0.125; // in

// The casing's drift diameter, in inches.
double DriftDiameter(double casingInsideDiameter);

struct SeparatorChoice {
    SeparatorPreset preset;
    size_t source = 0; // its place in the list of presets given
    bool fits = false;
    double drift = 0;      // the casing's drift diameter, in
    DesignVerdict verdict; // the design with this separator (DoesNotApply when it does not fit)
};

// Why a separator does not fit, in `units` ("outside diameter 4.5 in not below the drift diameter
// 3.965 in"); empty when it fits.
std::string NotFittingReason(const SeparatorChoice& choice, UnitSystem units);

// Every preset, the ones that fit first, best first: those that work before those that fail,
// then the larger capacity margin (the working ones) or the later time to the inlet (the failing
// ones); then those that do not fit, in the order given, with the reason.
std::vector<SeparatorChoice> RankSeparators(const std::vector<SeparatorPreset>& presets,
                                            const WellParameters& design);
