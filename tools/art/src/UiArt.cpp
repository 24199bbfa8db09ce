// Window background, header, button bar, buttons and dialogs.
#include <QLinearGradient>
#include <QRadialGradient>

#include "Config.h"
#include "Icons.h"
#include "Painting.h"

namespace art {
namespace {

QImage drawAppBackground(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QLinearGradient down(0, 0, 0, h);
    down.setColorAt(0.0, colour::kSlate);
    down.setColorAt(1.0, colour::kSlateDeep);
    const QRect whole(0, 0, w, h);
    p.fillRect(whole, down);
    QRadialGradient glow(QPointF(w * 0.55, h * 0.2), w * 0.6);
    glow.setColorAt(0.0, QColor(255, 255, 255, 14));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(whole, glow);
    return image;
}

QImage drawHeaderBar(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QLinearGradient down(0, 0, 0, h);
    down.setColorAt(0.0, QColor(0x2b, 0x40, 0x57));
    down.setColorAt(1.0, QColor(0x17, 0x22, 0x2e));
    p.fillRect(QRectF(0, 0, w, h - 2), down);
    QLinearGradient line(0, 0, w, 0);
    line.setColorAt(0.0, QColor(84, 218, 26, 230));
    line.setColorAt(0.45, QColor(84, 218, 26, 90));
    line.setColorAt(1.0, QColor(84, 218, 26, 0));
    p.fillRect(QRectF(0, h - 2, w, 2), line);
    p.fillRect(QRectF(0, 2, w, 1), QColor(255, 255, 255, 22));
    return image;
}

QImage drawTitle(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QFont font = exo(Face::Bold, 25);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    const double baseline = (h + metrics.ascent() - metrics.descent()) / 2.0;
    p.setPen(colour::kAccent);
    p.drawText(QPointF(2, baseline), kTitleBrand);
    const double x = 2 + metrics.horizontalAdvance(kTitleBrand + " ");
    p.setPen(colour::kCaption);
    p.drawText(QPointF(x, baseline), kTitleName);
    return image;
}

QImage drawButtonBarBackground(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    QPainterPath plate;
    plate.moveTo(64, 20);
    plate.lineTo(w - 4, 20);
    plate.lineTo(w - 4, h - 6);
    plate.lineTo(52, h - 6);
    plate.closeSubpath();
    const QRectF bounds = plate.boundingRect();
    drawShadow(p, bounds.adjusted(10, 0, 0, 0), 6, 5, 90);
    QLinearGradient fill(0, bounds.top(), 0, bounds.bottom());
    fill.setColorAt(0.0, colour::kSlateCardLight);
    fill.setColorAt(1.0, colour::kSlateCard);
    p.fillPath(plate, fill);
    p.strokePath(plate, QPen(QColor(255, 255, 255, 40), 1));
    p.fillRect(QRectF(66, 21, w - 71, 1), QColor(84, 218, 26, 120));
    return image;
}

// One button look: base colour, label, symbol; state changes light and offset.
struct ButtonStyle {
    QColor base;
    QString label;
    Symbol symbol;
    double labelSize;
};

enum class State { Base, Hover, Pressed };

QImage drawButton(int w, int h, const ButtonStyle& style, State state) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const double shift = state == State::Pressed ? 1 : 0;
    const QRectF face(1.5, 1.5 + shift, w - 3, h - 4);
    const double radius = h > 40 ? 12 : 7;
    QColor top = style.base.lighter(125), bottom = style.base.darker(125);
    if (state == State::Hover)
        top = top.lighter(118), bottom = bottom.lighter(120);
    if (state == State::Pressed)
        top = top.darker(125), bottom = bottom.darker(118);
    if (state != State::Pressed)
        drawShadow(p, face.adjusted(1, 0, -1, -1), radius, 2, 110);
    QLinearGradient fill(0, face.top(), 0, face.bottom());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    p.fillPath(roundedPath(face, radius), fill);
    p.strokePath(roundedPath(face.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5),
                 QPen(QColor(255, 255, 255, state == State::Hover ? 120 : 70), 1));
    p.strokePath(roundedPath(face, radius), QPen(QColor(0, 0, 0, 110), 1));
    const QColor ink = QColor(0xf6, 0xf9, 0xfb);
    const double iconSize = h > 40 ? 30 : 18;
    const QRectF icon(face.left() + (h > 40 ? 18 : 10), face.center().y() - iconSize / 2, iconSize,
                      iconSize);
    drawSymbol(p, style.symbol, icon, ink);
    const QRectF text(icon.right() + 8, face.top(), face.right() - icon.right() - 14,
                      face.height());
    drawFittedText(p, text, style.label, exo(Face::Bold, style.labelSize), ink,
                   Qt::AlignVCenter | Qt::AlignHCenter);
    return image;
}

void addButtonLooks(DrawerTable& table) {
    const QString dir = QStringLiteral("views/trapezoid_menu/images/button_");
    const QColor slate(0x3a, 0x5a, 0x7a);
    const std::pair<const char*, ButtonStyle> looks[] = {
        {"run", {QColor(0x3d, 0x9a, 0x2a), "Start Pump", Symbol::Play, 24}},
        {"pause", {QColor(0xd0, 0x86, 0x12), "Stop Pump", Symbol::Stop, 24}},
        {"showDimensions", {slate, "Show Dimensions", Symbol::ShowDimensions, 16}},
        {"hideDimensions", {slate, "Hide Dimensions", Symbol::HideDimensions, 16}},
        {"savepreset", {slate, "Save Preset", Symbol::Save, 16}},
        {"info", {slate, "Information", Symbol::Info, 16}},
        {"help", {slate, "Help", Symbol::Help, 16}},
    };
    for (const auto& [look, style] : looks) {
        const std::pair<const char*, State> states[] = {{"-base.png", State::Base},
                                                        {"-hover.png", State::Hover},
                                                        {"-pressed.png", State::Pressed}};
        for (const auto& [suffix, state] : states) {
            table[dir + look + suffix] = [style, state](int w, int h) {
                return drawButton(w, h, style, state);
            };
        }
    }
}

// A small text button on a panel card (the separator finder, the fluid's rise velocity): an
// outlined pill with the label in the accent green; hover fills it a little, pressed more.
QImage drawSmallButton(int w, int h, const QString& label, State state) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const double shift = state == State::Pressed ? 1 : 0;
    const QRectF face(0.5, 0.5 + shift, w - 1, h - 2);
    const int fill = state == State::Base ? 18 : state == State::Hover ? 45 : 70;
    p.fillPath(roundedPath(face, h / 2.0 - 1), QColor(84, 218, 26, fill));
    p.strokePath(roundedPath(face, h / 2.0 - 1), QPen(QColor(84, 218, 26, 170), 1));
    drawFittedText(p, face.adjusted(8, 0, -8, 0), label, exo(Face::Bold, 12),
                   state == State::Hover ? colour::kAccent.lighter(120) : colour::kAccent,
                   Qt::AlignCenter);
    return image;
}

