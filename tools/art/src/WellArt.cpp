// The well cut-away: casing, separator, pump parts, dimension lines and particle pictures.
#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

#include "Config.h"
#include "Painting.h"
#include "WellGeometry.h"

namespace art {
namespace {

using namespace well;

// A steel section seen from the side: a horizontal gradient that reads as a rounded surface.
QLinearGradient steelAcross(double left, double right, const QColor& base = colour::kSteel) {
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0.0, base.darker(170));
    g.setColorAt(0.3, base.lighter(135));
    g.setColorAt(0.55, base);
    g.setColorAt(1.0, base.darker(190));
    return g;
}

void fillSteel(QPainter& p, const QRectF& r, const QColor& base = colour::kSteel) {
    p.fillRect(r, steelAcross(r.left(), r.right(), base));
}

// A liquid column: amber-brown, darker towards the walls and with depth.
void fillLiquid(QPainter& p, const QRectF& r, const QColor& tint, int alpha) {
    QLinearGradient across(r.left(), 0, r.right(), 0);
    QColor edge = tint.darker(150), middle = tint.lighter(112);
    edge.setAlpha(alpha);
    middle.setAlpha(alpha);
    across.setColorAt(0.0, edge);
    across.setColorAt(0.45, middle);
    across.setColorAt(1.0, edge);
    p.fillRect(r, across);
}

void darkenWithDepth(QPainter& p, const QRectF& r, int maxAlpha) {
    QLinearGradient down(0, r.top(), 0, r.bottom());
    down.setColorAt(0.0, QColor(0, 0, 0, 0));
    down.setColorAt(1.0, QColor(20, 8, 0, maxAlpha));
    p.fillRect(r, down);
}

// Rock: grains of one device pixel over a sixth of the area, so a picture drawn at a higher
// scale gets finer grain of the same tone. The grains come from a copy of rng, and rng moves on
// as far as the grains of a scale-1 picture take it, so what the caller draws next with rng
// lies at the same place at every scale.
void drawFormation(QPainter& p, const QRectF& r, Random& rng) {
    p.fillRect(r, QColor(0x3b, 0x33, 0x2b));
    const int scale = pictureScale();
    const int grains = static_cast<int>(r.height() * r.width() / 6);
    Random grain = rng;
    rng.discard(3L * grains);
    const QSizeF size(1.0 / scale, 1.0 / scale);
    for (int i = 0; i < grains * scale * scale; ++i) {
        const QPointF at(r.left() + grain.range(0, r.width()),
                         r.top() + grain.range(0, r.height()));
        const int shade = static_cast<int>(grain.range(40, 110));
        p.fillRect(QRectF(at, size), QColor(shade, shade - 8, shade - 18, 160));
    }
}

QImage drawCasing(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    Random rng(0x5eed0001u);
    drawFormation(p, QRectF(0, 0, kCasingOuterLeft, h), rng);
    drawFormation(p, QRectF(kCasingOuterRight, 0, w - kCasingOuterRight, h), rng);
    const QRectF bore(kCasingBoreLeft, 0, kCasingBoreRight - kCasingBoreLeft, h);
    fillLiquid(p, bore, colour::kLiquid, 255);
    darkenWithDepth(p, bore, 110);
    // Faint streaks of gas-cut liquid rising in the bore.
    for (int i = 0; i < 26; ++i) {
        const double x = rng.range(bore.left() + 6, bore.right() - 6);
        const double y = rng.range(-40, h);
        QLinearGradient streak(0, y, 0, y + 120);
        streak.setColorAt(0.0, QColor(255, 226, 170, 0));
        streak.setColorAt(0.5, QColor(255, 226, 170, 18));
        streak.setColorAt(1.0, QColor(255, 226, 170, 0));
        p.fillRect(QRectF(x, y, rng.range(2, 5), 120), streak);
    }
    // Casing wall with joints.
    fillSteel(p, QRectF(kCasingOuterLeft, 0, kCasingBoreLeft - kCasingOuterLeft, h));
    fillSteel(p, QRectF(kCasingBoreRight, 0, kCasingOuterRight - kCasingBoreRight, h));
    p.setPen(QPen(QColor(30, 34, 38, 160), 1));
    for (int y : {118, 420}) {
        p.drawLine(QPointF(kCasingOuterLeft, y + 0.5), QPointF(kCasingBoreLeft, y + 0.5));
        p.drawLine(QPointF(kCasingBoreRight, y + 0.5), QPointF(kCasingOuterRight, y + 0.5));
    }
    // Casing perforations near the bottom: holes through the wall and tunnels into the rock.
    for (int y = kCasingPerfTop; y + 10 <= kCasingPerfBottom; y += 22) {
        for (bool left : {true, false}) {
            const double wallIn = left ? kCasingBoreLeft : kCasingBoreRight;
            const double outer = left ? 0 : w;
            QLinearGradient tunnel(wallIn, 0, outer, 0);
            tunnel.setColorAt(0.0, colour::kLiquidDeep);
            tunnel.setColorAt(1.0, QColor(0x2a, 0x1a, 0x0c));
            p.fillRect(QRectF(std::min(wallIn, outer), y + 2, std::abs(outer - wallIn), 6), tunnel);
            p.setPen(QPen(QColor(20, 20, 20, 200), 1));
            p.drawLine(QPointF(std::min(wallIn, outer), y + 1.5),
                       QPointF(std::max(wallIn, outer), y + 1.5));
        }
    }
    return image;
}

QPolygonF topSubOutline() {
    // The coupling below the pump: a taper from the barrel to the separator's outer diameter.
    return QPolygonF({QPointF(kBarrelOuterLeft, kTopSubTop), QPointF(kBarrelOuterRight, kTopSubTop),
                      QPointF(kSepOuterRight, kTopSubTop + 10),
                      QPointF(kSepOuterRight, kTopSubBottom), QPointF(kSepOuterLeft, kTopSubBottom),
                      QPointF(kSepOuterLeft, kTopSubTop + 10)});
}

void drawSeparatorWalls(QPainter& p) {
    const int wallWidth = kSepInnerLeft - kSepOuterLeft;
    int y = kTopSubBottom;
    for (int port = 0; port <= 3; ++port) {
        const int end = port < 3 ? kPortTop[port] : kSepBodyBottom;
        fillSteel(p, QRectF(kSepOuterLeft, y, wallWidth, end - y));
        fillSteel(p, QRectF(kSepInnerRight, y, wallWidth, end - y));
        if (port == 3)
            break;
        // The slot: open to the liquid, with a dark rim top and bottom.
        for (int x : {kSepOuterLeft, kSepInnerRight}) {
            p.fillRect(QRectF(x - 1, end, wallWidth + 2, kPortHeight), colour::kLiquidDeep);
            p.fillRect(QRectF(x - 1, end, wallWidth + 2, 1.5), QColor(20, 20, 20, 220));
            p.fillRect(QRectF(x - 1, end + kPortHeight - 1.5, wallWidth + 2, 1.5),
                       QColor(20, 20, 20, 220));
        }
        y = end + kPortHeight;
    }
}

void drawBullPlug(QPainter& p) {
    QPainterPath nose;
    nose.moveTo(kSepOuterLeft, kSepBodyBottom);
    nose.lineTo(kSepOuterRight, kSepBodyBottom);
    nose.lineTo(kSepOuterRight, kSepBodyBottom + 8);
    nose.cubicTo(kSepOuterRight, kSepPlugBottom, kSepOuterLeft, kSepPlugBottom, kSepOuterLeft,
                 kSepBodyBottom + 8);
    nose.closeSubpath();
    p.fillPath(nose, steelAcross(kSepOuterLeft, kSepOuterRight));
    p.setPen(QPen(QColor(30, 34, 38, 200), 1));
    p.drawLine(QPointF(kSepInnerLeft, kSepBodyBottom + 0.5),
               QPointF(kSepInnerRight, kSepBodyBottom + 0.5));
}

void drawDipTube(QPainter& p) {
    fillLiquid(
        p,
        QRectF(kTubeBoreLeft, kTopSubTop, kTubeBoreRight - kTubeBoreLeft, kTubeInlet - kTopSubTop),
        colour::kLiquid.lighter(108), 245);
    fillSteel(p,
              QRectF(kTubeOuterLeft, kTopSubBottom, kTubeBoreLeft - kTubeOuterLeft,
                     kTubeInlet - kTopSubBottom),
              colour::kSteelLight);
    fillSteel(p,
              QRectF(kTubeBoreRight, kTopSubBottom, kTubeOuterRight - kTubeBoreRight,
                     kTubeInlet - kTopSubBottom),
              colour::kSteelLight);
    // Open lower end: a dark lip marks the inlet.
    p.fillRect(QRectF(kTubeOuterLeft, kTubeInlet - 2, kTubeOuterRight - kTubeOuterLeft, 2),
               QColor(40, 44, 48, 230));
}

void drawPumpBarrel(QPainter& p) {
    fillLiquid(p, QRectF(kBarrelBoreLeft, 0, kBarrelBoreRight - kBarrelBoreLeft, kBarrelBottom),
               colour::kLiquid.lighter(105), 245);
    fillSteel(p, QRectF(kBarrelOuterLeft, 0, kBarrelBoreLeft - kBarrelOuterLeft, kBarrelBottom));
    fillSteel(p, QRectF(kBarrelBoreRight, 0, kBarrelOuterRight - kBarrelBoreRight, kBarrelBottom));
    // Seating nipple and top sub: solid steel sections around the dip tube bore.
    QPainterPath solid;
    solid.addRect(QRectF(kBarrelOuterLeft, kBarrelBottom, kBarrelOuterRight - kBarrelOuterLeft,
                         kNippleBottom - kBarrelBottom));
    solid.addPolygon(topSubOutline());
    solid.closeSubpath();
    QPainterPath bore;
    bore.addRect(QRectF(kTubeBoreLeft, kBarrelBottom - 1, kTubeBoreRight - kTubeBoreLeft,
                        kTopSubBottom - kBarrelBottom + 2));
    p.fillPath(solid.simplified().subtracted(bore), steelAcross(kSepOuterLeft, kSepOuterRight));
    // Hatching marks the cut faces of the solid parts.
    p.save();
    p.setClipPath(solid.simplified().subtracted(bore));
    p.setPen(QPen(QColor(40, 46, 52, 90), 1));
    for (int x = kSepOuterLeft - 60; x < kSepOuterRight; x += 6)
        p.drawLine(QPointF(x, kTopSubBottom), QPointF(x + 50, kBarrelBottom));
    p.restore();
    p.setPen(QPen(QColor(30, 34, 38, 200), 1));
    p.drawLine(QPointF(kBarrelOuterLeft, kNippleBottom - 0.5),
               QPointF(kBarrelOuterRight, kNippleBottom - 0.5));
}

QImage drawSeparator(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    // Liquid inside the separator hides the casing's bubbles that would otherwise show through.
    const QRectF inside(kSepInnerLeft, kTopSubBottom, kSepInnerRight - kSepInnerLeft,
                        kSepBodyBottom - kTopSubBottom);
    fillLiquid(p, inside, QColor(0x9a, 0x68, 0x2a), 240);
    darkenWithDepth(p, inside, 70);
    drawSeparatorWalls(p);
    drawBullPlug(p);
    drawDipTube(p);
    drawPumpBarrel(p);
    return image;
}

QImage drawPlunger(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    // Valve rod connection at the top, then the polished plunger body.
    fillSteel(p, QRectF(31, 0, 19, 22), colour::kSteelLight);
    QPainterPath body;
    body.moveTo(0, 34);
    body.quadTo(0, 22, 14, 22);
    body.lineTo(67, 22);
    body.quadTo(81, 22, 81, 34);
    body.lineTo(81, h);
    body.lineTo(0, h);
    body.closeSubpath();
    // The cage window at the bottom shows the travelling valve ball.
    QPainterPath cage;
    cage.addRoundedRect(QRectF(20, 126, 41, 44), 4, 4);
    QPainterPath seatGap;
    seatGap.addRect(QRectF(32, 165, 17, 20));
    const QPainterPath metal = body.subtracted(cage).subtracted(seatGap);
    p.fillPath(metal, steelAcross(0, w, colour::kSteelLight));
    p.setPen(QPen(QColor(60, 70, 80, 120), 1));
    for (int y = 44; y < 118; y += 12)
        p.drawLine(QPointF(2, y + 0.5), QPointF(79, y + 0.5));
    p.setPen(QPen(QColor(40, 46, 52, 220), 1));
    p.drawPath(metal);
    // Liquid seen through the cage, translucent so the ball stays visible behind it.
    p.fillPath(cage.subtracted(seatGap), QColor(0x8a, 0x5a, 0x22, 60));
    return image;
}

QImage drawBall(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const QRectF ball(0.5, 0.5, w - 1, h - 1);
    QRadialGradient shine(ball.center() + QPointF(-4, -5), w * 0.62);
    shine.setColorAt(0.0, QColor(255, 255, 255));
    shine.setColorAt(0.25, QColor(0xc8, 0xd2, 0xdc));
    shine.setColorAt(0.8, QColor(0x5c, 0x68, 0x74));
    shine.setColorAt(1.0, QColor(0x2e, 0x36, 0x3e));
    p.setPen(QPen(QColor(30, 36, 42), 1));
    p.setBrush(shine);
    p.drawEllipse(ball);
    return image;
}

QImage drawSeat(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    // Cut-away of the valve seat: two steel sections with a conical cup between them.
    const QPolygonF left(
        {QPointF(0, 0), QPointF(24, 0), QPointF(34, 14), QPointF(34, h), QPointF(0, h)});
    const QPolygonF right(
        {QPointF(64, 0), QPointF(w, 0), QPointF(w, h), QPointF(54, h), QPointF(54, 14)});
    p.setPen(QPen(QColor(30, 36, 42), 1));
    for (const QPolygonF& piece : {left, right}) {
        p.setBrush(steelAcross(0, w, colour::kSteel));
        p.drawPolygon(piece);
    }
    p.setPen(QPen(QColor(40, 46, 52, 110), 1));
    p.save();
    QPainterPath clip;
    clip.addPolygon(left);
    clip.addPolygon(right);
    p.setClipPath(clip);
    for (int x = -30; x < w; x += 6)
        p.drawLine(QPointF(x, h), QPointF(x + h, 0));
    p.restore();
    return image;
}

// A dimension line: lime strokes with a dark green outline, like the labels drawn over it.
void strokeDimension(QPainter& p, const QPainterPath& path) {
    p.strokePath(path, QPen(colour::kDarkGreen, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(colour::kLime, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void arrowHead(QPainterPath& path, QPointF tip, QPointF direction) {
    const QPointF normal(-direction.y(), direction.x());
    path.moveTo(tip - direction * 8 + normal * 4.5);
    path.lineTo(tip);
    path.lineTo(tip - direction * 8 - normal * 4.5);
}

// Horizontal measure between two x positions of the image, at y = 86, with extension ticks.
QImage drawHorizontalDimension(int w, int h, double from, double to) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    constexpr double kLineY = 86;
    const double left = from + 1.5, right = to - 1.5;
    QPainterPath path;
    path.moveTo(left, kLineY);
    path.lineTo(right, kLineY);
    arrowHead(path, QPointF(left, kLineY), QPointF(-1, 0));
    arrowHead(path, QPointF(right, kLineY), QPointF(1, 0));
    for (double x : {left, right}) {
        path.moveTo(x, kLineY - 14);
        path.lineTo(x, kLineY + 14);
    }
    strokeDimension(p, path);
    return image;
}

// The dip tube length: a vertical measure from the inlet ports down to the tube's open end.
QImage drawLengthDimension(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    constexpr double kLineX = 34; // just outside the dip tube, in the right annulus
    const double top = 1.5, bottom = h - 1.5;
    QPainterPath path;
    path.moveTo(kLineX, top);
    path.lineTo(kLineX, bottom);
    arrowHead(path, QPointF(kLineX, top), QPointF(0, -1));
    arrowHead(path, QPointF(kLineX, bottom), QPointF(0, 1));
    path.moveTo(kLineX - 12, top);
    path.lineTo(kLineX + 18, top); // ports' lower edge, reaching the separator wall
    path.moveTo(2, bottom);
    path.lineTo(kLineX + 12, bottom); // the dip tube's open end
    strokeDimension(p, path);
    return image;
}

// A gas bubble: pale translucent body, a bright rim and a small highlight.
void paintBubble(QPainter& p, const QRectF& r) {
    QRadialGradient body(r.center() + QPointF(-r.width() * 0.12, -r.height() * 0.15),
                         std::max(r.width(), r.height()) * 0.62);
    body.setColorAt(0.0, QColor(255, 255, 255, 70));
    body.setColorAt(0.7, QColor(225, 240, 255, 110));
    body.setColorAt(0.92, QColor(235, 246, 255, 235));
    body.setColorAt(1.0, QColor(200, 220, 240, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(r);
    const double s = std::max(1.2, std::min(r.width(), r.height()) * 0.22);
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawEllipse(QRectF(r.left() + r.width() * 0.24, r.top() + r.height() * 0.2, s, s));
}

Drawer bubbleDrawer() {
    return [](int w, int h) {
        QImage image = blankImage(w, h);
        QPainter p(&image);
        prepare(p);
        paintBubble(p, QRectF(0.5, 0.5, w - 1, h - 1));
        return image;
    };
}

// A large spherical-cap bubble: domed top, flattened wobbly base.
QImage drawCapBubble(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QPainterPath cap;
    cap.moveTo(1, h * 0.78);
    cap.cubicTo(1, -h * 0.2, w - 1, -h * 0.2, w - 1, h * 0.78);
    cap.cubicTo(w * 0.75, h - 1, w * 0.25, h * 0.7, 1, h * 0.78);
    QRadialGradient body(QPointF(w * 0.4, h * 0.35), w * 0.6);
    body.setColorAt(0.0, QColor(255, 255, 255, 60));
    body.setColorAt(0.75, QColor(225, 240, 255, 100));
    body.setColorAt(1.0, QColor(235, 246, 255, 220));
    p.fillPath(cap, body);
    p.strokePath(cap, QPen(QColor(240, 248, 255, 220), 1.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(QRectF(w * 0.26, h * 0.2, w * 0.16, h * 0.14));
    return image;
}

QImage drawDoubleBubble(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    paintBubble(p, QRectF(0.5, 2.5, 7.5, 7));
    paintBubble(p, QRectF(6.5, 0.5, 7, 7));
    return image;
}

Drawer speckDrawer(const QColor& colour) {
    return [colour](int w, int h) {
        QImage image = blankImage(w, h);
        QPainter p(&image);
        prepare(p);
        QRadialGradient g(QPointF(w * 0.4, h * 0.4), std::max(w, h) * 0.6);
        g.setColorAt(0.0, colour.lighter(130));
        g.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 60));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QRectF(0.25, 0.25, w - 0.5, h - 0.5));
        return image;
    };
}

QImage drawFlowTriangle(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const QPolygonF up({QPointF(w / 2.0, 1), QPointF(w - 1, h - 1), QPointF(1, h - 1)});
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0.0, colour::kLime);
    g.setColorAt(1.0, colour::kAccent.darker(130));
    p.setPen(QPen(colour::kDarkGreen, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(up);
    return image;
}

QImage drawCapacityWarning(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const QRectF card(4, 3, w - 8, h - 9);
    drawShadow(p, card, 10, 4, 120);
    QLinearGradient fill(0, card.top(), 0, card.bottom());
    fill.setColorAt(0.0, QColor(0xc8, 0x30, 0x2c));
    fill.setColorAt(1.0, QColor(0x8e, 0x1c, 0x1a));
    p.fillPath(roundedPath(card, 10), fill);
    p.strokePath(roundedPath(card.adjusted(0.5, 0.5, -0.5, -0.5), 10),
                 QPen(QColor(255, 170, 160, 200), 1));
    // Gas-bubble symbol: a cluster of bubbles rising to a down-pointing inlet mark.
    p.setPen(Qt::NoPen);
    for (const QRectF& b :
         {QRectF(16, 12, 22, 22), QRectF(36, 24, 14, 14), QRectF(26, 36, 10, 10)}) {
        QRadialGradient g(b.center() - QPointF(3, 3), b.width() * 0.7);
        g.setColorAt(0.0, QColor(255, 255, 255, 250));
        g.setColorAt(1.0, QColor(255, 210, 200, 150));
        p.setBrush(g);
        p.drawEllipse(b);
    }
    // The title (beside the symbol) and the advice below are drawn by the program.
    return image;
}

} // namespace

void addWellDrawers(DrawerTable& table) {
    const QString dir = QStringLiteral("views/well_model/images/");
    table[dir + "wellbore_casing.png"] = drawCasing;
    table[dir + "wellbore_separator.png"] = drawSeparator;
    table[dir + "plunger.png"] = drawPlunger;
    table[dir + "ball_valve.png"] = drawBall;
    table[dir + "ball_valve_base.png"] = drawSeat;
    table[dir + "capacity_warning.png"] = drawCapacityWarning;
    // Dimension lines: the measured faces in well coordinates minus each line's X.
    auto horizontal = [](double from, double to) {
        return [from, to](int w, int h) { return drawHorizontalDimension(w, h, from, to); };
    };
    table[dir + "dim_casing-width.png"] = horizontal(kCasingBoreLeft - 11, kCasingBoreRight - 11);
    table[dir + "dim_sep-OD.png"] = horizontal(kSepOuterLeft - 50, kSepOuterRight - 50);
    table[dir + "dim_sep-ID.png"] = horizontal(kSepInnerLeft - 49, kSepInnerRight - 49);
    table[dir + "dim_dip-tube-OD.png"] = horizontal(kTubeOuterLeft - 49, kTubeOuterRight - 49);
    table[dir + "dim_dip-tube-ID.png"] = horizontal(kTubeBoreLeft - 48, kTubeBoreRight - 48);
    table[dir + "dim_dip-tube-length.png"] = drawLengthDimension;
    for (const char* name : {"bubble_01.png", "bubble_02.png", "bubble_03.png",
                             "bubble_large_02.png", "bubble_large_03.png", "bubble_medium_01.png"})
        table[dir + name] = bubbleDrawer();
    table[dir + "bubble_large_01.png"] = drawCapBubble;
    table[dir + "bubble_smallDouble.png"] = drawDoubleBubble;
    table[dir + "fluid_01.png"] = speckDrawer(QColor(255, 214, 150, 230));
    table[dir + "fluid_02.png"] = speckDrawer(QColor(240, 190, 110, 230));
    table[dir + "fluid_06.png"] = speckDrawer(QColor(255, 236, 200, 230));
    table[dir + "flow_triangle.png"] = drawFlowTriangle;
}

} // namespace art
