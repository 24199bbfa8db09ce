// The parameters panel: its background with captions, the field pictures and the warnings.
#include <QLinearGradient>
#include <QPolygonF>

#include <algorithm>

#include "Config.h"
#include "Icons.h"
#include "Painting.h"

namespace art {
namespace {

// The panel card, in panel coordinates (the panel sits at (-2, 51) in the window).
const QRectF kPanelCard(6, 4, 420, 660);
constexpr double kCaptionLeft = 20;
constexpr double kFieldLeft = 180; // every text box starts here
constexpr double kFieldHeight = 29;

void drawHeading(QPainter& p, double y, const QString& text,
                 double cardRight = kPanelCard.right()) {
    QFont font = exo(Face::Bold, 14);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(font);
    p.setPen(colour::kAccent);
    const QRectF box(kCaptionLeft, y, 300, 18);
    QRectF used;
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text, &used);
    QLinearGradient rule(used.right() + 10, 0, cardRight - 14, 0);
    rule.setColorAt(0.0, QColor(84, 218, 26, 150));
    rule.setColorAt(1.0, QColor(84, 218, 26, 0));
    p.fillRect(QRectF(used.right() + 10, y + 9, cardRight - 24 - used.right(), 1), rule);
}

void drawSingleCaption(QPainter& p, double fieldY, double fieldHeight, const QString& name,
                       double right, double left = kCaptionLeft) {
    drawFittedText(p, QRectF(left, fieldY, right - left, fieldHeight), name, exo(Face::Regular, 15),
                   colour::kCaption, Qt::AlignLeft | Qt::AlignVCenter);
}

QImage drawPanelBackground(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    drawShadow(p, kPanelCard, 12, 6, 110);
    QLinearGradient fill(0, kPanelCard.top(), 0, kPanelCard.bottom());
    fill.setColorAt(0.0, colour::kSlateCardLight);
    fill.setColorAt(1.0, colour::kSlateCard);
    p.fillPath(roundedPath(kPanelCard, 12), fill);
    p.strokePath(roundedPath(kPanelCard.adjusted(0.5, 0.5, -0.5, -0.5), 12),
                 QPen(QColor(255, 255, 255, 40), 1));
    p.fillRect(QRectF(kPanelCard.left() + 14, kPanelCard.top() + 1, kPanelCard.width() - 28, 1),
               QColor(255, 255, 255, 70));

    drawHeading(p, 9, "WELL");
    drawSingleCaption(p, 32, 23, "Casing size", 138); // combo box at (144, 32)
    drawHeading(p, 92, "SEPARATOR", 206); // the finder's button at (196, 91) ends the rule
    // The boxes' captions are drawn by the program, in the units the user picked.
    drawSingleCaption(p, 120, 22, "Preset", 58, 15); // combo box at (61, 120)
    drawHeading(p, 244, "DIP TUBE");
    // The recommended length is drawn by a label starting at x 325 on the baseline y 418.
    drawFittedText(p, QRectF(kCaptionLeft, 402, 298, 20),
                   "Recommended dip tube length:", exo(Face::Italic, 15), colour::kCaption,
                   Qt::AlignRight | Qt::AlignBottom);
    // The results: the maximum capacity's box, then the gas limit, the verdict and the
    // above-capacity notice, all drawn by the program.
    drawHeading(p, 436, "RESULTS");
    return image;
}

// The flow and pump panel beside the button bar: a card with its heading; the boxes and their
// captions are the program's.
QImage drawFlowPanelBackground(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const QRectF card(6, 4, w - 12, h - 10);
    drawShadow(p, card, 12, 6, 110);
    QLinearGradient fill(0, card.top(), 0, card.bottom());
    fill.setColorAt(0.0, colour::kSlateCardLight);
    fill.setColorAt(1.0, colour::kSlateCard);
    p.fillPath(roundedPath(card, 12), fill);
    p.strokePath(roundedPath(card.adjusted(0.5, 0.5, -0.5, -0.5), 12),
                 QPen(QColor(255, 255, 255, 40), 1));
    p.fillRect(QRectF(card.left() + 14, card.top() + 1, card.width() - 28, 1),
               QColor(255, 255, 255, 70));
    drawHeading(p, 9, "FLOW AND PUMP", card.right());
    // The pump's speed, plunger, stroke and efficiency under their own heading.
    drawHeading(p, 170, "PUMP", card.right());
    return image;
}

// Field pictures are opaque: the corners take the colour of the card they sit on.
QImage drawField(int w, int h, const QColor& behind, const QColor& top, const QColor& bottom,
                 const QColor& border) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    p.fillRect(QRect(0, 0, w, h), behind);
    const QRectF face(0.5, 0.5, w - 1, h - 1);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.fillPath(roundedPath(face, 3), fill);
    p.strokePath(roundedPath(face, 3), QPen(border, 1));
    p.fillRect(QRectF(3, 1.5, w - 6, 1), QColor(0, 0, 0, 18)); // inner top shade
    return image;
}

Drawer lightField(const QColor& behind) {
    return [behind](int w, int h) {
        return drawField(w, h, behind, colour::kField.darker(103), colour::kField,
                         colour::kFieldBorder);
    };
}

QImage drawBlueField(int w, int h) {
    return drawField(w, h, colour::kSlateCard, colour::kFieldBlue.darker(110),
                     colour::kFieldBlue.lighter(108), colour::kFieldBlue.darker(150));
}

