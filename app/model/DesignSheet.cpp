#include "app/model/DesignSheet.h"

#include "app/model/CapacityModel.h"
#include "app/model/DesignReadouts.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"

#include <cctype>

namespace {
std::vector<DesignRow> InputRows(const DesignInput& design) {
    std::vector<DesignRow> rows = {
        {"Separator preset", design.presetName.empty() ? "(User Defined)" : design.presetName, ""}};
    for (const ParameterSpec& spec : Parameters()) {
        rows.push_back({spec.Label(), FormatNumber(spec.Get(design.parameters)),
                        spec.UnitIn(UnitSystem::Oilfield).symbol});
    }
    return rows;
}

std::vector<DesignRow> ResultRows(const WellParameters& p, bool apply) {
    const double recommended = RoundToThousandths(
        CapacityModel::RecommendedDipTubeLength(p.GetGasBubbleRiseVelocity(), p.GetSPM()));
    return {
        {"Maximum capacity", apply ? FormatNumber(MaximumCapacityOf(p)) : kNotApplying, "bbl/day"},
        {"Recommended dip tube length", apply ? FormatNumber(recommended) : kNotApplying, "in"},
    };
}

std::vector<DesignRow> GasReachRows(const DesignInput& design, bool apply) {
    const GasReach reach = GasReachOf(design.parameters, design.state);
    return {
        {"Gas reach, last pump cycle", apply ? reach.DepthText() : kNotApplying, "in"},
        {"Gas reach, share of dip tube", apply ? reach.PercentText() : kNotApplying, "%"},
    };
}

std::string Sentence(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    return text;
}

std::vector<DesignRow> WarningRows(const DesignInput& design) {
    std::vector<DesignRow> rows;
    for (const RuleOutcome& outcome : CheckParameterRules(design.parameters)) {
        if (!outcome.passed) {
            rows.push_back(
                {kWarningRow, Sentence(DescribeFailure(outcome.rule, design.parameters)), ""});
        }
    }
    if (design.aboveCapacity) {
        rows.push_back({kWarningRow, *design.aboveCapacity, ""});
    }
    if (design.state.gasAtDipTubeInlet) {
        rows.push_back({kWarningRow, "Gas is at the dip tube inlet", ""});
    }
    return rows;
}

std::string Cell(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}
} // namespace

std::vector<DesignSection> DescribeDesign(const DesignInput& design) {
    const bool apply = !BreaksARangeRule(design.parameters);
    return {
        {"Inputs", InputRows(design)},
        {"Results", ResultRows(design.parameters, apply)},
        {"Gas reach", GasReachRows(design, apply)},
        {"Warnings", WarningRows(design)},
    };
}

std::string DesignAsTabSeparatedText(const std::vector<DesignSection>& sections) {
    std::string text = "Name\tValue\tUnit\n";
    for (const DesignSection& section : sections) {
        for (const DesignRow& row : section.rows) {
            text += Cell(row.name) + "\t" + Cell(row.value) + "\t" + Cell(row.unit) + "\n";
        }
    }
    return text;
}
