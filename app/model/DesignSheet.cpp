#include "app/model/DesignSheet.h"

#include "app/model/CapacityModel.h"
#include "app/model/DesignReadouts.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/model/Verdict.h"

#include <algorithm>
#include <cctype>

namespace {
// The symbol of a quantity's unit in the sheet's units.
std::string Symbol(Quantity quantity, UnitSystem units) {
    return UnitOf(quantity, units).symbol;
}

std::vector<DesignRow> VerdictRows(const DesignVerdict& verdict, UnitSystem units) {
    const bool apply = verdict.FiguresApply();
    const bool fails = verdict.kind == VerdictKind::Fails;
    const auto applying = [apply](const std::string& value) {
        return apply ? value : std::string(kNotApplying);
    };
    return {
        {"Verdict", VerdictSentence(verdict), ""},
        {"Verdict cause", fails ? CauseText(verdict.cause) : "none", ""},
        {"Capacity margin", applying(FormatDecimals(verdict.capacityMargin, 1)), "%"},
        {"Gas limit production rate",
         applying(verdict.gasLimitRate ? FormatShown(*verdict.gasLimitRate, Quantity::Rate, units)
                                       : "none"),
         Symbol(Quantity::Rate, units)},
        {"Time to dip tube inlet",
         applying(verdict.reachesInlet ? SayDuration(verdict.secondsToInlet)
                                       : std::string("never")),
         ""},
        {"Deepest gas reach, long run",
         applying(units == UnitSystem::Oilfield
                      ? FormatDecimals(verdict.deepestReach, 1)
                      : FormatDecimals(ToShown(verdict.deepestReach, Quantity::Length, units), 3)),
         Symbol(Quantity::Length, units)},
    };
}

std::vector<DesignRow> InputRows(const DesignInput& design) {
    std::vector<DesignRow> rows = {
        {"Separator preset", design.presetName.empty() ? "(User Defined)" : design.presetName, ""}};
    if (!design.casingName.empty()) {
        rows.push_back({"Casing", design.casingName, ""});
    }
    for (const ParameterEntry& entry : Parameters()) {
        const std::string value =
            entry.quantity == Quantity::Switch
                ? entry.ValueText(design.parameters)
                : FormatShown(entry.Get(design.parameters), entry.quantity, design.units);
        rows.push_back({entry.Label(), value, entry.UnitIn(design.units).symbol});
    }
    return rows;
}

std::vector<DesignRow> ResultRows(const WellParameters& p, bool apply, UnitSystem units) {
    const double recommended = RoundToThousandths(
        CapacityModel::RecommendedDipTubeLength(p.GetGasBubbleRiseVelocity(), p.GetSPM()));
    return {
        {"Maximum capacity",
         apply ? FormatShown(MaximumCapacityOf(p), Quantity::Rate, units) : kNotApplying,
         Symbol(Quantity::Rate, units)},
        {"Recommended dip tube length",
         apply ? FormatShown(recommended, Quantity::Length, units) : kNotApplying,
         Symbol(Quantity::Length, units)},
    };
}

std::vector<DesignRow> GasReachRows(const DesignInput& design, bool apply) {
    const GasReach reach = GasReachOf(design.parameters, design.state);
    return {
        {"Gas reach, last pump cycle", apply ? reach.DepthText(design.units) : kNotApplying,
         Symbol(Quantity::Length, design.units)},
        {"Gas reach, share of dip tube", apply ? reach.PercentText() : kNotApplying, "%"},
    };
}

std::string Sentence(std::string text) {
    if (!text.empty()) {
        text[0] = AsciiUpper(text[0]);
    }
    return text;
}

std::vector<DesignRow> WarningRows(const DesignInput& design) {
    std::vector<DesignRow> rows;
    // A value typed but refused is not what the figures are for: the sheet says so, or a
    // report of a box showing 0 would speak of 8 strokes a minute unasked.
    for (const RefusedText& refused : design.refused) {
        rows.push_back(
            {kWarningRow, RefusedTextSentence(refused, design.parameters, design.units), ""});
    }
    for (const RuleOutcome& outcome : CheckParameterRules(design.parameters)) {
        if (!outcome.passed) {
            rows.push_back(
                {kWarningRow,
                 Sentence(DescribeFailure(outcome.rule, design.parameters, design.units)), ""});
        }
    }
    // The design's failure, however long the pump has run so far.
    const DesignVerdict& verdict = design.verdict;
    if (verdict.kind == VerdictKind::Fails) {
        rows.push_back({kWarningRow,
                        "Gas reaches the dip tube inlet " + SayWhen(verdict.secondsToInlet) + ": " +
                            CauseText(verdict.cause),
                        ""});
    }
    if (verdict.FiguresApply() && verdict.dipTubeShorterThanRecommended) {
        rows.push_back({kWarningRow,
                        "The dip tube is shorter than the recommended " +
                            FormatShown(verdict.recommendedLength, Quantity::Length, design.units) +
                            " " + Symbol(Quantity::Length, design.units),
                        ""});
    }
    return rows;
}

// One cell of a tab-separated row: no tabs or line breaks inside, and a text a spreadsheet would
// run as a formula ("=...", "+...", "-...", "@...") kept as text by a leading apostrophe. A
// number stays a number ("-3").
std::string Cell(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    const bool formulaLike =
        !text.empty() && std::string("=+-@").find(text[0]) != std::string::npos;
    if (formulaLike && !ReadNumber(text)) {
        text.insert(0, "'");
    }
    return text;
}
} // namespace

