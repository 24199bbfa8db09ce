// Debug sheets (not shipped): the well with every particle region and dimension line overlaid,
// and a contact sheet of every picture on a checkerboard.
#include <QDir>
#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Config.h"
#include "Outputs.h"
#include "Painting.h"
#include "WellGeometry.h"

namespace art {
namespace {

struct Region {
    const char* name;
    QRect rect;
    QColor colour;
};

// The particle regions and the dip tube rectangle as the well model's tags place them.
std::vector<Region> wellRegions() {
    const QColor casing(255, 255, 255), perf(255, 80, 200), annulus(0, 220, 255), tube(255, 230, 0),
        fluid(255, 140, 0);
    return {
        {"casing", QRect(11, -20, 250, 808), casing},
        {"perf_left", QRect(58, 236, 55, 59), perf},
        {"perf_right", QRect(160, 236, 60, 59), perf},
        {"perf_left_top", QRect(44, 0, 43, 280), casing},
        {"perf_right_top", QRect(185, 0, 43, 280), casing},
        {"perf_left_top_fluid", QRect(15, 100, 60, 140), fluid},
        {"perf_right_top_fluid", QRect(185, 100, 60, 140), fluid},
        {"perf_left_bottom", QRect(25, 270, 63, 440), casing},
        {"perf_right_bottom", QRect(183, 270, 63, 440), casing},
        {"diptube_left", QRect(84, 238, 33, 290), annulus},
        {"diptube_right", QRect(156, 238, 33, 290), annulus},
        {"diptube_left_fluid", QRect(89, 295, 25, 268), fluid},
        {"diptube_right_fluid", QRect(159, 295, 25, 268), fluid},
        {"diptube_center_fluid", QRect(123, 161, 25, 410), fluid},
        {"diptube_center_bottom_fluid", QRect(90, 550, 94, 110), fluid},
        {"diptube_top_fluid", QRect(95, 0, 85, 171), tube},
        {"diptube_center", QRect(95, 0, 95, 568), tube},
        {"dip tube (tube rect)", QRect(121, 0, 33, 555), tube},
        {"flow_indicator", QRect(121, 160, 33, 555), QColor(120, 255, 120)},
    };
}

struct DimensionLine {
    const char* image;
    QPoint at;
    QPoint label;
    const char* text;
};

const DimensionLine kDimensionLines[] = {
    {"dim_dip-tube-length.png", {135, 293}, {103, 132}, "42\""},
    {"dim_casing-width.png", {11, 60}, {140, 68}, "4.5\""},
    {"dim_sep-OD.png", {50, 570}, {97, 66}, "3\""},
    {"dim_sep-ID.png", {49, 500}, {100, 65}, "2.75\""},
    {"dim_dip-tube-OD.png", {49, 410}, {96, 64}, "1.35\""},
    {"dim_dip-tube-ID.png", {48, 300}, {97, 64}, "1.084\""},
};

QImage load(const QString& outDir, const QString& name) {
    return QImage(outDir + "/views/well_model/images/" + name);
}

// The well as the program composes it, with the plunger at the given stroke position.
void drawWell(QPainter& p, const QString& outDir, int plungerY, int ballY) {
    p.drawImage(0, 0, load(outDir, "wellbore_casing.png"));
    p.drawImage(0, 0, load(outDir, "wellbore_separator.png"));
    p.drawImage(well::kStandingBallX, ballY, load(outDir, "ball_valve.png"));
    p.drawImage(well::kPlungerX + 27, plungerY + 156, load(outDir, "ball_valve.png"));
    p.drawImage(well::kPlungerX, plungerY, load(outDir, "plunger.png"));
    p.drawImage(well::kSeatX, well::kSeatY, load(outDir, "ball_valve_base.png"));
}

// Sprinkles particles of one kind over a region, as the particle engine would show them.
struct Sprinkle {
    const char* image;
    QRect region;
    int count;
    double alphaMin, alphaMax; // opacity, 0 to 1
    QSize minimumSize;         // drawn between this and the picture's size when they differ
};

void sprinkle(QPainter& p, const QString& outDir, const Sprinkle& s, Random& rng) {
    const QImage image = load(outDir, s.image);
    for (int i = 0; i < s.count; ++i) {
        const double t = rng.uniform();
        const QSizeF size =
            s.minimumSize.isValid()
                ? QSizeF(s.minimumSize.width() + t * (image.width() - s.minimumSize.width()),
                         s.minimumSize.height() + t * (image.height() - s.minimumSize.height()))
                : QSizeF(image.size());
        const QPointF at(rng.range(s.region.left(), s.region.right() - size.width()),
                         rng.range(s.region.top(), s.region.bottom() - size.height()));
        p.setOpacity(rng.range(s.alphaMin, s.alphaMax));
        p.drawImage(QRectF(at, size), image);
    }
    p.setOpacity(1.0);
}

// The well with a frozen frame of particles: casing froth behind the separator picture,
// annulus bubbles and liquid specks in front of it.
void drawWellWithParticles(QPainter& p, const QString& outDir, int plungerY) {
    Random rng(0x0b0b1e5u);
    p.drawImage(0, 0, load(outDir, "wellbore_casing.png"));
    const QRect casing(11, 0, 250, 722);
    const Sprinkle behind[] = {
        {"bubble_medium_01.png", casing, 160, 0.05, 0.3, QSize()},
        {"bubble_large_01.png", casing, 60, 0.05, 0.3, QSize(14, 16)},
        {"bubble_01.png", casing, 150, 0.05, 0.3, QSize()},
        {"bubble_large_02.png", casing, 260, 0.05, 0.3, QSize(14, 16)},
        {"bubble_large_03.png", casing, 100, 0.05, 0.3, QSize(14, 16)},
        {"bubble_01.png", QRect(44, 0, 43, 280), 30, 0.35, 0.75, QSize()},
        {"bubble_02.png", QRect(185, 0, 43, 280), 20, 0.35, 0.75, QSize()},
        {"bubble_03.png", QRect(25, 270, 63, 440), 16, 0.35, 0.75, QSize()},
        {"fluid_06.png", QRect(183, 270, 63, 440), 30, 0.35, 0.75, QSize()},
        {"fluid_06.png", QRect(15, 100, 60, 140), 10, 0.35, 0.75, QSize()},
    };
    for (const Sprinkle& s : behind)
        sprinkle(p, outDir, s, rng);
    p.drawImage(0, 0, load(outDir, "wellbore_separator.png"));
    const Sprinkle front[] = {
        {"bubble_01.png", QRect(58, 236, 55, 59), 6, 0.35, 0.75, QSize()},
        {"bubble_02.png", QRect(160, 236, 60, 59), 6, 0.35, 0.75, QSize()},
        {"bubble_01.png", QRect(84, 238, 33, 110), 24, 0.75, 1.0, QSize()},
        {"bubble_03.png", QRect(156, 238, 33, 110), 12, 0.5, 1.0, QSize()},
        {"bubble_01.png", QRect(156, 238, 33, 110), 20, 0.75, 1.0, QSize()},
        {"fluid_01.png", QRect(89, 295, 25, 268), 14, 0.3, 0.4, QSize()},
        {"fluid_02.png", QRect(159, 295, 25, 268), 14, 0.1, 0.4, QSize()},
        {"fluid_01.png", QRect(123, 161, 25, 410), 30, 0.3, 0.4, QSize()},
        {"fluid_02.png", QRect(95, 0, 85, 171), 20, 0.1, 0.4, QSize()},
        {"fluid_01.png", QRect(90, 550, 94, 110), 14, 0.3, 0.4, QSize()},
        {"flow_triangle.png", QRect(129, 420, 15, 13), 1, 1.0, 1.0, QSize()},
    };
    for (const Sprinkle& s : front)
        sprinkle(p, outDir, s, rng);
    p.drawImage(well::kStandingBallX, well::kStandingBallUpperY, load(outDir, "ball_valve.png"));
    p.drawImage(well::kPlungerX + 27, plungerY + 141, load(outDir, "ball_valve.png"));
    p.drawImage(well::kPlungerX, plungerY, load(outDir, "plunger.png"));
    p.drawImage(well::kSeatX, well::kSeatY, load(outDir, "ball_valve_base.png"));
}

void drawOutlinedText(QPainter& p, const QPointF& baselineCentre, const QString& text) {
    QFont font = exo(Face::Bold, 55);
    QPainterPath path;
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    path.addText(baselineCentre - QPointF(width / 2, 0), font, text);
    p.strokePath(path, QPen(colour::kDarkGreen, 4));
    p.fillPath(path, colour::kLime);
}

QImage wellOverlay(const QString& outDir) {
    constexpr int kScale = 2, kMargin = 40;
    const int panelWidth = well::kWidth * kScale + 2 * kMargin;
    QImage sheet(panelWidth * 2, well::kHeight * kScale + 2 * kMargin, QImage::Format_ARGB32);
    sheet.fill(QColor(40, 40, 48));
    QPainter p(&sheet);
    prepare(p);
    // Left: regions over the well (plunger at the bottom of its stroke).
    p.save();
    p.translate(kMargin, kMargin);
    p.scale(kScale, kScale);
    drawWell(p, outDir, well::kPlungerLowerY, well::kStandingBallLowerY);
    for (const Region& region : wellRegions()) {
        QColor c = region.colour;
        p.setPen(QPen(c, 0.75));
        c.setAlpha(28);
        p.setBrush(c);
        p.drawRect(QRectF(region.rect).adjusted(0.25, 0.25, -0.25, -0.25));
        p.setFont(exo(Face::Regular, 5));
        p.setPen(region.colour);
        p.drawText(QPointF(region.rect.left() + 1.5, std::max(0, region.rect.top()) + 6),
                   region.name);
    }
    p.restore();
    // Right: the dimension lines and their labels (plunger at the top of its stroke).
    p.save();
    p.translate(panelWidth + kMargin, kMargin);
    p.scale(kScale, kScale);
    drawWell(p, outDir, well::kPlungerUpperY, well::kStandingBallUpperY);
    for (const DimensionLine& line : kDimensionLines) {
        p.drawImage(line.at, load(outDir, line.image));
        drawOutlinedText(p, line.at + line.label, line.text);
    }
    p.restore();
    p.setPen(Qt::white);
    p.setFont(exo(Face::Bold, 16));
    p.drawText(QPointF(kMargin, 26), "Particle regions (plunger down)");
    p.drawText(QPointF(panelWidth + kMargin, 26), "Dimension lines (plunger up)");
    return sheet;
}

void drawCheckerboard(QPainter& p, const QRectF& area) {
    p.save();
    p.setClipRect(area);
    for (int y = 0; y * 8 < area.height(); ++y)
        for (int x = 0; x * 8 < area.width(); ++x)
            p.fillRect(QRectF(area.left() + x * 8, area.top() + y * 8, 8, 8),
                       (x + y) % 2 ? QColor(200, 200, 200) : QColor(150, 150, 150));
    p.restore();
}

QImage contactSheet(const QString& outDir, const std::vector<ManifestEntry>& entries) {
    constexpr int kColumns = 6, kCellWidth = 320, kCellHeight = 250, kPictureHeight = 200;
    const int cells = static_cast<int>(entries.size()) + 2; // the pictures, then the two icons
    const int rows = (cells + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCellWidth, rows * kCellHeight, QImage::Format_ARGB32);
    sheet.fill(QColor(30, 32, 36));
    QPainter p(&sheet);
    prepare(p);
    for (size_t i = 0; i < entries.size(); ++i) {
        const ManifestEntry& entry = entries[i];
        const QRectF cell((i % kColumns) * kCellWidth, (i / kColumns) * kCellHeight, kCellWidth,
                          kCellHeight);
        const QImage picture(outDir + "/" + entry.path);
        const double scale = std::min(
            {(kCellWidth - 20.0) / entry.width, double(kPictureHeight) / entry.height, 8.0});
        const QSizeF size(entry.width * scale, entry.height * scale);
        const QRectF target(cell.left() + (kCellWidth - size.width()) / 2, cell.top() + 6,
                            size.width(), size.height());
        drawCheckerboard(p, target);
        p.drawImage(target, picture);
        drawFittedText(
            p, QRectF(cell.left() + 4, cell.top() + kPictureHeight + 10, kCellWidth - 8, 16),
            entry.path.section('/', -1), exo(Face::Bold, 12), Qt::white, Qt::AlignCenter, 6);
        drawFittedText(
            p, QRectF(cell.left() + 4, cell.top() + kPictureHeight + 26, kCellWidth - 8, 14),
            QStringLiteral("%1  %2 x %3%4")
                .arg(entry.path.section('/', 0, -2))
                .arg(entry.width)
                .arg(entry.height)
                .arg(picture.isNull() ? "  MISSING" : ""),
            exo(Face::Regular, 10), QColor(180, 190, 200), Qt::AlignCenter, 6);
    }
    for (int variant = 1; variant <= 2; ++variant) {
        const size_t i = entries.size() + variant - 1;
        const QPointF origin((i % kColumns) * kCellWidth, (i / kColumns) * kCellHeight);
        const QRectF big(origin + QPointF(6, 6), QSizeF(192, 192));
        drawCheckerboard(p, big);
        p.drawImage(big, drawAppIcon(256, variant));
        double y = origin.y() + 6;
        for (int size : {64, 48, 32, 24, 16}) {
            const QRectF small(origin.x() + 210, y, size, size);
            drawCheckerboard(p, small);
            p.drawImage(small.topLeft(), drawAppIcon(size, variant));
            y += size + 4;
        }
        drawFittedText(p,
                       QRectF(origin.x() + 4, origin.y() + kPictureHeight + 10, kCellWidth - 8, 16),
                       QStringLiteral("GasSeparatorIcon_%1.ico").arg(variant), exo(Face::Bold, 12),
                       Qt::white, Qt::AlignCenter, 6);
        drawFittedText(p,
                       QRectF(origin.x() + 4, origin.y() + kPictureHeight + 26, kCellWidth - 8, 14),
                       "icons  256 (at 3/4), 64, 48, 32, 24, 16", exo(Face::Regular, 10),
                       QColor(180, 190, 200), Qt::AlignCenter, 6);
    }
    return sheet;
}

QImage picture(const QString& outDir, const QString& path) {
    return QImage(outDir + "/" + path);
}

// Panel text boxes: panel-relative position, width, background, sample text.
struct Field {
    QPoint at;
    int width;
    const char* image;
    const char* text;
};

void drawPanelFields(QPainter& p, const QString& outDir) {
    const QPoint panel(-2, 51);
    const QString dir = "views/parameters_panel/images/";
    const Field fields[] = {
        {{180, 170}, 190, "textbox_small.png", "3"},
        {{180, 208}, 190, "textbox_small.png", "2.75"},
        {{180, 268}, 190, "textbox_small.png", "1.35"},
        {{180, 306}, 190, "textbox_small.png", "1.05"},
        {{180, 344}, 190, "textbox_small.png", "42"},
        {{179, 461}, 215, "textbox_blue.png", "242"},
        // The flow and pump panel's boxes, from the panel's origin.
        {{852, 286}, 125, "textbox_narrow.png", "6"},
        {{852, 324}, 125, "textbox_narrow.png", "0"},
        {{852, 362}, 125, "textbox_narrow.png", "200"},
    };
    p.setFont(exo(Face::Regular, 20));
    for (const Field& field : fields) {
        const QPoint at = panel + field.at;
        p.drawImage(at, picture(outDir, dir + field.image));
        p.setPen(QString(field.image) == "textbox_blue.png" ? Qt::white
                 : QString(field.text) == "0"               ? Qt::red
                                                            : Qt::black);
        p.drawText(QRect(at + QPoint(5, 2), QSize(field.width - 5, 27)), Qt::AlignVCenter,
                   field.text);
    }
    p.drawImage(panel + QPoint(144, 32), picture(outDir, dir + "combobox_bg_small.png"));
    p.drawImage(panel + QPoint(61, 120), picture(outDir, dir + "combobox_bg.png"));
    p.setPen(Qt::black);
    p.setFont(exo(Face::Regular, 17));
    p.drawText(panel + QPoint(150, 50), "4.5\" 9.5 lbs/ft (ID 4.09\")");
    p.drawText(panel + QPoint(67, 137), "(User Defined)");
    QPainterPath label;
    label.addText(panel + QPoint(325, 418), exo(Face::Italic, 17), "27.75 in");
    p.strokePath(label, QPen(QColor(84, 218, 26, 175), 1));
    p.fillPath(label, colour::kAccent);
}

void drawButtonBar(QPainter& p, const QString& outDir) {
    const QString dir = "views/trapezoid_menu/images/";
    p.drawImage(705, 100, picture(outDir, dir + "trapezoid_bg-placeholder.png"));
    p.drawImage(765, 50, picture(outDir, dir + "button_run-hover.png"));
    p.drawImage(779, 130, picture(outDir, dir + "button_showDimensions-base.png"));
    p.drawImage(779, 171, picture(outDir, dir + "button_savepreset-base.png"));
    p.drawImage(779, 212, picture(outDir, dir + "button_info-base.png"));
    p.drawImage(779, 253, picture(outDir, dir + "button_help-pressed.png"));
}

// The whole window as the program lays it out, with three warnings showing.
QImage windowMockup(const QString& outDir) {
    QImage window(1300, 720, QImage::Format_ARGB32);
    QPainter p(&window);
    prepare(p);
    p.drawImage(0, 0, picture(outDir, "app_background.png"));
    p.save();
    p.translate(986, 0);
    drawWellWithParticles(p, outDir, -70);
    p.restore();
    p.drawImage(-2, -2, picture(outDir, "views/header_bar/images/header_bar.png"));
    p.drawImage(10, 12, picture(outDir, "views/header_bar/images/title.png"));
    p.drawImage(-2, 51,
                picture(outDir, "views/parameters_panel/images/parameters_panel_background.png"));
    p.drawImage(700, 305, picture(outDir, "views/flow_panel/images/flow_panel_background.png"));
    drawPanelFields(p, outDir);
    drawButtonBar(p, outDir);
    p.drawImage(401, 344, picture(outDir, "views/parameters_panel/images/warning_range_right.png"));
    p.drawImage(396, 210, picture(outDir, "views/parameters_panel/images/warning_pair.png"));
    p.drawImage(491, 575, picture(outDir, "views/well_model/images/capacity_warning.png"));
    return window;
}

// The three dialogs with their buttons at their places (hover shown on one button each).
QImage dialogsMockup(const QString& outDir) {
    QImage sheet(690, 3 * 384, QImage::Format_ARGB32);
    sheet.fill(QColor(0x24, 0x36, 0x4a));
    QPainter p(&sheet);
    prepare(p);
    const QString c = "views/contact_dialog/images/", h = "views/help_dialog/images/",
                  s = "views/savepreset_dialog/images/";
    p.drawImage(0, 0, picture(outDir, c + "about_us-base.png"));
    p.drawImage(610, 75, picture(outDir, c + "close-base.png"));
    p.drawImage(241, 182, picture(outDir, c + "email-base.png"));
    p.drawImage(225, 212, picture(outDir, c + "website-hover.png"));
    p.drawImage(0, 384, picture(outDir, h + "help-base.png"));
    p.drawImage(610, 384 + 75, picture(outDir, h + "close-hover.png"));
    p.drawImage(241, 384 + 248, picture(outDir, h + "email-base.png"));
    p.drawImage(0, 768, picture(outDir, s + "savepreset-base.png"));
    p.drawImage(610, 768 + 75, picture(outDir, s + "close-base.png"));
    p.drawImage(487, 768 + 305, picture(outDir, s + "save-hover.png"));
    p.drawImage(370, 768 + 305, picture(outDir, s + "cancel-base.png"));
    p.drawImage(195, 768 + 175, picture(outDir, s + "presetname-textbox.png"));
    return sheet;
}

} // namespace

bool writeDebugSheets(const QString& outDir, const std::vector<ManifestEntry>& entries) {
    QDir().mkpath(outDir + "/debug");
    const bool ok =
        wellOverlay(outDir).save(outDir + "/debug/well_overlay.png", "PNG") &&
        contactSheet(outDir, entries).save(outDir + "/debug/contact_sheet.png", "PNG") &&
        windowMockup(outDir).save(outDir + "/debug/window_mockup.png", "PNG") &&
        dialogsMockup(outDir).save(outDir + "/debug/dialogs_mockup.png", "PNG");
    if (!ok)
        std::fprintf(stderr, "cannot write the debug sheets\n");
    return ok;
}

} // namespace art
