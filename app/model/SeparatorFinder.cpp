#include "app/model/SeparatorFinder.h"

#include "app/model/NumberFormat.h"

#include <algorithm>

double DriftDiameter(double casingInsideDiameter) {
    return casingInsideDiameter - kDriftAllowance;
}

std::string NotFittingReason(const SeparatorChoice& choice, UnitSystem units) {
    if (choice.fits) {
        return {};
    }
    const auto shown = [units](double inches) {
        return FormatShown(inches, Quantity::Diameter, units) + " " +
               UnitOf(Quantity::Diameter, units).symbol;
    };
    return "outside diameter " + shown(choice.preset.dimensions.GetSeparatorOD()) +
           " not below the drift diameter " + shown(choice.drift);
}

namespace {
// Whether `a` is a better choice than `b`, both fitting.
bool Better(const SeparatorChoice& a, const SeparatorChoice& b) {
    // Works, then fails, then does not apply (the enumeration's order).
    if (a.verdict.kind != b.verdict.kind) {
        return a.verdict.kind < b.verdict.kind;
    }
    if (a.verdict.kind == VerdictKind::Works) {
        return a.verdict.capacityMargin > b.verdict.capacityMargin;
    }
    return a.verdict.secondsToInlet > b.verdict.secondsToInlet;
}
} // namespace

std::vector<SeparatorChoice> RankSeparators(const std::vector<SeparatorPreset>& presets,
                                            const WellParameters& design) {
    const double drift = DriftDiameter(design.GetCasingSize());
    std::vector<SeparatorChoice> fitting, apart;
    for (size_t i = 0; i < presets.size(); ++i) {
        const SeparatorPreset& preset = presets[i];
        SeparatorChoice choice{preset, i, false, drift, {}};
        if (preset.dimensions.GetSeparatorOD() < drift) {
            choice.fits = true;
            WellParameters candidate = design;
            preset.ApplyTo(candidate);
            choice.verdict = JudgeDesign(candidate);
            fitting.push_back(std::move(choice));
        } else {
            apart.push_back(std::move(choice));
        }
    }
    std::stable_sort(fitting.begin(), fitting.end(), Better);
    fitting.insert(fitting.end(), apart.begin(), apart.end());
    return fitting;
}
