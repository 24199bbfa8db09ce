#pragma once
// Face names as the tags write them ("Exo", "Exo Bold", "Exo Italic") resolved to Qt fonts.

#include <QByteArray>
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <string>

// The registered (or installed) family and style for `faceName`, sized so that ascent plus
// descent equal `cellHeight` pixels, as a character cell height asks. An empty face name or
// a size of 0 gives the application's default font. Resolved once per face and size (until a
// font file is registered).
QFont ResolveFont(const std::string& faceName, int cellHeight);

// Adds a font file to Qt's font database: its id there, or -1 when Qt refuses it. Also keeps a
// FreeType face of its own for the file, from which text outlines are taken. Qt's faces are
// shared with every widget, and once a widget has drawn a glyph of the file at a sub-pixel
// position, Qt's outlines of that file move by up to 1/64 pixel (the offset stays in the shared
// face): the same text would come out a little different depending on what the widgets drew
// before. Adding one forgets the fonts resolved so far.
int AddFontFile(const QByteArray& fontFile);

// A tooltip's text broken at blanks into lines of at most about `columns` characters, so a long
// tooltip reads as a short paragraph instead of one line across the screen.
QString WrappedToolTip(const std::string& utf8, int columns = 60);

// The outline of `text` laid out in `font` with the baseline's left end at `origin`; glyphs of
// a registered font file come from its own face, others (fallbacks) from Qt's.
QPainterPath TextOutline(const QFont& font, const QString& text, const QPointF& origin);
