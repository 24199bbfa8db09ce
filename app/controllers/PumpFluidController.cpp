#include "app/controllers/PumpFluidController.h"

#include "app/model/Fluid.h"
#include "app/model/InletOutlook.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/ParameterTable.h"
#include "app/model/TypedNumber.h"
#include "app/model/Verdict.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"

#include <cmath>
#include <string_view>

namespace {
constexpr ParameterId kFluidInputs[] = {ParameterId::LiquidDensity, ParameterId::GasDensity,
                                        ParameterId::SurfaceTension};

// "Fastest pump speed within capacity: 14.2 SPM", to a tenth at which the verdict finds the
// pump's rate within capacity (not the capacity shown alone: just under it the gas may still go
// deeper every cycle).
std::string FastestSpeedText(const WellParameters& parameters, UnitSystem units) {
    const std::string lead = "Fastest speed within capacity: ";
    if (BreaksARangeRule(parameters)) {
        return lead + "\u2014";
    }
    const Limits& speed = ParameterOf(ParameterId::SPM).limits;
    const double fastest = FastestSpeedWithinCapacity(parameters, speed.high);
    if (fastest >= speed.high) {
        return "Within capacity at every speed up to " +
               FormatWithUnit(speed.high, Quantity::PumpSpeed, units);
    }
    if (!(fastest > 0)) {
        return "Above capacity at any pump speed";
    }
    return lead + FormatWithUnit(fastest, Quantity::PumpSpeed, units);
}

// The fluid values typed into the form, over the model's others, read as the panel's fields
// read them (the locale's decimal comma, a unit after the number: "72 mN/m"); none when a box
// holds no number or its text cannot be used.
std::optional<WellParameters> FluidsTyped(const WellParameters& model,
                                          const std::vector<std::string>& texts, UnitSystem units,
                                          std::string& problem) {
    WellParameters fluids = model;
    for (size_t i = 0; i < std::size(kFluidInputs); ++i) {
        const ParameterEntry& entry = ParameterOf(kFluidInputs[i]);
        const TypedValue typed = i < texts.size()
                                     ? ReadTyped(texts[i], entry, units, Platform().decimalComma)
                                     : TypedValue{};
        if (typed.problem.empty() && !typed.hasNumber) {
            problem = "Type the " + std::string(entry.name) + " as a number.";
            return std::nullopt;
        }
        if (!typed.problem.empty()) {
            problem = typed.problem.starts_with(entry.Label())
                          ? typed.problem
                          : entry.Label() + ": " + typed.problem;
            return std::nullopt;
        }
        entry.Set(fluids, typed.model);
    }
    return fluids;
}

// What the form shows under its fields: the rise velocity, or why there is none.
std::string FluidPreview(const WellParameters& model, const std::vector<std::string>& texts,
                         UnitSystem units, bool& acceptable) {
    acceptable = false;
    std::string problem;
    const std::optional<WellParameters> fluids = FluidsTyped(model, texts, units, problem);
    if (!fluids) {
        return problem;
    }
    const FluidOutcome outcome = RiseVelocityFromFluid(*fluids, units);
    if (!outcome.riseVelocity) {
        return outcome.problem;
    }
    acceptable = true;
    return "Rise velocity: " + FormatWithUnit(*outcome.riseVelocity, Quantity::Velocity, units);
}

// The typical fluids as a table (a tab between cells), heading first.
std::string TypicalFluidTable(UnitSystem units) {
    const auto unit = [units](Quantity quantity) { return UnitOf(quantity, units).symbol; };
    std::string table = std::string("Typical fluid\t\u03c1L, ") + unit(Quantity::Density) +
                        "\t\u03c1G, " + unit(Quantity::Density) + "\t\u03c3, " +
                        unit(Quantity::SurfaceTension) + "\tv, " + unit(Quantity::Velocity);
    for (const TypicalFluid& fluid : TypicalFluids()) {
        const auto velocity =
            HarmathyRiseVelocity(fluid.liquidDensity, fluid.gasDensity, fluid.surfaceTension);
        table += "\n" + std::string(fluid.name) + "\t" +
                 FormatShown(fluid.liquidDensity, Quantity::Density, units) + "\t" +
                 FormatShown(fluid.gasDensity, Quantity::Density, units) + "\t" +
                 FormatShown(fluid.surfaceTension, Quantity::SurfaceTension, units) + "\t" +
                 FormatShown(velocity.value_or(0), Quantity::Velocity, units);
    }
    return table;
}
} // namespace

