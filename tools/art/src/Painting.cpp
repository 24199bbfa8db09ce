#include "Painting.h"

#include <QFontMetricsF>
#include <QTextOption>

#include <algorithm>

namespace art {

QFont exo(Face face, double pixelSize) {
    QFont font(QStringLiteral("Exo"));
    font.setPixelSize(std::max(1, static_cast<int>(pixelSize + 0.5)));
    font.setWeight(face == Face::Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(face == Face::Italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setKerning(true);
    return font;
}

namespace {
int currentScale = 1;
} // namespace

int pictureScale() {
    return currentScale;
}

PictureScale::PictureScale(int scale) : previous_(currentScale) {
    currentScale = scale;
}

PictureScale::~PictureScale() {
    currentScale = previous_;
}

QImage blankImage(int width, int height, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void drawFittedText(QPainter& painter, const QRectF& box, const QString& text, QFont font,
                    const QColor& colour, int flags, double minSize) {
    double size = font.pixelSize();
    while (size > minSize) {
        QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height() + 4)
            break;
        size -= 0.5;
        font.setPixelSize(static_cast<int>(size));
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

void drawWrappedText(QPainter& painter, const QRectF& box, const QString& text, QFont font,
                     const QColor& colour, double minSize) {
    const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter;
    double size = font.pixelSize();
    while (size > minSize) {
        QFontMetricsF metrics(font);
        QRectF needed = metrics.boundingRect(box, flags, text);
        if (needed.height() <= box.height() && needed.width() <= box.width())
            break;
        size -= 0.5;
        font.setPixelSize(static_cast<int>(size));
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

QPainterPath roundedPath(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawShadow(QPainter& painter, const QRectF& rect, double radius, int spread, int alpha) {
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = spread; i >= 1; --i) {
        const double t = static_cast<double>(i) / spread;
        const int a = static_cast<int>(alpha * (1.0 - t) * (1.0 - t) / 2.0) + 1;
        painter.setBrush(QColor(0, 0, 0, a));
        painter.drawPath(roundedPath(rect.adjusted(-i, -i + 3, i, i + 3), radius + i));
    }
    painter.restore();
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

std::uint32_t Random::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

void Random::discard(long count) {
    for (long i = 0; i < count; ++i)
        next();
}

double Random::uniform() {
    return (next() >> 8) / 16777216.0;
}

} // namespace art
