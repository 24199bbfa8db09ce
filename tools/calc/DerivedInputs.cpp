#include "tools/calc/DerivedInputs.h"

#include "app/model/Fluid.h"
#include "tools/calc/DesignFigures.h"

#include <algorithm>
#include <span>

namespace {
constexpr ParameterId kPumpInputs[] = {ParameterId::PlungerDiameter, ParameterId::StrokeLength,
                                       ParameterId::PumpEfficiency};
constexpr ParameterId kFluidInputs[] = {ParameterId::LiquidDensity, ParameterId::GasDensity,
                                        ParameterId::SurfaceTension};

// The first of `ids` that is named, or null.
const ParameterEntry* FirstNamed(const std::vector<const ParameterEntry*>& named,
                                 std::span<const ParameterId> ids) {
    for (const ParameterEntry* entry : named) {
        if (entry && std::find(ids.begin(), ids.end(), entry->id) != ids.end()) {
            return entry;
        }
    }
    return nullptr;
}

bool Named(const std::vector<const ParameterEntry*>& named, ParameterId id) {
    return std::find(named.begin(), named.end(), &ParameterOf(id)) != named.end();
}

// "production_rate and plunger_diameter cannot be given together: with a pump value the
// production rate comes from the pump".
void RefuseBoth(const ParameterEntry& derived, const ParameterEntry& source, const char* from) {
    throw CalculatorError(std::string(derived.column) + " and " + source.column +
                          " cannot be given together: with a " + from + " value the " +
                          derived.name + " comes from the " + from);
}
} // namespace

DerivedInputs DerivedFrom(const std::vector<const ParameterEntry*>& named, UnitSystem units) {
    DerivedInputs derived;
    derived.units = units;
    derived.rateTyped = Named(named, ParameterId::ProductionRate);
    if (const ParameterEntry* pump = FirstNamed(named, kPumpInputs)) {
        if (derived.rateTyped) {
            RefuseBoth(ParameterOf(ParameterId::ProductionRate), *pump, "pump");
        }
        derived.rateFromPump = true;
    }
    if (const ParameterEntry* fluid = FirstNamed(named, kFluidInputs)) {
        if (Named(named, ParameterId::RiseVelocity)) {
            RefuseBoth(ParameterOf(ParameterId::RiseVelocity), *fluid, "fluid");
        }
        derived.riseFromFluid = true;
    }
    return derived;
}

void PrepareDerived(const DerivedInputs& derived, WellParameters& design) {
    if (derived.rateTyped) {
        design.SetRateFromPump(false);
    }
}

void ApplyDerived(const DerivedInputs& derived, WellParameters& design) {
    if (derived.rateFromPump) {
        design.SetRateFromPump(true);
    }
    if (derived.riseFromFluid) {
        const FluidOutcome outcome = RiseVelocityFromFluid(design, derived.units);
        if (!outcome.riseVelocity) {
            throw CalculatorError("no rise velocity from the fluids: " + outcome.problem);
        }
        design.SetGasBubbleRiseVelocity(*outcome.riseVelocity);
    }
}

bool RateFollowsPump(const DerivedInputs& derived, const WellParameters& base) {
    return derived.rateFromPump || (base.GetRateFromPump() && !derived.rateTyped);
}

std::vector<const ParameterEntry*> InputsInUse(const DerivedInputs& derived,
                                               const WellParameters& base) {
    const auto among = [](std::span<const ParameterId> ids, ParameterId id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    std::vector<const ParameterEntry*> inputs;
    for (const ParameterEntry& input : Parameters()) {
        const bool unused = (among(kPumpInputs, input.id) && !RateFollowsPump(derived, base)) ||
                            (among(kFluidInputs, input.id) && !derived.riseFromFluid);
        if (input.HasColumn() && !unused) {
            inputs.push_back(&input);
        }
    }
    return inputs;
}

const char* DerivedSource(const DerivedInputs& derived, const WellParameters& base,
                          const ParameterEntry& input) {
    if (input.id == ParameterId::ProductionRate && RateFollowsPump(derived, base)) {
        return "pump";
    }
    if (input.id == ParameterId::RiseVelocity && derived.riseFromFluid) {
        return "fluids";
    }
    return nullptr;
}

const char* SourceFollowingSweep(const ParameterEntry& input, const ParameterEntry& swept,
                                 const WellParameters& base) {
    const auto among = [&swept](std::span<const ParameterId> ids) {
        return std::find(ids.begin(), ids.end(), swept.id) != ids.end();
    };
    if (input.id == ParameterId::ProductionRate &&
        (among(kPumpInputs) || (swept.id == ParameterId::SPM && base.GetRateFromPump()))) {
        return "pump";
    }
    if (input.id == ParameterId::RiseVelocity && among(kFluidInputs)) {
        return "fluids";
    }
    return nullptr;
}
