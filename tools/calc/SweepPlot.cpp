#include "tools/calc/SweepPlot.h"

#include "app/files/AtomicFile.h"
#include "app/files/EmbeddedStore.h"
#include "app/model/NumberFormat.h"
#include "app/platform/qt/QtFonts.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {
constexpr int kWidth = 1000, kHeight = 620;
const QRect kPlot(110, 122, 840, 408); // the axes' box
// The program's colours: slate background, light grey text, the accent greens, the warning red.
const QColor kSlateTop(0x1b, 0x27, 0x33), kSlateBottom(0x24, 0x36, 0x4a);
const QColor kCard(0x2b, 0x3f, 0x55), kGrid(0x3d, 0x55, 0x6e);
const QColor kText(0xd8, 0xe0, 0xe8), kDimText(0x9a, 0xab, 0xbc);
const QColor kGreen(84, 218, 26), kLime(156, 255, 0), kRed(0xe5, 0x48, 0x3c);

// Qt's note that the session has no runtime folder (as under cron or ssh) says nothing about
// the chart, and would stand among the calculator's own messages; Qt's others still show.
QtMessageHandler gQtHandler = nullptr;
void QuietAboutTheRuntimeFolder(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (message.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) {
        return;
    }
    if (gQtHandler) {
        gQtHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

// A QGuiApplication (offscreen) for the fonts while the chart is drawn, unless one runs
// already, with the Exo faces from the program's data.
class QtForDrawing {
public:
    QtForDrawing() {
        if (!QGuiApplication::instance()) {
            qputenv("QT_QPA_PLATFORM", "offscreen"); // the calculator never needs a screen
            gQtHandler = qInstallMessageHandler(QuietAboutTheRuntimeFolder);
            application_ = std::make_unique<QGuiApplication>(argc_, argv_);
        }
        for (const char* path : {"fonts/Exo-Regular.ttf", "fonts/Exo-Bold.ttf"}) {
            if (const ResourceBytes font = FindResource(path, ResourceKind::RawData)) {
                QFontDatabase::addApplicationFontFromData(QByteArray(
                    reinterpret_cast<const char*>(font.data), static_cast<qsizetype>(font.size)));
            }
        }
    }

private:
    int argc_ = 1;
    char name_[19] = "gas-separator-calc";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

// Tick positions from `low` to `high`: a step of 1, 2 or 5 times a power of ten, about six.
std::vector<double> Ticks(double low, double high) {
    const double raw = (high - low) / 6;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double step = raw / power < 1.5 ? power : raw / power < 3.5 ? 2 * power : 5 * power;
    std::vector<double> ticks;
    for (double tick = std::ceil(low / step - 1e-9) * step; tick <= high + step * 1e-9;
         tick += step) {
        ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
    }
    return ticks;
}

struct Axes {
    double xLow, xHigh, yHigh;
    QPointF At(double x, double y) const {
        const double fx = xHigh > xLow ? (x - xLow) / (xHigh - xLow) : 0.5;
        return {kPlot.left() + fx * kPlot.width(), kPlot.bottom() - y / yHigh * kPlot.height()};
    }
};

Axes AxesOf(const SweepChart& chart) {
    const auto [xMin, xMax] = std::minmax_element(chart.x.begin(), chart.x.end());
    // One value: an axis a tenth of it to each side, so that it has ticks and the dot its place.
    const double pad = *xMin == *xMax ? std::max(std::fabs(*xMin) * 0.1, 0.001) : 0;
    double yMax = 1;
    for (const auto* series : {&chart.deepest, &chart.dipTubeLength}) {
        for (double y : *series) {
            yMax = std::max(yMax, y);
        }
    }
    const std::vector<double> yTicks = Ticks(0, yMax * 1.08);
    return {*xMin - pad, *xMax + pad, std::max(yTicks.back(), yMax * 1.08)};
}

void DrawText(QPainter& painter, const QRectF& box, int flags, const std::string& text) {
    painter.drawText(box, flags, QString::fromStdString(text));
}

void DrawBackground(QPainter& painter, const SweepChart& chart) {
    QLinearGradient slate(0, 0, 0, kHeight);
    slate.setColorAt(0, kSlateTop);
    slate.setColorAt(1, kSlateBottom);
    painter.fillRect(QRect(0, 0, kWidth, kHeight), slate);
    painter.setPen(QPen(kGrid, 1));
    painter.setBrush(kCard);
    painter.drawRoundedRect(QRectF(12.5, 12.5, kWidth - 25, kHeight - 25), 10, 10);
    painter.setPen(kGreen);
    painter.setFont(ResolveFont("Exo Bold", 26));
    DrawText(painter, QRectF(40, 26, kWidth - 80, 34), Qt::AlignLeft | Qt::AlignVCenter,
             chart.title);
    painter.setPen(kDimText);
    painter.setFont(ResolveFont("Exo", 15));
    DrawText(painter, QRectF(40, 62, kWidth - 80, 40), Qt::AlignLeft | Qt::AlignTop,
             chart.subtitle);
}

void DrawAxes(QPainter& painter, const SweepChart& chart, const Axes& axes) {
    painter.setFont(ResolveFont("Exo", 15));
    for (double y : Ticks(0, axes.yHigh)) {
        const QPointF at = axes.At(axes.xLow, y);
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(kPlot.left(), at.y()), QPointF(kPlot.right(), at.y()));
        painter.setPen(kText);
        DrawText(painter, QRectF(kPlot.left() - 70, at.y() - 10, 62, 20),
                 Qt::AlignRight | Qt::AlignVCenter, FormatNumber(y));
    }
    for (double x : Ticks(axes.xLow, axes.xHigh)) {
        const QPointF at = axes.At(x, 0);
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(at.x(), kPlot.top()), QPointF(at.x(), kPlot.bottom() + 5));
        painter.setPen(kText);
        DrawText(painter, QRectF(at.x() - 50, kPlot.bottom() + 8, 100, 20), Qt::AlignCenter,
                 FormatNumber(x));
    }
    painter.setPen(QPen(kText, 1.5));
    painter.drawLine(kPlot.bottomLeft(), kPlot.bottomRight());
    painter.drawLine(kPlot.bottomLeft(), kPlot.topLeft());
    painter.setFont(ResolveFont("Exo", 17));
    DrawText(painter, QRectF(kPlot.left(), kPlot.bottom() + 34, kPlot.width(), 24), Qt::AlignCenter,
             chart.xLabel);
    painter.save();
    painter.translate(34, kPlot.center().y());
    painter.rotate(-90);
    DrawText(painter, QRectF(-kPlot.height() / 2.0, -12, kPlot.height(), 24), Qt::AlignCenter,
             "Deepest gas penetration (" + chart.lengthUnit + ")");
    painter.restore();
}

// A line through the points; a lone point, which makes no line, as a dot.
void DrawSeries(QPainter& painter, const Axes& axes, const std::vector<double>& x,
                const std::vector<double>& y, const QPen& pen) {
    if (x.size() == 1) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(pen.color());
        const double radius = pen.widthF() + 3;
        painter.drawEllipse(axes.At(x.front(), y.front()), radius, radius);
        return;
    }
    QPainterPath path(axes.At(x.front(), y.front()));
    for (size_t i = 1; i < x.size(); ++i) {
        path.lineTo(axes.At(x[i], y[i]));
    }
    painter.strokePath(path, pen);
}

