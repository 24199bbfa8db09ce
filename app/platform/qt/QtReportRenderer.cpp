#include "app/platform/qt/QtReportRenderer.h"

#include <QBuffer>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {
// Page coordinates are points (1/72 in). The paper is the user's: Letter where the locale
// measures in US units, A4 elsewhere; the layout fits the narrower and shorter of the two.
constexpr int kResolution = 72;
constexpr int kMargin = 40;
constexpr int kTextWidth = 300;   // the lines' column, at the left margin
constexpr int kValueRight = 250;  // values end here, units follow
constexpr int kPictureLeft = 360; // the picture's column, to the right margin

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

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A line whose unit is empty and whose value is empty is a sentence (a warning): it wraps
// over the whole column. Returns the height used.
int DrawLine(QPainter& painter, const ReportLine& line, int y) {
    painter.setFont(Font(9));
    painter.setPen(kInk);
    if (line.value.empty() && line.unit.empty()) {
        const QRect box(kMargin, y, kTextWidth, 200);
        const QRect used = painter.boundingRect(box, Qt::TextWordWrap, Text(line.name));
        painter.drawText(box, Qt::TextWordWrap, Text(line.name));
        return used.height() + 4;
    }
    const int height = painter.fontMetrics().height();
    const int nameWidth = painter.fontMetrics().horizontalAdvance(Text(line.name));
    const int valueWidth = painter.fontMetrics().horizontalAdvance(Text(line.value));
    painter.drawText(QRect(kMargin, y, kTextWidth, height), Qt::AlignLeft, Text(line.name));
    int used = height + 2;
    if (kMargin + nameWidth + 12 + valueWidth <= kValueRight) {
        painter.drawText(QRect(kMargin, y, kValueRight - kMargin, height), Qt::AlignRight,
                         Text(line.value));
    } else { // a long value (a preset's name, a sentence) wraps under its name
        const QRect box(kMargin + 12, y + height, kTextWidth - 12, 200);
        const QRect wrapped = painter.boundingRect(box, Qt::TextWordWrap, Text(line.value));
        painter.drawText(box, Qt::TextWordWrap, Text(line.value));
        used += wrapped.height();
    }
    painter.setPen(kDim);
    painter.drawText(QRect(kValueRight + 4, y, kMargin + kTextWidth - kValueRight, height),
                     Qt::AlignLeft, Text(line.unit));
    return used;
}

int DrawSection(QPainter& painter, const ReportSection& section, int y) {
    painter.setFont(Font(11, true));
    painter.setPen(kAccent);
    painter.drawText(QPoint(kMargin, y + painter.fontMetrics().ascent()), Text(section.heading));
    y += painter.fontMetrics().height() + 4;
    for (const ReportLine& line : section.lines) {
        y += DrawLine(painter, line, y);
    }
    return y + 10;
}

void DrawPicture(QPainter& painter, const ReportPage& page, int top, const QSizeF& paper) {
    if (page.picture.pixels.empty()) {
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(page.picture.pixels.data()),
                       page.picture.width, page.picture.height, page.picture.width * 4,
                       QImage::Format_ARGB32_Premultiplied);
    const int width = static_cast<int>(paper.width()) - kMargin - kPictureLeft;
    const int height = std::min(static_cast<int>(paper.height()) - kMargin - top - 30,
                                width * page.picture.height / std::max(page.picture.width, 1));
    const QRect target(kPictureLeft, top, height * page.picture.width / page.picture.height,
                       height);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    painter.setFont(Font(8));
    painter.setPen(kDim);
    painter.drawText(QRect(kPictureLeft, target.bottom() + 4, width, 30), Qt::TextWordWrap,
                     Text(page.pictureCaption));
}

int DrawHeader(QPainter& painter, const ReportPage& page, const QSizeF& paper) {
    painter.setFont(Font(18, true));
    painter.setPen(kInk);
    int y = kMargin + painter.fontMetrics().ascent();
    painter.drawText(QPoint(kMargin, y), Text(page.title));
    painter.setFont(Font(9));
    painter.setPen(kDim);
    y += painter.fontMetrics().height() + 6;
    const QString now = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
    painter.drawText(QPoint(kMargin, y), Text(page.subtitle) + "  \u00b7  " + now);
    y += 10;
    painter.setPen(QPen(kAccent, 1));
    painter.drawLine(kMargin, y, static_cast<int>(paper.width()) - kMargin, y);
    return y + 16;
}
} // namespace

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
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = "the PDF page could not be drawn";
            return false;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const int top = DrawHeader(painter, page, paper);
        int y = top;
        for (const ReportSection& section : page.sections) {
            y = DrawSection(painter, section, y);
        }
        DrawPicture(painter, page, top, paper);
        painter.end();
    }
    pdf = buffer.data().toStdString();
    if (pdf.empty()) {
        error = "the PDF writer produced nothing";
        return false;
    }
    return true;
}
