#pragma once
// The back buffer the views draw into: premultiplied 32-bit images blended source-over, and
// outlined, antialiased text. One canvas per window; the window shows it on Present().
// Positions and sizes are logical pixels; a canvas may hold more device pixels per logical
// pixel (a scaled screen), and an image may be a picture drawn at twice the size (@2x).

#include "app/platform/ImageDecoder.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// A read-only view of premultiplied 32-bit pixels: rows top-down, each pixel a native-endian
// 0xAARRGGBB word (bytes blue, green, red, alpha on little-endian machines).
struct ImageRef {
    const std::uint32_t* pixels = nullptr;
    int width = 0; // in pixels of the image
    int height = 0;
    int stride = 0;     // bytes per row; 0 means width * 4
    double scale = 1.0; // image pixels per logical pixel (2 for an @2x picture)
    // Non-zero: every image with this identity has the same pixels for as long as it is
    // drawn, so a canvas may skip drawing it again where nothing else changed. Zero: the
    // pixels may differ at every draw.
    std::uint64_t identity = 0;

    bool IsEmpty() const { return !pixels || width <= 0 || height <= 0; }
    int LogicalWidth() const { return static_cast<int>(std::lround(width / scale)); }
    int LogicalHeight() const { return static_cast<int>(std::lround(height / scale)); }
};

// An owned buffer in the same layout (PixelBuffer, e.g. a decoded icon or a window snapshot).
inline ImageRef RefOf(const PixelBuffer& buffer) {
    return {buffer.pixels.data(), buffer.width, buffer.height,
            buffer.width * 4,     buffer.scale, buffer.identity};
}

// A fresh non-zero identity for pixels that have just been made (see ImageRef::identity).
std::uint64_t NewImageIdentity();
// Decoded pixels as a buffer of its own identity.
inline PixelBuffer NewPixelBuffer(int width, int height, PixelVector pixels) {
    PixelBuffer buffer;
    buffer.width = width;
    buffer.height = height;
    buffer.identity = NewImageIdentity();
    buffer.pixels = std::move(pixels);
    return buffer;
}

// A rectangle in logical pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// One picture of a batch, drawn scaled to w x h at (x, y) with a constant alpha.
struct Sprite {
    ImageRef image;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int alpha = 255;
};

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
    // Device pixels per logical pixel.
    virtual double Scale() const { return 1.0; }

    // Copies the image as it is, alpha included (no blending).
    virtual void CopyImage(const ImageRef& image, int x, int y) = 0;
    // Blends the whole image source-over at (x, y) with a constant alpha of 0..255.
    virtual void DrawImage(const ImageRef& image, int x, int y, int alpha) = 0;
    // As DrawImage, scaled to w x h pixels.
    virtual void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) = 0;
    // Blends the sprites in order, each as DrawImageScaled would with nearest-pixel sampling,
    // clipped to `clip`. The sprites themselves must stay as they are until EndFrame. A canvas
    // without its own clipping draws them one by one, whole.
    virtual void DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& /*clip*/) {
        for (std::size_t i = 0; i < count; ++i) {
            const Sprite& s = sprites[i];
            DrawImageScaled(s.image, s.x, s.y, s.w, s.h, s.alpha);
        }
    }
    // The text's outline is stroked (when the stroke width is above 0), then filled, so the
    // outline shows only outside the glyphs. (x, y) is the baseline anchor of the alignment.
    virtual void DrawOutlinedText(const TextStyle& style, int x, int y,
                                  const std::string& utf8) = 0;
    // Width in pixels of the text in the style's font, as DrawOutlinedText would lay it out.
    virtual int MeasureText(const TextStyle& style, const std::string& utf8) = 0;
    // Reads a rectangle of the canvas back (clipped to the canvas).
    virtual PixelBuffer ReadPixels(int x, int y, int w, int h) const = 0;

    // A whole frame: between BeginFrame and EndFrame a canvas may collect the draws and, at
    // EndFrame, draw only where the frame differs from the one before. The pixels every
    // image refers to must stay as they are until EndFrame. EndFrame returns the rectangle
    // that changed (empty when nothing did).
    virtual void BeginFrame() {}
    virtual PixelRect EndFrame() { return {0, 0, Width(), Height()}; }
    // The next frame is drawn whole.
    virtual void InvalidateAll() {}
    // The pictures drawn so far are about to be freed (the tags are reloaded): a frame still
    // to be drawn is drawn now, and whatever the canvas keeps about them is let go, so that
    // pictures replaced again and again do not pile up.
    virtual void ForgetPictures() {}
};
