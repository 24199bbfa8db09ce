#include "app/model/Fluid.h"

#include "app/model/ParameterRules.h"
#include "app/model/ParameterTable.h"

#include <cmath>

namespace {
constexpr double kStandardGravity = 9.80665; // m/s²
constexpr double kHarmathyFactor = 1.53;
constexpr double kInchesPerMetre = 1 / 0.0254;
} // namespace

std::optional<double> HarmathyRiseVelocity(double liquidDensity, double gasDensity,
                                           double surfaceTension) {
    if (!(liquidDensity > 0) || !(gasDensity >= 0) || !(surfaceTension > 0) ||
        !(gasDensity < liquidDensity) ||
        !std::isfinite(liquidDensity + gasDensity + surfaceTension)) {
        return std::nullopt;
    }
    const double group = kStandardGravity * surfaceTension * (liquidDensity - gasDensity) /
                         (liquidDensity * liquidDensity);
    return kHarmathyFactor * std::pow(group, 0.25) * kInchesPerMetre;
}

FluidOutcome RiseVelocityFromFluid(const WellParameters& fluids, UnitSystem units) {
    for (const ParameterId id :
         {ParameterId::LiquidDensity, ParameterId::GasDensity, ParameterId::SurfaceTension}) {
        const ParameterEntry& entry = ParameterOf(id);
        if (!WithinOwnLimits(entry, entry.Get(fluids))) {
            return {std::nullopt, entry.Label() + " must be " + RangeText(entry, units) + "."};
        }
    }
    const std::optional<double> velocity = HarmathyRiseVelocity(
        fluids.GetLiquidDensity(), fluids.GetGasDensity(), fluids.GetSurfaceTension());
    if (!velocity) {
        return {std::nullopt, "The gas must be lighter than the liquid."};
    }
    const ParameterEntry& rise = ParameterOf(ParameterId::RiseVelocity);
    const Quantity q = rise.quantity;
    const double shown = ToModel(TidyShown(ToShown(*velocity, q, units), q, units), q, units);
    if (!WithinOwnLimits(rise, shown)) {
        return {std::nullopt, FormatShown(*velocity, rise.quantity, units) + " " +
                                  rise.UnitIn(units).symbol + " is outside the " + rise.name +
                                  "'s range: it must be " + RangeText(rise, units) + "."};
    }
    return {shown, {}};
}

const std::vector<TypicalFluid>& TypicalFluids() {
    // Water and air at the surface near 20 °C; the others downhole, where heat and dissolved gas
    // lower the surface tension.
    static const std::vector<TypicalFluid> fluids = {
        {"Water and air", 998, 1.2, 0.072},    {"Brine and gas", 1100, 80, 0.060},
        {"Light oil and gas", 800, 60, 0.020}, {"Medium oil and gas", 870, 50, 0.025},
        {"Heavy oil and gas", 950, 40, 0.030},
    };
    return fluids;
}

const char* const kHarmathyLimits =
    "Harmathy's correlation gives the rise velocity of large bubbles (a few millimetres and more) "
    "in liquids of low viscosity. Small bubbles, and bubbles in viscous oil, rise far slower "
    "(Stokes' law: v = g d\u00b2 \u0394\u03c1 / 18 \u03bc); type a measured or lower velocity "
    "for them.";