void addSmallButtons(DrawerTable& table) {
    const std::pair<QString, QString> buttons[] = {
        {"views/parameters_panel/images/findbutton", "Find a Separator\u2026"},
        {"views/flow_panel/images/fluidbutton", "From fluid properties\u2026"},
    };
    const std::pair<const char*, State> states[] = {
        {"-base.png", State::Base}, {"-hover.png", State::Hover}, {"-pressed.png", State::Pressed}};
    for (const auto& [path, label] : buttons) {
        for (const auto& [suffix, state] : states) {
            table[path + suffix] = [label = label, state = state](int w, int h) {
                return drawSmallButton(w, h, label, state);
            };
        }
    }
}

// Dialogs: a light card with a dark title strip, drawn with a soft shadow.
const QRectF kCard(52, 58, 586, 300);
constexpr double kStripHeight = 48;
const QColor kCardInk(0x2a, 0x36, 0x44);
const QColor kLink(0x1f, 0x6f, 0xd1);

void drawDialogCard(QPainter& p, const QString& title) {
    drawShadow(p, kCard, 12, 14, 170);
    p.fillPath(roundedPath(kCard, 12), QColor(0xee, 0xf2, 0xf6));
    QPainterPath strip = roundedPath(kCard, 12).intersected([] {
        QPainterPath r;
        r.addRect(QRectF(kCard.left(), kCard.top(), kCard.width(), kStripHeight));
        return r;
    }());
    QLinearGradient fill(0, kCard.top(), 0, kCard.top() + kStripHeight);
    fill.setColorAt(0.0, QColor(0x2e, 0x45, 0x5e));
    fill.setColorAt(1.0, colour::kSlateDeep);
    p.fillPath(strip, fill);
    p.fillRect(QRectF(kCard.left(), kCard.top() + kStripHeight - 2, kCard.width(), 2),
               QColor(84, 218, 26, 200));
    drawFittedText(p, QRectF(kCard.left() + 22, kCard.top(), 480, kStripHeight - 2), title,
                   exo(Face::Bold, 20), colour::kCaption, Qt::AlignVCenter | Qt::AlignLeft);
    p.strokePath(roundedPath(kCard.adjusted(0.5, 0.5, -0.5, -0.5), 12),
                 QPen(QColor(0, 0, 0, 90), 1));
}