namespace {
// The case's particulars and file; none for a design that has neither.
std::vector<DesignRow> CaseRows(const DesignInput& design) {
    const CaseDetails& d = design.details;
    if (d == CaseDetails{} && design.caseFile.empty()) {
        return {};
    }
    return {{"Well name", d.wellName, ""},
            {"Field", d.field, ""},
            {"Engineer", d.engineer, ""},
            {kNotesRow, d.notes, ""},
            {"File", design.caseFile.empty() ? "(not saved)" : design.caseFile, ""}};
}
} // namespace

std::string RefusedTextSentence(const RefusedText& refused, const WellParameters& inUse,
                                UnitSystem units) {
    const ParameterEntry& entry = *refused.parameter;
    const std::string why = refused.understood ? "out of range" : "not understood";
    return entry.Label() + " \"" + refused.text + "\" is not used (" + why +
           "): the figures are for " + FormatWithUnit(entry.Get(inUse), entry.quantity, units);
}

std::vector<DesignSection> DescribeDesign(const DesignInput& design) {
    const bool apply = !BreaksARangeRule(design.parameters);
    std::vector<DesignSection> sections;
    if (std::vector<DesignRow> rows = CaseRows(design); !rows.empty()) {
        sections.push_back({kCaseSection, std::move(rows)});
    }
    std::vector<DesignSection> rest = {
        {"Verdict", VerdictRows(design.verdict, design.units)},
        {"Inputs", InputRows(design)},
        {"Results", ResultRows(design.parameters, apply, design.units)},
        {"Gas reach", GasReachRows(design, apply)},
        {"Warnings", WarningRows(design)},
    };
    sections.insert(sections.end(), rest.begin(), rest.end());
    return sections;
}

namespace {
// A figure (a row with a unit whose value is a plain number) with the decimal mark asked for:
// a German spreadsheet takes a pasted 31.8 for the 31st of August, and reads 31,8 as a number.
// A number needs no guard against formulas, whichever its mark ("-3,5" stays a number); names
// and sentences stay as they are, even one that looks like a number.
std::string FigureCell(const DesignRow& row, bool decimalComma) {
    if (!decimalComma || row.unit.empty() || !ReadNumber(row.value)) {
        return Cell(row.value);
    }
    std::string value = row.value;
    std::replace(value.begin(), value.end(), '.', ',');
    return value;
}
} // namespace

std::string DesignAsTabSeparatedText(const std::vector<DesignSection>& sections,
                                     bool decimalComma) {
    std::string text = "Name\tValue\tUnit\n";
    for (const DesignSection& section : sections) {
        for (const DesignRow& row : section.rows) {
            text += Cell(row.name) + "\t" + FigureCell(row, decimalComma) + "\t" + Cell(row.unit) +
                    "\n";
        }
    }
    return text;
}
