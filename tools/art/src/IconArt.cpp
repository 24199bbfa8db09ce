// Button and dialog symbols, the application icons and the ICO container writer.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>

#include "Config.h"
#include "Icons.h"
#include "Outputs.h"
#include "Painting.h"

namespace art {

namespace {

QPen symbolPen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawCircledGlyph(QPainter& p, const QRectF& b, const QColor& c, const QString& glyph) {
    p.setPen(symbolPen(c, std::max(1.5, b.width() / 11)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(b.adjusted(1, 1, -1, -1));
    drawFittedText(p, b, glyph, exo(Face::Bold, b.height() * 0.72), c, Qt::AlignCenter);
}

void drawDimensionsSymbol(QPainter& p, const QRectF& b, const QColor& c, bool crossed) {
    const double w = std::max(1.5, b.width() / 11);
    p.setPen(symbolPen(c, w));
    const double y = b.center().y();
    p.drawLine(QPointF(b.left() + 1, b.top() + 3), QPointF(b.left() + 1, b.bottom() - 3));
    p.drawLine(QPointF(b.right() - 1, b.top() + 3), QPointF(b.right() - 1, b.bottom() - 3));
    p.drawLine(QPointF(b.left() + 3, y), QPointF(b.right() - 3, y));
    const double a = b.width() * 0.22;
    p.drawPolyline(QPolygonF({QPointF(b.left() + 3 + a, y - a), QPointF(b.left() + 3, y),
                              QPointF(b.left() + 3 + a, y + a)}));
    p.drawPolyline(QPolygonF({QPointF(b.right() - 3 - a, y - a), QPointF(b.right() - 3, y),
                              QPointF(b.right() - 3 - a, y + a)}));
    if (crossed) {
        p.setPen(symbolPen(QColor(255, 120, 110), w * 1.1));
        p.drawLine(QPointF(b.left() + 2, b.bottom() - 1), QPointF(b.right() - 2, b.top() + 1));
    }
}

void drawSaveSymbol(QPainter& p, const QRectF& b, const QColor& c) {
    const double w = std::max(1.5, b.width() / 11);
    const QRectF r = b.adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath disk;
    disk.moveTo(r.topLeft());
    disk.lineTo(r.right() - r.width() * 0.22, r.top());
    disk.lineTo(r.right(), r.top() + r.height() * 0.22);
    disk.lineTo(r.bottomRight());
    disk.lineTo(r.bottomLeft());
    disk.closeSubpath();
    p.setPen(symbolPen(c, w));
    p.setBrush(Qt::NoBrush);
    p.drawPath(disk);
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.42, r.height() * 0.3));
    p.setBrush(c);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.58, r.width() * 0.6,
                      r.height() * 0.3));
}