// A vertical dashed line at the capacity, with its figure; a note when it lies outside.
void DrawCapacity(QPainter& painter, const SweepChart& chart, const Axes& axes) {
    const double capacity = *chart.capacity;
    const std::string text = "Maximum capacity " + chart.capacityFigure + " " + chart.rateUnit;
    painter.setFont(ResolveFont("Exo Bold", 15));
    painter.setPen(kRed);
    if (capacity < axes.xLow || capacity > axes.xHigh) {
        DrawText(painter, QRectF(kPlot.left(), kPlot.top() - 24, kPlot.width(), 20),
                 Qt::AlignRight | Qt::AlignVCenter, text + " (outside the sweep)");
        return;
    }
    const double x = axes.At(capacity, 0).x();
    painter.setPen(QPen(kRed, 2, Qt::DashLine));
    painter.drawLine(QPointF(x, kPlot.top()), QPointF(x, kPlot.bottom()));
    painter.setPen(kRed);
    const bool leftOfLine = x > kPlot.center().x();
    const QRectF box(leftOfLine ? x - 308 : x + 8, kPlot.top() + 6, 300, 20);
    DrawText(painter, box, (leftOfLine ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
}

void DrawNote(QPainter& painter, const std::string& note) {
    painter.setFont(ResolveFont("Exo Bold", 15));
    painter.setPen(kText);
    DrawText(painter, QRectF(kPlot.left(), kPlot.top() - 24, kPlot.width(), 20),
             Qt::AlignLeft | Qt::AlignVCenter, note);
}

void DrawLegend(QPainter& painter) {
    const std::pair<QPen, const char*> entries[] = {
        {QPen(kGreen, 3), "Deepest gas penetration, however long the pump runs"},
        {QPen(kLime, 2, Qt::DashLine), "Dip tube length: gas at the inlet"},
    };
    painter.setFont(ResolveFont("Exo", 15));
    double y = kPlot.bottom() + 72;
    double x = kPlot.left();
    for (const auto& [pen, label] : entries) {
        painter.setPen(pen);
        painter.drawLine(QPointF(x, y), QPointF(x + 36, y));
        painter.setPen(kText);
        const QString text(label);
        painter.drawText(QPointF(x + 46, y + 5), text);
        x += 46 + painter.fontMetrics().horizontalAdvance(text) + 40;
    }
}

QImage ChartImage(const SweepChart& chart) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawBackground(painter, chart);
    const Axes axes = AxesOf(chart);
    DrawAxes(painter, chart, axes);
    DrawSeries(painter, axes, chart.x, chart.dipTubeLength, QPen(kLime, 2, Qt::DashLine));
    if (chart.capacity) {
        DrawCapacity(painter, chart, axes);
    }
    DrawSeries(painter, axes, chart.x, chart.deepest,
               QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (!chart.note.empty()) {
        DrawNote(painter, chart.note);
    }
    DrawLegend(painter);
    return image;
}
} // namespace

bool DrawSweepChart(const SweepChart& chart, std::string& png, std::string& error) {
    if (chart.x.empty()) {
        error = "no design of the sweep could be computed";
        return false;
    }
    const QtForDrawing qt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ChartImage(chart).save(&buffer, "PNG")) {
        error = "the PNG could not be encoded";
        return false;
    }
    png = bytes.toStdString();
    return true;
}
