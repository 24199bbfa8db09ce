#pragma once
// An off-screen canvas in memory: premultiplied 0xAARRGGBB pixels, blended source-over by
// plain integer code. The plunger draws its valve layer into one and blends the result onto the
// back buffer in a single draw; the tests draw into one to read pixels back. It draws no text.

#include "app/platform/Canvas.h"
#include "app/platform/PixelBlend.h"

#include <cstdint>
#include <vector>

class CPixelCanvas : public ICanvas {
public:
    // Resizes the canvas (keeping the buffer's memory when it shrinks) and makes it fully
    // transparent. Negative sizes count as 0.
    void Reset(int width, int height);
    // Makes the whole canvas transparent again by clearing only the rectangles drawn since
    // the last clear: a frame of small sprites clears a fraction of the canvas.
    void ClearDrawn();

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void CopyImage(const ImageRef& image, int x, int y) override;
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override;
    // Nearest-pixel scaling: the sprites are small and soft, and speed matters more here.
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override;
    void DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& clip) override;
    void DrawOutlinedText(const TextStyle&, int, int, const std::string&) override {}
    int MeasureText(const TextStyle&, const std::string&) override { return 0; }
    PixelBuffer ReadPixels(int x, int y, int w, int h) const override;

    // Blends the rows [firstRow, firstRow + rows) onto `target`, row firstRow at y, column 0
    // at x; only the box around what was drawn since the last clear, the rest being
    // transparent.
    void BlendDrawnRows(ICanvas& target, int firstRow, int rows, int x, int y) const;
    std::uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

private:
    struct Area {
        int x0, y0, x1, y1;
    };
    void Clear(const Area& area);
    void DrawClipped(const ImageRef& image, int x, int y, int w, int h, int alpha,
                     const PixelArea& clip);

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<int> columns_; // source column per destination column of the current draw
    std::vector<int> rows_;    // source row per destination row of the current draw
    std::vector<Area> drawn_;  // what was drawn since the canvas was last clear
};
