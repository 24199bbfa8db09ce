#pragma once
// The back buffer the views draw into: premultiplied 32-bit images blended source-over, and
// outlined, antialiased text. One canvas per window; the window shows it on Present().

#include "app/platform/ImageDecoder.h"

#include <cstdint>
#include <string>

// A read-only view of premultiplied 32-bit pixels: rows top-down, each pixel a native-endian
// 0xAARRGGBB word (bytes blue, green, red, alpha on little-endian machines).
struct ImageRef {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0; // bytes per row; 0 means width * 4

    bool IsEmpty() const { return !pixels || width <= 0 || height <= 0; }
};

// An owned buffer in the same layout (PixelBuffer, e.g. a decoded icon or a window snapshot).
inline ImageRef RefOf(const PixelBuffer& buffer) {
    return {buffer.pixels.data(), buffer.width, buffer.height, buffer.width * 4};
}

enum class TextAlign { Left, Center, Right };

// How a line of outlined text looks. Colours are 0xFFRRGGBB; the alphas (0..255) apply to the
// fill and to the outline. The font is a face name ("Exo", "Exo Bold", "Exo Italic") and a
// character cell height in pixels; an empty name draws with the canvas's default font.
struct TextStyle {
    std::string fontName;
    int fontSize = 0;
    std::uint32_t fillColor = 0xFFFFFFFF;
    int fillAlpha = 255;
    std::uint32_t strokeColor = 0xFFFFFFFF;
    int strokeAlpha = 255;
    double strokeWidth = 0.0;
    TextAlign align = TextAlign::Center;
};

class ICanvas {
public:
    virtual ~ICanvas() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Copies the image as it is, alpha included (no blending).
    virtual void CopyImage(const ImageRef& image, int x, int y) = 0;
    // Blends the whole image source-over at (x, y) with a constant alpha of 0..255.
    virtual void DrawImage(const ImageRef& image, int x, int y, int alpha) = 0;
    // As DrawImage, scaled to w x h pixels.
    virtual void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) = 0;
    // The text's outline is stroked (when the stroke width is above 0), then filled, so the
    // outline shows only outside the glyphs. (x, y) is the baseline anchor of the alignment.
    virtual void DrawOutlinedText(const TextStyle& style, int x, int y,
                                  const std::string& utf8) = 0;
    // Width in pixels of the text in the style's font, as DrawOutlinedText would lay it out.
    virtual int MeasureText(const TextStyle& style, const std::string& utf8) = 0;
    // Reads a rectangle of the canvas back (clipped to the canvas).
    virtual PixelBuffer ReadPixels(int x, int y, int w, int h) const = 0;
};
