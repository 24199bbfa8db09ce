#include "tools/calc/SeparatorSelection.h"

#include "app/files/EmbeddedStore.h"
#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/SeparatorFinder.h"
#include "tools/calc/CsvTable.h"
#include "tools/calc/DesignFigures.h"
#include "tools/calc/QuotedText.h"

std::vector<SeparatorPreset> ShippedSeparatorPresets() {
    constexpr std::string_view kSuffix = ".seppreset.yml";
    std::vector<SeparatorPreset> presets;
    for (const ResourceEntry& entry : ListResources()) {
        const std::string_view path = entry.path;
        if (path.starts_with("presets/") && path.ends_with(kSuffix)) {
            presets.push_back(ParsePresetText(ReadResourceText(path)));
        }
    }
    return presets;
}

namespace {
std::vector<std::string> ChoiceFields(const SeparatorChoice& choice, UnitSystem units) {
    const DesignVerdict& verdict = choice.verdict;
    std::vector<std::string> fields = {SpreadsheetSafe(choice.preset.displayName),
                                       choice.fits ? "yes" : "no", NotFittingReason(choice, units)};
    if (!choice.fits) {
        fields.resize(10);
        return fields;
    }
    const bool reaches = verdict.reachesInlet;
    const char* cause = CauseText(verdict.cause);
    fields.insert(fields.end(), {FigureValue(verdict.maximumCapacity, Quantity::Rate, units),
                                 FormatDecimals(verdict.capacityMargin, 1),
                                 FigureValue(verdict.deepestReach, Quantity::Length, units),
                                 FigureValue(choice.preset.dimensions.GetDipTubeLength(),
                                             Quantity::Length, units),
                                 reaches ? FormatNumber(verdict.secondsToInlet) : "never",
                                 VerdictWord(verdict.kind), *cause ? cause : "none"});
    return fields;
}
} // namespace

std::string SelectionTable(const std::vector<SeparatorPreset>& presets,
                           const WellParameters& design, UnitSystem units) {
    std::string table =
        CsvRow({"preset", "fits", "reason", NameWithUnit("maximum_capacity", Quantity::Rate, units),
                "capacity_margin_percent",
                NameWithUnit("long_run_peak_gas_penetration", Quantity::Length, units),
                NameWithUnit("dip_tube_length", Quantity::Length, units),
                "time_to_dip_tube_inlet_s", "verdict", "verdict_cause"});
    for (const SeparatorChoice& choice : RankSeparators(presets, design)) {
        table += CsvRow(ChoiceFields(choice, units));
    }
    return table;
}
