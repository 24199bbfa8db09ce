#include "app/platform/qt/QtReportRenderer.h"

#include <QBuffer>
#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {
// Page coordinates are points (1/72 in). The paper is the user's: Letter where the locale
// measures in US units, A4 elsewhere; the layout fits the narrower and shorter of the two.
constexpr int kResolution = 72;
constexpr int kMargin = 40;
constexpr int kTextWidth = 300;   // the lines' column, at the left margin
constexpr int kValueRight = 250;  // values end here, units follow
constexpr int kPictureLeft = 360; // the picture's column, to the right margin
constexpr int kIndent = 12;       // a long value wraps under its name, this far in

QPageSize PaperOfTheLocale() {
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                         ? QPageSize::Letter
                         : QPageSize::A4);
}
const QColor kInk(0x1b, 0x27, 0x33);
const QColor kDim(0x5a, 0x68, 0x78);
const QColor kAccent(0x2e, 0x7d, 0x0e); // the program's greens, darkened for paper

// Exo draws "fi" and "fl" as ligatures, which text copied out of the PDF gets as one unknown
// glyph ("(User De ned)"); laid out without shaping, every letter is its own glyph.
QFont Font(int points, bool bold = false) {
    QFont font("Exo");
    font.setPointSize(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont FontOf(ReportInk ink) {
    switch (ink) {
    case ReportInk::Title:
        return Font(18, true);
    case ReportInk::Heading:
        return Font(11, true);
    case ReportInk::Small:
        return Font(8);
    case ReportInk::Subtitle:
    case ReportInk::Text:
    case ReportInk::Unit:
        break;
    }
    return Font(9);
}

QColor ColourOf(ReportInk ink) {
    switch (ink) {
    case ReportInk::Heading:
        return kAccent;
    case ReportInk::Subtitle:
    case ReportInk::Unit:
    case ReportInk::Small:
        return kDim;
    case ReportInk::Title:
    case ReportInk::Text:
        break;
    }
    return kInk;
}

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

struct WrappedLine {
    QString text;
    int height;
};

// `text` broken into lines no wider than `width`: at its line breaks, between words, and
// inside a word longer than a line (a file's path).
std::vector<WrappedLine> WrapLines(const QString& text, const QFont& font, QPaintDevice* device,
                                   int width) {
    std::vector<WrappedLine> lines;
    const int emptyHeight = QFontMetrics(font, device).height();
    for (const QString& paragraph : text.split('\n')) {
        if (paragraph.trimmed().isEmpty()) {
            lines.push_back({QString(), emptyHeight});
            continue;
        }
        QTextLayout layout(paragraph, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            lines.push_back({paragraph.mid(line.textStart(), line.textLength()).trimmed(),
                             static_cast<int>(std::ceil(line.height()))});
        }
    }
    return lines;
}

// Places texts down the left column, page after page.
class Flow {
public:
    Flow(ReportLayout& layout, const ReportPage& page, QPaintDevice* device, int top)
        : layout_(layout), page_(page), device_(device), y_(top) {}

    int Y() const { return y_; }
    void Advance(int height) { y_ += height; }
    int LineHeight(ReportInk ink) const { return QFontMetrics(FontOf(ink), device_).height(); }

    // Room for `height` more on this page, or a new page.
    void Need(int height) {
        if (y_ + height > layout_.bottom && y_ > ContinuedTop()) {
            ++current_;
            layout_.pages = current_ + 1;
            Place(ReportInk::Small, {kMargin, kMargin, kTextWidth, LineHeight(ReportInk::Small)},
                  Text(page_.title) + " (continued)", Qt::AlignLeft);
            y_ = ContinuedTop();
        }
    }
    void Place(ReportInk ink, const QRect& box, const QString& text, int align) {
        layout_.texts.push_back({current_, box, text, ink, align});
    }
    // `text` wrapped from `left` to the column's right edge, a page broken between lines.
    void Wrap(ReportInk ink, const QString& text, int left) {
        const int width = kMargin + kTextWidth - left;
        for (const WrappedLine& line : WrapLines(text, FontOf(ink), device_, width)) {
            Need(line.height);
            Place(ink, {left, y_, width, line.height}, line.text, Qt::AlignLeft);
            y_ += line.height;
        }
    }

private:
    int ContinuedTop() const { return kMargin + 2 * LineHeight(ReportInk::Small); }

    ReportLayout& layout_;
    const ReportPage& page_;
    QPaintDevice* device_;
    int y_;
    int current_ = 0;
};

// A line whose unit is empty and whose value is empty is a sentence (a warning): it wraps
// over the whole column. A value too long for its row, or of several lines, wraps under its
// name.
void PlaceLine(Flow& flow, const ReportLine& line, QPaintDevice* device) {
    if (line.value.empty() && line.unit.empty()) {
        flow.Wrap(ReportInk::Text, Text(line.name), kMargin);
        flow.Advance(4);
        return;
    }
    const QFontMetrics metrics(FontOf(ReportInk::Text), device);
    const int height = metrics.height();
    const QString value = Text(line.value);
    flow.Need(height);
    const int y = flow.Y();
    flow.Place(ReportInk::Text, {kMargin, y, kTextWidth, height}, Text(line.name), Qt::AlignLeft);
    flow.Place(ReportInk::Unit, {kValueRight + 4, y, kMargin + kTextWidth - kValueRight, height},
               Text(line.unit), Qt::AlignLeft);
    const int room = kValueRight - kMargin - metrics.horizontalAdvance(Text(line.name)) - 12;
    if (!value.contains('\n') && metrics.horizontalAdvance(value) <= room) {
        flow.Place(ReportInk::Text, {kMargin, y, kValueRight - kMargin, height}, value,
                   Qt::AlignRight);
        flow.Advance(height + 2);
        return;
    }
    flow.Advance(height);
    flow.Wrap(ReportInk::Text, value, kMargin + kIndent);
    flow.Advance(2);
}

void PlaceSection(Flow& flow, const ReportSection& section, QPaintDevice* device) {
    const int heading = flow.LineHeight(ReportInk::Heading);
    flow.Need(heading + 4 + flow.LineHeight(ReportInk::Text)); // never a heading alone
    flow.Place(ReportInk::Heading, {kMargin, flow.Y(), kTextWidth, heading}, Text(section.heading),
               Qt::AlignLeft);
    flow.Advance(heading + 4);
    for (const ReportLine& line : section.lines) {
        PlaceLine(flow, line, device);
    }
    flow.Advance(10);
}

// The title, the subtitle and the time; returns where the rule under them lies.
int PlaceHeader(ReportLayout& layout, const ReportPage& page, QPaintDevice* device,
                const QString& now, int width) {
    const QFontMetrics title(FontOf(ReportInk::Title), device);
    const QFontMetrics subtitle(FontOf(ReportInk::Subtitle), device);
    layout.texts.push_back({0,
                            {kMargin, kMargin, width, title.height()},
                            Text(page.title),
                            ReportInk::Title,
                            Qt::AlignLeft});
    const int subtitleBaseline = kMargin + title.ascent() + subtitle.height() + 6;
    layout.texts.push_back(
        {0,
         {kMargin, subtitleBaseline - subtitle.ascent(), width, subtitle.height()},
         Text(page.subtitle) + "  \u00b7  " + now,
         ReportInk::Subtitle,
         Qt::AlignLeft});
    return subtitleBaseline + 10;
}

// The picture at the top of its column, as large as the column and the page allow, with its
// caption under it.
void PlacePicture(ReportLayout& layout, const ReportPage& page, QPaintDevice* device, int top,
                  const QSizeF& paper) {
    if (page.picture.pixels.empty() || page.picture.width <= 0 || page.picture.height <= 0) {
        return;
    }
    const int width = static_cast<int>(paper.width()) - kMargin - kPictureLeft;
    const int height =
        std::min(layout.bottom - top - 30, width * page.picture.height / page.picture.width);
    layout.picture =
        QRect(kPictureLeft, top, height * page.picture.width / page.picture.height, height);
    int y = layout.picture.bottom() + 4;
    const QFont font = FontOf(ReportInk::Small);
    for (const WrappedLine& line : WrapLines(Text(page.pictureCaption), font, device, width)) {
        layout.texts.push_back(
            {0, {kPictureLeft, y, width, line.height}, line.text, ReportInk::Small, Qt::AlignLeft});
        y += line.height;
    }
}

// "Page 2 of 3" at the foot of each page, when there is more than one.
void PlacePageNumbers(ReportLayout& layout, QPaintDevice* device, const QSizeF& paper) {
    if (layout.pages < 2) {
        return;
    }
    const int height = QFontMetrics(FontOf(ReportInk::Small), device).height();
    const int width = static_cast<int>(paper.width()) - 2 * kMargin;
    for (int page = 0; page < layout.pages; ++page) {
        layout.texts.push_back({page,
                                {kMargin, layout.bottom + 8, width, height},
                                QString("Page %1 of %2").arg(page + 1).arg(layout.pages),
                                ReportInk::Small,
                                Qt::AlignRight});
    }
}

void DrawPage(QPainter& painter, const ReportLayout& layout, const ReportPage& page, int index,
              const QSizeF& paper) {
    if (index == 0) {
        painter.setPen(QPen(kAccent, 1));
        painter.drawLine(kMargin, layout.ruleY, static_cast<int>(paper.width()) - kMargin,
                         layout.ruleY);
        if (!layout.picture.isEmpty()) {
            const QImage image(reinterpret_cast<const uchar*>(page.picture.pixels.data()),
                               page.picture.width, page.picture.height, page.picture.width * 4,
                               QImage::Format_ARGB32_Premultiplied);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(layout.picture, image);
        }
    }
    for (const PlacedText& text : layout.texts) {
        if (text.page == index) {
            painter.setFont(FontOf(text.ink));
            painter.setPen(ColourOf(text.ink));
            painter.drawText(text.box, text.align, text.text);
        }
    }
}
} // namespace

ReportLayout LayOutReport(const ReportPage& page, QSizeF paper, QPaintDevice* device,
                          const QString& now) {
    ReportLayout layout;
    // The page numbers' line stays inside the bottom margin.
    layout.bottom = static_cast<int>(paper.height()) - kMargin - 12;
    layout.ruleY =
        PlaceHeader(layout, page, device, now, static_cast<int>(paper.width()) - 2 * kMargin);
    const int top = layout.ruleY + 16;
    PlacePicture(layout, page, device, top, paper);
    Flow flow(layout, page, device, top);
    for (const ReportSection& section : page.sections) {
        PlaceSection(flow, section, device);
    }
    PlacePageNumbers(layout, device, paper);
    return layout;
}

bool CQtReportRenderer::RenderPdf(const ReportPage& page, std::string& pdf, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        const QPageSize paperSize = PaperOfTheLocale();
        const QSizeF paper = paperSize.size(QPageSize::Point);
        writer.setPageSize(paperSize);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(kResolution);
        writer.setTitle(Text(page.title));
        writer.setCreator(Text(page.title));
        const ReportLayout layout = LayOutReport(
            page, paper, &writer, QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = "the PDF page could not be drawn";
            return false;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        for (int index = 0; index < layout.pages; ++index) {
            if (index > 0 && !writer.newPage()) {
                error = "the PDF writer could not start page " + std::to_string(index + 1);
                return false;
            }
            DrawPage(painter, layout, page, index, paper);
        }
        painter.end();
    }
    pdf = buffer.data().toStdString();
    if (pdf.empty()) {
        error = "the PDF writer produced nothing";
        return false;
    }
    return true;
}
