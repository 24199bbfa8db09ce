// The report's pages: whatever a case holds (a long note, a path with no blanks), every line is
// on a page, inside its column and above the foot, in order.
#include "app/platform/qt/QtReportRenderer.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QPageSize>
#include <QPdfWriter>

#include <string>

namespace {
ReportPage PageWithNotes(int noteLines) {
    ReportPage page;
    page.title = "Gas Separator Design Report";
    page.subtitle = "Test";
    std::string notes;
    for (int i = 0; i < noteLines; ++i) {
        notes += (i ? "\n" : "") + std::string("Note line ") + std::to_string(i) +
                 " of a well that goes on and on";
    }
    page.sections.push_back(
        {"Case",
         {{"Notes", notes, ""}, {"File", "/" + std::string(200, 'x') + "/Well 7.gscase", ""}}});
    page.sections.push_back({"Verdict", {{"Works: 83 % of capacity", "", ""}}});
    std::vector<ReportLine> inputs;
    for (int i = 0; i < 20; ++i) {
        inputs.push_back({"Input " + std::to_string(i), std::to_string(i), "in"});
    }
    page.sections.push_back({"Inputs", inputs});
    page.sections.push_back({"Warnings", {{"None", "", ""}}});
    return page;
}

class ReportLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartEmptyProgram(); // Qt, offscreen
        writer_.setPageSize(QPageSize(QPageSize::A4));
        writer_.setResolution(72);
    }
    ReportLayout LayOut(const ReportPage& page) {
        return LayOutReport(page, QPageSize(QPageSize::A4).size(QPageSize::Point), &writer_, "now");
    }

    QBuffer buffer_;
    QPdfWriter writer_{&buffer_};
};

// The texts of the left column in reading order, one line each.
std::string ColumnText(const ReportLayout& layout) {
    std::string text;
    for (const PlacedText& placed : layout.texts) {
        if (placed.box.left() < 300 && !placed.text.isEmpty() && !placed.text.startsWith("Page ")) {
            text += placed.text.toStdString() + "\n";
        }
    }
    return text;
}
} // namespace

TEST_F(ReportLayoutTest, ALongCaseFlowsOnToMorePagesAndLosesNoLine) {
    const ReportLayout layout = LayOut(PageWithNotes(120));
    ASSERT_GE(layout.pages, 3);
    const QFontMetrics metrics(QFont("Exo", 9), &writer_);
    int page = 0, numbers = 0;
    for (size_t i = 0; i < layout.texts.size(); ++i) {
        const PlacedText& placed = layout.texts[i];
        if (placed.text.startsWith("Page ")) {
            EXPECT_EQ(placed.text, QString("Page %1 of %2").arg(++numbers).arg(layout.pages));
            continue;
        }
        EXPECT_GE(placed.page, page) << "out of order: " << placed.text.toStdString();
        page = placed.page;
        EXPECT_LE(placed.box.bottom(), layout.bottom) << placed.text.toStdString();
        // Nothing runs past its column (a path with no blanks is broken inside it), and a
        // heading never ends a page.
        if (placed.ink == ReportInk::Text) {
            EXPECT_LE(metrics.horizontalAdvance(placed.text), placed.box.width() + 1);
        }
        if (placed.ink == ReportInk::Heading) {
            EXPECT_EQ(layout.texts.at(i + 1).page, page) << placed.text.toStdString();
        }
    }
    EXPECT_EQ(numbers, layout.pages);
    const std::string column = ColumnText(layout);
    size_t at = 0;
    for (int i = 0; i < 120; ++i) {
        at = column.find("Note line " + std::to_string(i) + " ", at);
        ASSERT_NE(at, std::string::npos) << "note line " << i << " lost";
    }
    for (const char* after : {"File", "Verdict", "Works: 83 % of capacity", "Input 19", "None"}) {
        at = column.find(after, at);
        ASSERT_NE(at, std::string::npos) << after << " lost or out of order";
    }
    EXPECT_NE(column.find("xxxxx"), std::string::npos);

    std::string pdf, error;
    ASSERT_TRUE(CQtReportRenderer().RenderPdf(PageWithNotes(120), pdf, error)) << error;
    size_t pages = 0;
    for (size_t found = pdf.find("/Type /Page\n"); found != std::string::npos;
         found = pdf.find("/Type /Page\n", found + 1)) {
        ++pages;
    }
    EXPECT_EQ(pages, static_cast<size_t>(layout.pages));
}

TEST_F(ReportLayoutTest, AShortCaseIsOnePageWithNoNumber) {
    const ReportLayout layout = LayOut(PageWithNotes(3));
    EXPECT_EQ(layout.pages, 1);
    for (const PlacedText& placed : layout.texts) {
        EXPECT_EQ(placed.page, 0);
        EXPECT_FALSE(placed.text.startsWith("Page ")) << placed.text.toStdString();
    }
    // A note of several lines wraps under its name, a line each.
    const std::string column = ColumnText(layout);
    EXPECT_NE(column.find("Notes\nNote line 0 of a well that goes on and on\nNote line 1 "),
              std::string::npos)
        << column;
}