void drawBody(QPainter& p, const QRectF& box, const QString& text, double size = 15) {
    drawWrappedText(p, box, text, exo(Face::Regular, size), kCardInk);
}

void drawFooter(QPainter& p) {
    drawFittedText(p, QRectF(kCard.left() + 22, kCard.bottom() - 30, 300, 20),
                   QStringLiteral("%1 Gas Separator Simulator").arg(Contact::kCompany),
                   exo(Face::Italic, 13), QColor(0x6a, 0x7a, 0x8a),
                   Qt::AlignVCenter | Qt::AlignLeft);
}

QImage drawContactDialog(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    drawDialogCard(p, "Contact Quillmore");
    drawBody(p, QRectF(92, 116, 506, 56),
             "Questions about the simulator, separator sizing or our downhole equipment? "
             "Write to us or visit our website.");
    drawSymbol(p, Symbol::Mail, QRectF(214, 183, 20, 20), kCardInk);  // e-mail button at x 241
    drawSymbol(p, Symbol::Globe, QRectF(198, 213, 20, 20), kCardInk); // website button at x 225
    drawSymbol(p, Symbol::Phone, QRectF(214, 244, 20, 20), kCardInk);
    drawFittedText(p, QRectF(241, 243, 206, 22),
                   QStringLiteral("Telephone %1").arg(Contact::kSupportPhone),
                   exo(Face::Regular, 15), kCardInk, Qt::AlignCenter);
    drawFittedText(p, QRectF(130, 280, 430, 22),
                   QStringLiteral("Technical support: %1").arg(Contact::kSupportEmail),
                   exo(Face::Regular, 14), QColor(0x55, 0x64, 0x74), Qt::AlignCenter);
    drawFooter(p);
    return image;
}

QImage drawHelpDialog(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    drawDialogCard(p, "Help");
    drawBody(p, QRectF(80, 112, 530, 126),
             "Pick a casing and a separator (Tools > Find a Separator lists those that fit), or "
             "type the dimensions. Enter the rise velocity (or work it out from the fluids), the "
             "pump speed and the rate (or take it from the pump): the panel shows the capacity, "
             "the verdict and the recommended dip tube length; a field's tooltip gives its "
             "limits. Start Pump animates the well. The File menu keeps cases and exports "
             "reports; View switches units. Information opens the engineering guide.",
             14);
    drawSymbol(p, Symbol::Mail, QRectF(214, 249, 20, 20), kCardInk); // e-mail button at x 241
    drawFittedText(p, QRectF(130, 276, 430, 22),
                   QStringLiteral("Support telephone %1").arg(Contact::kSupportPhone),
                   exo(Face::Regular, 14), QColor(0x55, 0x64, 0x74), Qt::AlignCenter);
    drawFooter(p);
    return image;
}

QImage drawSavePresetDialog(int w, int h) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    drawDialogCard(p, "Save Separator Preset");
    drawBody(p, QRectF(80, 112, 530, 52),
             "Save the current separator and dip tube dimensions under a name. The preset is added "
             "to the separator list.");
    drawFittedText(p, QRectF(76, 175, 112, 29), "Preset name", exo(Face::Bold, 15), kCardInk,
                   Qt::AlignVCenter | Qt::AlignRight);
    drawFittedText(p, QRectF(195, 208, 405, 20), "Saved in Documents / Quillmore / Gas Separator",
                   exo(Face::Italic, 13), QColor(0x6a, 0x7a, 0x8a),
                   Qt::AlignVCenter | Qt::AlignLeft);
    return image;
}