void CPumpFluidController::Initialise() {
    ShowPump();
    using C = CPumpFluidController;
    SubscribeEvent(EventName::kWellParametersUpdated, this, &C::ShowPump);
    SubscribeEvent(EventName::kTagsReloaded, this, &C::ShowPump);
    SubscribeEvent(EventName::kUnitsChanged, this, &C::ShowPump);
    SubscribeEvent(EventName::kRiseVelocityFromFluid, this, &C::AskRiseVelocityFromFluid);
}

void CPumpFluidController::ShowPump() {
    const WellParameters& parameters = model_.GetParameters();
    const UnitSystem units = model_.GetUnitSystem();
    if (CLabelView* displacement = app_.Label(ViewName::kPumpDisplacement)) {
        displacement->SetText(
            "Pump displacement: " +
            FormatWithUnit(parameters.GetPumpDisplacement(), Quantity::Rate, units));
    }
    if (CLabelView* fastest = app_.Label(ViewName::kFastestPumpSpeed)) {
        fastest->SetText(FastestSpeedText(parameters, units));
        OutlookCache cache; // the panel's verdict steps as the main loop: 1/60 s
        fastest->SetAlert(!BreaksARangeRule(parameters) &&
                          !PumpWithinCapacityAt(parameters, parameters.GetSPM(), 1.0 / 60, cache));
    }
}

FormRequest CPumpFluidController::FluidForm() const {
    const WellParameters model = model_.GetParameters();
    const UnitSystem units = model_.GetUnitSystem();
    FormRequest form;
    form.title = "Rise Velocity from Fluid Properties";
    form.intro = "Harmathy's correlation gives the terminal rise velocity of large gas bubbles:\n"
                 "v = 1.53 \u00d7 [g \u03c3 (\u03c1L \u2212 \u03c1G) / \u03c1L\u00b2]^\u00bc\n\n" +
                 TypicalFluidTable(units) +
                 "\n\nWater and air at the surface; the others downhole.";
    for (const ParameterId id : kFluidInputs) {
        const ParameterEntry& entry = ParameterOf(id);
        form.fields.push_back({entry.fullName, entry.UnitIn(units).symbol,
                               FormatShown(entry.Get(model), entry.quantity, units), false});
    }
    form.startsLabel = "Fill in a typical fluid";
    for (const TypicalFluid& fluid : TypicalFluids()) {
        form.starts.push_back(
            {fluid.name,
             {FormatShown(fluid.liquidDensity, Quantity::Density, units),
              FormatShown(fluid.gasDensity, Quantity::Density, units),
              FormatShown(fluid.surfaceTension, Quantity::SurfaceTension, units)}});
    }
    form.note = kHarmathyLimits;
    form.preview = [model, units](const std::vector<std::string>& texts, bool& acceptable) {
        return FluidPreview(model, texts, units, acceptable);
    };
    return form;
}

void CPumpFluidController::AskRiseVelocityFromFluid() {
    IShell* shell = Platform().shell;
    if (!shell || app_.TopDialog()) {
        return;
    }
    const std::optional<std::vector<std::string>> answer = shell->AskForm(FluidForm());
    if (!answer) {
        return;
    }
    std::string problem;
    std::optional<WellParameters> fluids =
        FluidsTyped(model_.GetParameters(), *answer, model_.GetUnitSystem(), problem);
    const FluidOutcome outcome =
        fluids ? RiseVelocityFromFluid(*fluids, model_.GetUnitSystem()) : FluidOutcome{};
    if (!outcome.riseVelocity) {
        shell->ShowMessage("Rise Velocity from Fluid Properties",
                           fluids ? outcome.problem : problem, MessageIcon::Exclamation);
        return;
    }
    fluids->SetGasBubbleRiseVelocity(*outcome.riseVelocity);
    model_.SetParameters(*fluids);
}
