#pragma once
// Face names as the tags write them ("Exo", "Exo Bold", "Exo Italic") resolved to Qt fonts.

#include <QFont>

#include <string>

// The registered (or installed) family and style for `faceName`, sized so that ascent plus
// descent equal `cellHeight` pixels, as a character cell height asks. An empty face name or
// a size of 0 gives the application's default font.
QFont ResolveFont(const std::string& faceName, int cellHeight);
