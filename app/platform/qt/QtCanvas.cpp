#include "app/platform/qt/QtCanvas.h"

#include "app/platform/qt/QtFonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstring>

QImage WrapImage(const ImageRef& image) {
    if (image.IsEmpty()) {
        return {};
    }
    const int stride = image.stride > 0 ? image.stride : image.width * 4;
    return QImage(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height, stride,
                  QImage::Format_ARGB32_Premultiplied);
}

PixelBuffer ToPixelBuffer(const QImage& source) {
    PixelBuffer out;
    if (source.isNull()) {
        return out;
    }
    const QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out.width = image.width();
    out.height = image.height();
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int row = 0; row < out.height; ++row) {
        std::memcpy(out.pixels.data() + static_cast<size_t>(row) * out.width,
                    image.constScanLine(row), static_cast<size_t>(out.width) * 4);
    }
    return out;
}

namespace {
QColor ColourWithAlpha(std::uint32_t rgb, int alpha) {
    QColor colour(QRgb(rgb & 0xFFFFFF));
    colour.setAlpha(std::clamp(alpha, 0, 255));
    return colour;
}

// The text's outline with its baseline at y and x at the aligned end or centre.
QPainterPath TextPath(const TextStyle& style, int x, int y, const QString& text) {
    const QFont font = ResolveFont(style.fontName, style.fontSize);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    double left = x;
    if (style.align == TextAlign::Right) {
        left = x - width;
    } else if (style.align == TextAlign::Center) {
        left = x - width / 2.0;
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill); // the alternate fill mode
    path.addText(QPointF(left, y), font, text);
    return path;
}
} // namespace

CQtCanvas::CQtCanvas(int width, int height)
    : image_(width, height, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::white);
}

void CQtCanvas::CopyImage(const ImageRef& image, int x, int y) {
    if (image.IsEmpty()) {
        return;
    }
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, WrapImage(image));
}

void CQtCanvas::DrawImage(const ImageRef& image, int x, int y, int alpha) {
    if (image.IsEmpty() || alpha <= 0) {
        return;
    }
    QPainter painter(&image_);
    painter.setOpacity(std::min(alpha, 255) / 255.0);
    painter.drawImage(x, y, WrapImage(image));
}

void CQtCanvas::DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) {
    if (image.IsEmpty() || alpha <= 0 || w <= 0 || h <= 0) {
        return;
    }
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(std::min(alpha, 255) / 255.0);
    painter.drawImage(QRect(x, y, w, h), WrapImage(image));
}

namespace {
std::string TextKey(const TextStyle& style, const std::string& utf8) {
    return style.fontName + '\x1f' + std::to_string(style.fontSize) + '\x1f' +
           std::to_string(style.fillColor) + '\x1f' + std::to_string(style.fillAlpha) + '\x1f' +
           std::to_string(style.strokeColor) + '\x1f' + std::to_string(style.strokeAlpha) + '\x1f' +
           std::to_string(style.strokeWidth) + '\x1f' +
           std::to_string(static_cast<int>(style.align)) + '\x1f' + utf8;
}
} // namespace

// The outline is laid out at the anchor (0, 0); drawing it at an integer anchor later is a
// whole-pixel shift of the same picture.
const CQtCanvas::RenderedText& CQtCanvas::RenderText(const TextStyle& style,
                                                     const std::string& utf8) {
    const std::string key = TextKey(style, utf8);
    if (const auto found = textCache_.find(key); found != textCache_.end()) {
        return found->second;
    }
    if (textCache_.size() >= kMaxCachedTexts) {
        textCache_.clear();
    }
    const QPainterPath path = TextPath(style, 0, 0, QString::fromStdString(utf8));
    const double margin = style.strokeWidth / 2.0 + 2.0;
    const QRect area =
        path.boundingRect().adjusted(-margin, -margin, margin, margin).toAlignedRect();
    RenderedText text{QImage(area.size(), QImage::Format_ARGB32_Premultiplied), area.topLeft()};
    text.image.fill(Qt::transparent);
    QPainter painter(&text.image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-area.topLeft());
    if (style.strokeWidth > 0) {
        QPen pen(ColourWithAlpha(style.strokeColor, style.strokeAlpha), style.strokeWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
    painter.fillPath(path, ColourWithAlpha(style.fillColor, style.fillAlpha));
    return textCache_.emplace(key, std::move(text)).first->second;
}

void CQtCanvas::DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& utf8) {
    if (utf8.empty()) {
        return;
    }
    const RenderedText& text = RenderText(style, utf8);
    QPainter painter(&image_);
    painter.drawImage(x + text.offset.x(), y + text.offset.y(), text.image);
}

int CQtCanvas::MeasureText(const TextStyle& style, const std::string& utf8) {
    const QFont font = ResolveFont(style.fontName, style.fontSize);
    return static_cast<int>(QFontMetricsF(font).horizontalAdvance(QString::fromStdString(utf8)));
}

PixelBuffer CQtCanvas::ReadPixels(int x, int y, int w, int h) const {
    return ToPixelBuffer(image_.copy(QRect(x, y, w, h).intersected(image_.rect())));
}
