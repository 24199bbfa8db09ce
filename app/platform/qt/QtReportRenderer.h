#pragma once
// Reports as PDF pages drawn with Qt's PDF writer: laid out first, then drawn page by page.

#include "app/platform/ReportRenderer.h"

#include <QRect>
#include <QSizeF>
#include <QString>

#include <vector>

class QPaintDevice;

// How a text of the report is set: its font and colour.
enum class ReportInk { Title, Subtitle, Heading, Text, Unit, Small };

// One line of text at its place: on which page (from 0), in which box, aligned how.
struct PlacedText {
    int page = 0;
    QRect box;
    QString text;
    ReportInk ink = ReportInk::Text;
    int align = 0; // Qt::Alignment flags
};

struct ReportLayout {
    std::vector<PlacedText> texts; // in reading order
    int pages = 1;
    int ruleY = 0;  // the rule under the title, on the first page
    QRect picture;  // on the first page; empty for none
    int bottom = 0; // no line of a page reaches below this
};

// The whole report laid out on paper of `paper` points, measured with `device`'s fonts. The
// sections flow down the left column and on to further pages as they need (a long note is
// never cut off), the picture stands beside them on the first page, and a report of more than
// one page numbers its pages. `now` follows the subtitle.
ReportLayout LayOutReport(const ReportPage& page, QSizeF paper, QPaintDevice* device,
                          const QString& now);

class CQtReportRenderer : public IReportRenderer {
public:
    bool RenderPdf(const ReportPage& page, std::string& pdf, std::string& error) override;
};
