#include "app/platform/qt/QtFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>

namespace {
// "Exo Bold" is the family "Exo" in the style "Bold" when no family has the whole name.
QFont FontForFace(const QString& face) {
    if (QFontDatabase::hasFamily(face)) {
        return QFont(face);
    }
    const qsizetype blank = face.lastIndexOf(' ');
    if (blank > 0) {
        const QString family = face.left(blank);
        const QString style = face.mid(blank + 1);
        if (QFontDatabase::hasFamily(family)) {
            QFont font = QFontDatabase::font(family, style, 12);
            if (style.compare("Bold", Qt::CaseInsensitive) == 0) {
                font.setBold(true);
            } else if (style.compare("Italic", Qt::CaseInsensitive) == 0) {
                font.setItalic(true);
            }
            return font;
        }
    }
    QFont font(face); // Qt substitutes a face, as the platform would
    return font;
}
} // namespace

QFont ResolveFont(const std::string& faceName, int cellHeight) {
    if (faceName.empty() || cellHeight <= 0) {
        return QGuiApplication::font();
    }
    QFont font = FontForFace(QString::fromStdString(faceName));
    font.setPixelSize(cellHeight);
    // A cell height counts ascent plus descent; a pixel size counts the em square.
    const double height = QFontMetricsF(font).ascent() + QFontMetricsF(font).descent();
    if (height > 0) {
        const int pixels = static_cast<int>(std::lround(cellHeight * cellHeight / height));
        font.setPixelSize(pixels > 0 ? pixels : 1);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