QImage drawCloseButton(int w, int h, bool hover) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    if (hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour::kRed);
        p.drawEllipse(QRectF(0, 0, w, h));
    }
    drawSymbol(p, Symbol::Cross, QRectF(3, 3, w - 6, h - 6), hover ? Qt::white : colour::kCaption);
    return image;
}

QImage drawLinkButton(int w, int h, const QString& text, bool hover) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    if (hover)
        p.fillPath(roundedPath(QRectF(0, 0, w, h), 4), QColor(0x1f, 0x6f, 0xd1, 36));
    QFont font = exo(Face::Regular, 15);
    font.setUnderline(hover);
    drawFittedText(p, QRectF(2, 0, w - 4, h), text, font, hover ? kLink.darker(130) : kLink,
                   Qt::AlignCenter);
    return image;
}

QImage drawDialogButton(int w, int h, const QString& label, bool primary, State state) {
    QImage image = blankImage(w, h);
    QPainter p(&image);
    prepare(p);
    const double shift = state == State::Pressed ? 1 : 0;
    const QRectF face(0.5, 0.5 + shift, w - 1, h - 2);
    QColor base = primary ? QColor(0x1f, 0x6f, 0xd1) : QColor(0xd4, 0xdc, 0xe4);
    if (state == State::Hover)
        base = base.lighter(112);
    if (state == State::Pressed)
        base = base.darker(118);
    QLinearGradient fill(0, face.top(), 0, face.bottom());
    fill.setColorAt(0.0, base.lighter(112));
    fill.setColorAt(1.0, base.darker(108));
    p.fillPath(roundedPath(face, 6), fill);
    p.strokePath(roundedPath(face, 6), QPen(base.darker(150), 1));
    drawFittedText(p, face, label, exo(Face::Bold, 15), primary ? Qt::white : kCardInk,
                   Qt::AlignCenter);
    return image;
}

void addDialogs(DrawerTable& table) {
    table["views/contact_dialog/images/about_us-base.png"] = drawContactDialog;
    table["views/help_dialog/images/help-base.png"] = drawHelpDialog;
    table["views/savepreset_dialog/images/savepreset-base.png"] = drawSavePresetDialog;
    for (const char* dir : {"views/contact_dialog/images/", "views/help_dialog/images/",
                            "views/savepreset_dialog/images/"}) {
        table[QString(dir) + "close-base.png"] = [](int w, int h) {
            return drawCloseButton(w, h, false);
        };
        table[QString(dir) + "close-hover.png"] = [](int w, int h) {
            return drawCloseButton(w, h, true);
        };
    }
    auto link = [](const QString& text, bool hover) {
        return [text, hover](int w, int h) { return drawLinkButton(w, h, text, hover); };
    };
    table["views/contact_dialog/images/email-base.png"] = link(Contact::kInfoEmail, false);
    table["views/contact_dialog/images/email-hover.png"] = link(Contact::kInfoEmail, true);
    table["views/contact_dialog/images/website-base.png"] = link(Contact::kWebsite, false);
    table["views/contact_dialog/images/website-hover.png"] = link(Contact::kWebsite, true);
    table["views/help_dialog/images/email-base.png"] = link(Contact::kSupportEmail, false);
    table["views/help_dialog/images/email-hover.png"] = link(Contact::kSupportEmail, true);
    const std::pair<const char*, State> states[] = {
        {"-base.png", State::Base}, {"-hover.png", State::Hover}, {"-pressed.png", State::Pressed}};
    for (const auto& [suffix, state] : states) {
        table[QString("views/savepreset_dialog/images/save") + suffix] = [state](int w, int h) {
            return drawDialogButton(w, h, "Save", true, state);
        };
        table[QString("views/savepreset_dialog/images/cancel") + suffix] = [state](int w, int h) {
            return drawDialogButton(w, h, "Cancel", false, state);
        };
    }
}

} // namespace

void addUiDrawers(DrawerTable& table) {
    table["app_background.png"] = drawAppBackground;
    table["views/header_bar/images/header_bar.png"] = drawHeaderBar;
    table["views/header_bar/images/title.png"] = drawTitle;
    table["views/trapezoid_menu/images/trapezoid_bg-placeholder.png"] = drawButtonBarBackground;
    addButtonLooks(table);
    addSmallButtons(table);
    addDialogs(table);
}

} // namespace art
