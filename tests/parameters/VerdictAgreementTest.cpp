// One verdict everywhere: a set of designs run through the panel, Copy Design, the report and the
// calculator, which must say the same thing of each.

#include "app/services/EventRegistry.h"

#include "app/files/EmbeddedStore.h"
#include "app/model/ParameterTable.h"
#include "app/platform/Clipboard.h"
#include "app/platform/Platform.h"
#include "app/platform/ReportRenderer.h"
#include "app/services/EventNames.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/NoticeView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/files/TestFiles.h"
#include "tests/window/WindowTestSupport.h"
#include "tools/calc/DesignCalculator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace {
class CPlainClipboard : public IClipboard {
public:
    void SetText(const std::string& utf8) override { text = utf8; }
    std::string Text() const override { return text; }
    std::string text;
};

class CPageRecorder : public IReportRenderer {
public:
    bool RenderPdf(const ReportPage& rendered, std::string& pdf, std::string&) override {
        page = rendered;
        pdf = "%PDF-1.4\n";
        return true;
    }
    ReportPage page;
};

// Saves reports into the test's folder.
class CSavingShell : public CRecordingShell {
public:
    explicit CSavingShell(std::filesystem::path file) : file_(std::move(file)) {}
    std::optional<std::filesystem::path>
    ChooseSaveFile(const std::string&, const std::filesystem::path&, const std::string&) override {
        return file_;
    }

private:
    std::filesystem::path file_;
};

// name -> value of the rows "name\tvalue\tunit" of a copied design.
std::map<std::string, std::string> CopiedRows(const std::string& text) {
    std::map<std::string, std::string> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            rows.emplace(line.substr(0, tab),
                         line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        }
    }
    return rows;
}

// The calculator's keys for the same design.
std::map<std::string, std::string> Calculated(const std::vector<std::string>& args) {
    const ResourceBytes shipped = FindResource("gasseparator.defaults.yml", ResourceKind::RawData);
    std::ostringstream out, err;
    EXPECT_EQ(
        RunDesignCalculator(
            args, std::string(reinterpret_cast<const char*>(shipped.data), shipped.size), out, err),
        0)
        << err.str();
    std::map<std::string, std::string> keys;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        keys[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return keys;
}

struct Design {
    std::vector<std::pair<ParameterId, std::string>> typed;
    std::vector<std::string> calculatorArgs;
};
} // namespace

TEST(VerdictAgreement, ThePanelTheCopyTheReportAndTheCalculatorSayTheSame) {
    const TestFolder folder("verdict-agreement");
    CSavingShell shell(folder / "report.pdf");
    CPlainClipboard clipboard;
    CPageRecorder renderer;
    const std::vector<Design> designs = {
        {{}, {}},                                                               // works
        {{{ParameterId::ProductionRate, "250"}}, {"--production-rate", "250"}}, // above capacity
        {{{ParameterId::ProductionRate, "220"},
          {ParameterId::SPM, "4"},
          {ParameterId::DipTubeLength, "24"}},
         {"--production-rate", "220", "--spm", "4", "--dip-tube-length", "24"}}, // short tube
        {{{ParameterId::SeparatorID, "2.9"}, {ParameterId::ProductionRate, "300"}},
         {"--separator-id", "2.9", "--production-rate", "300"}},
    };
    std::set<std::string> verdicts;
    for (const Design& design : designs) {
        StartProgram(shell);
        Platform().clipboard = &clipboard;
        Platform().reportRenderer = &renderer;
        for (const auto& [id, text] : design.typed) {
            auto* field = gWindowManager->FindViewAs<CTextEditView>(ParameterOf(id).field);
            ASSERT_NE(field, nullptr);
            field->SetText(text);
            RaiseEvent(LoseFocusEvent(ParameterOf(id).field));
        }
        RunPass();
        const std::string panel =
            gWindowManager->FindViewAs<CNoticeView>(ViewName::kVerdict)->DisplayText();
        const std::string gasLimit =
            gWindowManager->FindViewAs<CLabelView>(ViewName::kGasLimit)->DisplayText();
        RaiseEvent(EventName::kCopyDesign);
        const std::map<std::string, std::string> copied = CopiedRows(clipboard.text);
        RaiseEvent(EventName::kExportReport);
        ASSERT_FALSE(renderer.page.sections.empty());
        const ReportSection& top = renderer.page.sections.front();
        const std::map<std::string, std::string> calculated = Calculated(design.calculatorArgs);
        SCOPED_TRACE(panel);

        // The sentence: the panel's, the copy's and the report's first line.
        EXPECT_EQ(copied.at("Verdict"), panel);
        ASSERT_FALSE(top.lines.empty());
        EXPECT_EQ(top.lines.front().name, panel); // a sentence of its own, as a warning
        // Its word and cause are the calculator's.
        std::string word = calculated.at("verdict");
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
        EXPECT_EQ(panel.rfind(word + ":", 0), 0u) << word;
        EXPECT_EQ(copied.at("Verdict cause"), calculated.at("verdict_cause"));
        EXPECT_EQ(copied.at("Capacity margin"), calculated.at("capacity_margin_percent"));
        const std::string limit = calculated.at("gas_limit_production_rate_bbl_per_day");
        EXPECT_EQ(copied.at("Gas limit production rate"), limit);
        EXPECT_EQ(gasLimit, "Gas limit " + limit + " bbl/day");
        verdicts.insert(copied.at("Verdict cause"));
    }
    EXPECT_EQ(verdicts.size(), 3u); // none, above capacity, a dip tube shorter than the reach
}

// The case's notes close the report under a heading of their own, so that notes of any length
// leave the verdict at the top of the first page; the copy keeps them among the particulars.
TEST(VerdictAgreement, TheReportOpensWithTheVerdictAndClosesWithTheNotes) {
    const TestFolder folder("report-notes");
    CSavingShell shell(folder / "report.pdf");
    CPlainClipboard clipboard;
    CPageRecorder renderer;
    StartProgram(shell);
    Platform().clipboard = &clipboard;
    Platform().reportRenderer = &renderer;
    TheModel().SetCaseDetails({"Well 7", "North", "A. Engineer", "First line\nSecond line"});
    RaiseEvent(EventName::kExportReport);
    const std::vector<ReportSection>& sections = renderer.page.sections;
    ASSERT_GE(sections.size(), 3u);
    EXPECT_EQ(sections[0].heading, "Case");
    EXPECT_EQ(sections[1].heading, "Verdict");
    for (const ReportLine& line : sections[0].lines) {
        EXPECT_NE(line.name, "Notes");
    }
    EXPECT_EQ(sections.back().heading, "Notes");
    ASSERT_EQ(sections.back().lines.size(), 1u);
    EXPECT_EQ(sections.back().lines[0].name, "First line\nSecond line");
    RaiseEvent(EventName::kCopyDesign);
    EXPECT_EQ(CopiedRows(clipboard.text).at("Notes"), "First line Second line");

    // A particular not given is no blank line on the page; the copy keeps its row.
    TheModel().SetCaseDetails({"Well 7", "", "", ""});
    RaiseEvent(EventName::kExportReport);
    ASSERT_FALSE(renderer.page.sections[0].lines.empty());
    EXPECT_EQ(renderer.page.sections[0].lines[0].name, "Well name");
    for (const ReportLine& line : renderer.page.sections[0].lines) {
        EXPECT_FALSE(line.value.empty()) << line.name;
    }
    RaiseEvent(EventName::kCopyDesign);
    EXPECT_EQ(CopiedRows(clipboard.text).count("Field"), 1u);
}
