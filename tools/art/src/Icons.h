// Small vector symbols used on buttons and in dialogs.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace art {

enum class Symbol {
    Play,
    Stop,
    ShowDimensions,
    HideDimensions,
    Save,
    Info,
    Help,
    Mail,
    Globe,
    Phone,
    Warning,
    Cross
};

// Draws the symbol centred in box, in the given colour.
void drawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour);

} // namespace art