// Closed combo box: a light field with the drop-down arrow in its right 25 pixels.
QImage drawComboBox(int w, int h) {
    QImage image = drawField(w, h, colour::kSlateCardLight, colour::kField.darker(103),
                             colour::kField, colour::kFieldBorder);
    QPainter p(&image);
    prepare(p);
    const double strip = w - 25;
    p.fillRect(QRectF(strip, 1, 24, h - 2), QColor(0xdd, 0xe4, 0xeb));
    p.fillRect(QRectF(strip, 2, 1, h - 4), colour::kFieldBorder);
    const double cx = strip + 12.5, cy = h / 2.0;
    p.setPen(QPen(colour::kSlate, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(
        QPolygonF({QPointF(cx - 5, cy - 2.5), QPointF(cx, cy + 2.5), QPointF(cx + 5, cy - 2.5)}));
    return image;
}

QImage drawFlat(int w, int h, const QColor& colour) {
    QImage image = blankImage(w, h);
    image.fill(colour);
    return image;
}

// A warning callout without text (the program draws the title and the text over it): a card
// with a pointer at its left edge, at the middle of its height, or a bracket over two fields
// `span` pixels apart around that middle.
struct Warning {
    bool inconsistent;        // red for values that contradict each other, amber for range errors
    double span;              // 0: a pointer
    bool pointsRight = false; // the pointer at the right edge, for fields right of the card
};

QImage drawWarning(int w, int h, const Warning& warning) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const QColor accent = warning.inconsistent ? colour::kRed : colour::kAmber;
    const double middle = h / 2.0;
    const double cardHeight = 78;
    // The card keeps its place whichever way it points, so its texts do too.
    const QRectF card(14, middle - cardHeight / 2, w - (warning.pointsRight ? 28 : 18), cardHeight);
    drawShadow(p, card, 8, 4, 120);
    QPainterPath shape = roundedPath(card, 8);
    QPainterPath pointer;
    if (warning.pointsRight) {
        pointer.addPolygon(QPolygonF({QPointF(w - 1, middle), QPointF(card.right() - 1, middle - 9),
                                      QPointF(card.right() - 1, middle + 9)}));
    } else if (warning.span < 1) {
        pointer.addPolygon(
            QPolygonF({QPointF(1, middle), QPointF(15, middle - 9), QPointF(15, middle + 9)}));
    } else {
        pointer.addPolygon(
            QPolygonF({QPointF(15, middle - 8), QPointF(8, middle), QPointF(15, middle + 8)}));
    }
    shape = shape.united(pointer);
    p.fillPath(shape, QColor(0x1c, 0x24, 0x2e, 240));
    p.strokePath(shape, QPen(accent, 2));
    p.fillRect(QRectF(card.left() + 1, card.top() + 8, 5, card.height() - 16), accent);
    if (warning.span >= 1) {
        // A bracket pointing at both fields.
        const double top = middle - warning.span / 2, bottom = middle + warning.span / 2;
        p.setPen(QPen(accent, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(
            QPolygonF({QPointF(2, top), QPointF(8, top), QPointF(8, bottom), QPointF(2, bottom)}));
    }
    drawSymbol(p, Symbol::Warning, QRectF(card.left() + 14, card.top() + 10, 24, 22), accent);
    return image;
}

void addWarnings(DrawerTable& table) {
    const QString dir = QStringLiteral("views/parameters_panel/images/");
    // A range warning; the two consistency warnings bracket fields 38 pixels apart (one under
    // the other) and 60 pixels apart (with a heading between them).
    const std::pair<const char*, Warning> warnings[] = {
        {"warning_range.png", {false, 0}},
        {"warning_range_right.png", {false, 0, true}},
        {"warning_pair.png", {true, 38}},
        {"warning_pair_wide.png", {true, 60}},
    };
    for (const auto& [name, warning] : warnings)
        table[dir + name] = [warning](int w, int h) { return drawWarning(w, h, warning); };
}

} // namespace

void addPanelDrawers(DrawerTable& table) {
    const QString dir = QStringLiteral("views/parameters_panel/images/");
    table[dir + "parameters_panel_background.png"] = drawPanelBackground;
    table[dir + "textbox_small.png"] = lightField(colour::kSlateCard);
    table[dir + "textbox_blue.png"] = drawBlueField;
    table[dir + "textbox_narrow.png"] = lightField(colour::kSlateCard);
    table["views/flow_panel/images/flow_panel_background.png"] = drawFlowPanelBackground;
    table["views/flow_panel/images/combobox_narrow.png"] = drawComboBox;
    table[dir + "combobox_bg.png"] = drawComboBox;
    table[dir + "combobox_bg_small.png"] = drawComboBox;
    table[dir + "test_combobox_dropdown_background.png"] = [](int w, int h) {
        return drawFlat(w, h, QColor(0xf7, 0xf9, 0xfb));
    };
    table[dir + "test_combobox_dropdown_selected.png"] = [](int w, int h) {
        return drawFlat(w, h, colour::kFieldBlue);
    };
    table["views/savepreset_dialog/images/presetname-textbox.png"] =
        lightField(QColor(0xee, 0xf2, 0xf6));
    addWarnings(table);
}

} // namespace art
