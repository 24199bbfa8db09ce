#include "app/controllers/SeparatorFinderController.h"

#include "app/model/DesignReadouts.h"
#include "app/model/NumberFormat.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ComboBoxItem.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"

#include <cmath>

namespace {

// "31 of 56 in (55 %)"; "at the inlet after 1 min 10 s" when gas gets there.
std::string ReachCell(const SeparatorChoice& choice, UnitSystem units) {
    const DesignVerdict& verdict = choice.verdict;
    if (!verdict.FiguresApply()) {
        return "\u2014";
    }
    if (verdict.reachesInlet) {
        return "at the inlet " + SayWhen(verdict.secondsToInlet);
    }
    // As the panel's gas reach reads.
    const double length = choice.preset.dimensions.GetDipTubeLength();
    return GasReach{true, verdict.deepestReach, length}.DepthText(units) + " of " +
           FormatWithUnit(length, Quantity::Length, units) + " (" +
           FormatNumber(std::floor(verdict.reachShare)) + " %)";
}

std::string VerdictCell(const DesignVerdict& verdict) {
    std::string word = VerdictWord(verdict.kind);
    word[0] = AsciiUpper(word[0]);
    if (verdict.valuesContradict) {
        return word + ": diameters contradict each other"; // a preset of the user's own
    }
    return verdict.cause == FailureCause::None ? word : word + ": " + CauseText(verdict.cause);
}

std::vector<std::string> RowCells(const SeparatorChoice& choice, UnitSystem units) {
    const std::string od =
        FormatWithUnit(choice.preset.dimensions.GetSeparatorOD(), Quantity::Diameter, units);
    if (!choice.fits) {
        return {choice.preset.displayName, od, "", "", "", NotFittingReason(choice, units)};
    }
    const DesignVerdict& verdict = choice.verdict;
    const bool applies = verdict.FiguresApply();
    return {choice.preset.displayName,
            od,
            applies ? FormatWithUnit(verdict.maximumCapacity, Quantity::Rate, units) : "\u2014",
            applies ? FormatDecimals(verdict.capacityMargin, 0) + " %" : "\u2014",
            ReachCell(choice, units),
            VerdictCell(verdict)};
}
} // namespace

void CSeparatorFinderController::Initialise() {
    ShowDrift();
    using C = CSeparatorFinderController;
    SubscribeEvent(EventName::kWellParametersUpdated, this, &C::ShowDrift);
    SubscribeEvent(EventName::kTagsReloaded, this, &C::ShowDrift);
    SubscribeEvent(EventName::kUnitsChanged, this, &C::ShowDrift);
    SubscribeEvent(EventName::kFindSeparator, this, &C::FindSeparator);
}

void CSeparatorFinderController::ShowDrift() {
    const UnitSystem units = model_.GetUnitSystem();
    if (CLabelView* drift = app_.Label(ViewName::kDriftDiameter)) {
        drift->SetText("Drift diameter " +
                       FormatWithUnit(DriftDiameter(model_.GetParameters().GetCasingSize()),
                                      Quantity::Diameter, units));
    }
}

std::vector<const TSeparatorPreset*> CSeparatorFinderController::PresetRows() const {
    std::vector<const TSeparatorPreset*> rows;
    for (const TComboBoxItem* item : app_.ParametersPanel().SeparatorPreset().Items()) {
        if (const auto* row = dynamic_cast<const TSeparatorPreset*>(item)) {
            rows.push_back(row);
        }
    }
    return rows;
}

TableRequest
CSeparatorFinderController::FinderTable(const std::vector<SeparatorChoice>& ranked) const {
    const WellParameters& design = model_.GetParameters();
    const UnitSystem units = model_.GetUnitSystem();
    TableRequest table;
    table.title = "Find a Separator";
    std::string casing = app_.ParametersPanel().CasingSize().GetSelectedText();
    if (casing.empty()) {
        casing = FormatWithUnit(design.GetCasingSize(), Quantity::Diameter, units) + " ID";
    }
    const std::string drift =
        " (drift diameter " +
        FormatWithUnit(DriftDiameter(design.GetCasingSize()), Quantity::Diameter, units) + ")";
    table.headers = {"Separator",       "Outside diameter",  "Maximum capacity",
                     "Capacity margin", "Deepest gas reach", "Verdict"};
    for (const SeparatorChoice& choice : ranked) {
        (choice.fits ? table.rows : table.apart).push_back(RowCells(choice, units));
    }
    table.intro = table.rows.empty()
                      ? "No separator passes the casing " + casing + drift + ": each is too wide."
                      : "The separators that pass the casing " + casing + drift + ", at " +
                            FormatWithUnit(design.GetProductionRate(), Quantity::Rate, units) +
                            " and " + FormatWithUnit(design.GetSPM(), Quantity::PumpSpeed, units) +
                            ", best first.";
    table.apartHeading = "Too wide for the casing";
    table.pickLabel = "Apply";
    return table;
}

void CSeparatorFinderController::FindSeparator() {
    IShell* shell = Platform().shell;
    if (!shell || app_.TopDialog()) {
        return;
    }
    const std::vector<const TSeparatorPreset*> rows = PresetRows();
    std::vector<SeparatorPreset> presets;
    for (const TSeparatorPreset* row : rows) {
        presets.push_back(row->preset);
    }
    const std::vector<SeparatorChoice> ranked = RankSeparators(presets, model_.GetParameters());
    const std::optional<int> picked = shell->ChooseRow(FinderTable(ranked));
    // The fitting rows come first, in the table's order.
    if (!picked || *picked < 0 || static_cast<size_t>(*picked) >= ranked.size() ||
        !ranked[*picked].fits) {
        return;
    }
    app_.ParametersPanel().SeparatorPreset().SelectItem(rows[ranked[*picked].source]);
    RaiseEvent(EventName::kSeparatorPresetChanged);
}
