#pragma once
// Screen fonts: the fonts labels, text boxes and combo boxes draw with. A tag creates its
// screen font at placement through the factory in PlatformServices; the canvas that draws
// text knows the concrete type behind the handle.

#include <memory>
#include <string>

class IScreenFont {
public:
    virtual ~IScreenFont() = default;
    // The face name the font was asked for ("Exo", "Exo Bold", ...).
    virtual const std::string& FaceName() const = 0;
    // Character cell height in pixels (ascent plus descent).
    virtual int CellHeight() const = 0;
};

class IScreenFontFactory {
public:
    virtual ~IScreenFontFactory() = default;
    // A font of the given face and cell height; an unknown face yields a substitute face.
    virtual std::unique_ptr<IScreenFont> CreateScreenFont(const std::string& faceName,
                                                          int cellHeight) = 0;
};