void drawMailSymbol(QPainter& p, const QRectF& b, const QColor& c) {
    const QRectF r(b.left() + 1, b.top() + b.height() * 0.2, b.width() - 2, b.height() * 0.6);
    p.setPen(symbolPen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.drawPolyline(
        QPolygonF({r.topLeft() + QPointF(1, 1), QPointF(r.center().x(), r.center().y() + 1),
                   r.topRight() + QPointF(-1, 1)}));
}

void drawGlobeSymbol(QPainter& p, const QRectF& b, const QColor& c) {
    const QRectF r = b.adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(symbolPen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r);
    p.drawEllipse(QRectF(r.center().x() - r.width() * 0.22, r.top(), r.width() * 0.44, r.height()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void drawPhoneSymbol(QPainter& p, const QRectF& b, const QColor& c) {
    const QRectF r(b.left() + b.width() * 0.25, b.top() + 1, b.width() * 0.5, b.height() - 2);
    p.setPen(symbolPen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 2.5, 2.5);
    p.drawLine(QPointF(r.center().x() - 1.5, r.bottom() - 2.5),
               QPointF(r.center().x() + 1.5, r.bottom() - 2.5));
}

void drawWarningSymbol(QPainter& p, const QRectF& b, const QColor& c) {
    const QPolygonF tri({QPointF(b.center().x(), b.top() + 1),
                         QPointF(b.right() - 1, b.bottom() - 1),
                         QPointF(b.left() + 1, b.bottom() - 1)});
    p.setPen(symbolPen(c, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(tri);
    const double x = b.center().x();
    p.drawLine(QPointF(x, b.top() + b.height() * 0.38), QPointF(x, b.top() + b.height() * 0.68));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(x, b.top() + b.height() * 0.8), 1.4, 1.4);
}

} // namespace

void drawSymbol(QPainter& p, Symbol symbol, const QRectF& b, const QColor& c) {
    p.save();
    switch (symbol) {
    case Symbol::Play:
        p.setPen(symbolPen(c, 2));
        p.setBrush(c);
        p.drawPolygon(QPolygonF({QPointF(b.left() + b.width() * 0.22, b.top() + 2),
                                 QPointF(b.right() - 2, b.center().y()),
                                 QPointF(b.left() + b.width() * 0.22, b.bottom() - 2)}));
        break;
    case Symbol::Stop:
        p.setPen(symbolPen(c, 2));
        p.setBrush(c);
        p.drawRoundedRect(b.adjusted(4, 4, -4, -4), 3, 3);
        break;
    case Symbol::ShowDimensions:
        drawDimensionsSymbol(p, b, c, false);
        break;
    case Symbol::HideDimensions:
        drawDimensionsSymbol(p, b, c, true);
        break;
    case Symbol::Save:
        drawSaveSymbol(p, b, c);
        break;
    case Symbol::Info:
        drawCircledGlyph(p, b, c, "i");
        break;
    case Symbol::Help:
        drawCircledGlyph(p, b, c, "?");
        break;
    case Symbol::Mail:
        drawMailSymbol(p, b, c);
        break;
    case Symbol::Globe:
        drawGlobeSymbol(p, b, c);
        break;
    case Symbol::Phone:
        drawPhoneSymbol(p, b, c);
        break;
    case Symbol::Warning:
        drawWarningSymbol(p, b, c);
        break;
    case Symbol::Cross:
        p.setPen(symbolPen(c, std::max(1.6, b.width() / 5)));
        p.drawLine(b.topLeft(), b.bottomRight());
        p.drawLine(b.topRight(), b.bottomLeft());
        break;
    }
    p.restore();
}

namespace {

// The application icon on a 256 x 256 canvas: a separator with its dip tube standing in a
// cut-away casing, gas bubbles rising beside it. Variant 2 sits on a light tile instead of a
// dark one; small renderings keep only the large bubbles, drawn bolder.
void paintAppIcon(QPainter& p, int variant, bool small) {
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient back(0, 8, 0, 248);
    if (variant == 1) {
        back.setColorAt(0, QColor(0x2e, 0x45, 0x5e));
        back.setColorAt(1, colour::kSlateDeep);
    } else {
        back.setColorAt(0, QColor(0xf2, 0xf5, 0xf8));
        back.setColorAt(1, QColor(0xc4, 0xd0, 0xdc));
    }
    p.fillPath(roundedPath(tile, 44), back);
    // Casing bore with liquid.
    const QRectF bore(58, 24, 140, 208);
    QLinearGradient liquid(bore.left(), 0, bore.right(), 0);
    liquid.setColorAt(0, colour::kLiquidDeep);
    liquid.setColorAt(0.5, colour::kLiquid.lighter(120));
    liquid.setColorAt(1, colour::kLiquidDeep);
    p.fillRect(bore, liquid);
    auto steelBar = [&p](const QRectF& r, const QColor& base) {
        QLinearGradient g(r.left(), 0, r.right(), 0);
        g.setColorAt(0, base.darker(170));
        g.setColorAt(0.35, base.lighter(135));
        g.setColorAt(1, base.darker(180));
        p.fillRect(r, g);
    };
    steelBar(QRectF(44, 24, 14, 208), colour::kSteel);
    steelBar(QRectF(198, 24, 14, 208), colour::kSteel);
    // Separator body, ports and dip tube.
    steelBar(QRectF(96, 40, 64, 18), colour::kSteelLight);
    steelBar(QRectF(96, 58, 12, 150), colour::kSteel);
    steelBar(QRectF(148, 58, 12, 150), colour::kSteel);
    p.fillRect(QRectF(96, 70, 12, 10), colour::kLiquidDeep);
    p.fillRect(QRectF(148, 70, 12, 10), colour::kLiquidDeep);
    p.fillRect(QRectF(96, 88, 12, 10), colour::kLiquidDeep);
    p.fillRect(QRectF(148, 88, 12, 10), colour::kLiquidDeep);
    steelBar(QRectF(118, 58, 20, 120), colour::kSteelLight);
    p.fillRect(QRectF(124, 58, 8, 118), colour::kLiquidDeep); // the dip tube's bore
    QPainterPath plug;
    plug.moveTo(96, 206);
    plug.lineTo(160, 206);
    plug.cubicTo(160, 232, 96, 232, 96, 206);
    p.fillPath(plug, colour::kSteel);
    // Bubbles in the casing annulus.
    p.setPen(QPen(QColor(240, 248, 255, 240), small ? 6 : 3));
    p.setBrush(QColor(225, 240, 255, 150));
    const QRectF bubbles[] = {QRectF(64, 150, 24, 24), QRectF(170, 118, 22, 22),
                              QRectF(70, 96, 16, 16),  QRectF(62, 56, 12, 12),
                              QRectF(172, 74, 14, 14), QRectF(176, 176, 12, 12)};
    for (int i = 0; i < (small ? 2 : 6); ++i)
        p.drawEllipse(bubbles[i]);
    // Accent: the green measuring line of the simulator.
    p.setPen(QPen(colour::kAccent, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(58, 244 - 8), QPointF(198, 244 - 8));
}

} // namespace

QImage drawAppIcon(int size, int variant) {
    QImage image = blankImage(size, size, 1); // icon sizes are device pixels
    QPainter p(&image);
    prepare(p);
    const double s = size / 256.0;
    p.scale(s, s);
    paintAppIcon(p, variant, size <= 32);
    return image;
}

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return bytes;
}

void putLe16(QByteArray& b, int v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void putLe32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// A 32-bit DIB icon image: BITMAPINFOHEADER with doubled height, BGRA rows bottom-up, then the
// 1-bit AND mask (all zero: the alpha channel decides).
QByteArray dibBytes(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int n = image.width();
    QByteArray b;
    putLe32(b, 40);
    putLe32(b, n);
    putLe32(b, 2 * n);
    putLe16(b, 1);
    putLe16(b, 32);
    for (int i = 0; i < 6; ++i)
        putLe32(b, 0);
    for (int y = n - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < n; ++x) {
            b.append(char(qBlue(row[x]))).append(char(qGreen(row[x]))).append(char(qRed(row[x])));
            b.append(char(qAlpha(row[x])));
        }
    }
    const int maskRow = ((n + 31) / 32) * 4;
    b.append(QByteArray(maskRow * n, '\0'));
    return b;
}

bool writeIco(const QString& path, int variant) {
    const int sizes[] = {256, 64, 48, 32, 24, 16};
    std::vector<QByteArray> images;
    for (int size : sizes) {
        const QImage icon = drawAppIcon(size, variant);
        images.push_back(size >= 256 ? pngBytes(icon) : dibBytes(icon));
    }
    QByteArray file;
    putLe16(file, 0);
    putLe16(file, 1);
    putLe16(file, static_cast<int>(images.size()));
    quint32 offset = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        file.append(char(sizes[i] >= 256 ? 0 : sizes[i]))
            .append(char(sizes[i] >= 256 ? 0 : sizes[i]));
        file.append('\0').append('\0');
        putLe16(file, 1);
        putLe16(file, 32);
        putLe32(file, images[i].size());
        putLe32(file, offset);
        offset += images[i].size();
    }
    for (const QByteArray& image : images)
        file.append(image);
    return writeFile(path, file);
}

} // namespace

bool writeIcons(const QString& outDir) {
    return writeIco(outDir + "/icons/GasSeparatorIcon_1.ico", 1) &&
           writeIco(outDir + "/icons/GasSeparatorIcon_2.ico", 2);
}

namespace {

// The icon as SVG, painted by the same code as the pixel icons. QSvgGenerator writes no
// timestamp and numbers its gradients in drawing order, so the bytes are reproducible. Its size
// in millimetres is replaced by 256 pixels: renderers disagree on the pixels per millimetre.
QByteArray svgBytes(int variant) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("%1 Gas Separator Simulator").arg(Contact::kCompany));
    svg.setDescription(QStringLiteral("Application icon"));
    QPainter p(&svg);
    prepare(p);
    p.setFont(exo(Face::Regular, 12)); // written into every group: not the machine's default font
    paintAppIcon(p, variant, false);
    p.end();
    const QString size = QStringLiteral(R"(<svg width="256" height="256")");
    return QString::fromUtf8(bytes)
        .replace(QRegularExpression(R"(<svg width="[^"]*" height="[^"]*")"), size)
        .toUtf8();
}

} // namespace

bool writeInstallIcons(const QString& hicolorDir) {
    const QString name = QStringLiteral("com.quillmore.GasSeparator");
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path =
            QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolorDir).arg(size).arg(name);
        if (!writeFile(path, pngBytes(drawAppIcon(size, 1))))
            return false;
    }
    return writeFile(QStringLiteral("%1/scalable/apps/%2.svg").arg(hicolorDir, name), svgBytes(1));
}

} // namespace art
