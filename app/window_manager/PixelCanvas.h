#pragma once
// An off-screen canvas in memory: premultiplied 0xAARRGGBB pixels, blended source-over by
// plain integer code. The particle regions and the plunger draw their layers into one and
// then blend the result onto the back buffer in a single draw. It draws no text.

#include "app/platform/Canvas.h"

#include <cstdint>
#include <vector>

class CPixelCanvas : public ICanvas {
public:
    // Resizes the canvas (keeping the buffer's memory when it shrinks) and makes it fully
    // transparent. Negative sizes count as 0.
    void Reset(int width, int height);
    // Makes the rows [firstRow, lastRow) fully transparent.
    void ClearRows(int firstRow, int lastRow);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void CopyImage(const ImageRef& image, int x, int y) override;
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override;
    // Nearest-pixel scaling: the sprites are small and soft, and speed matters more here.
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override;
    void DrawOutlinedText(const TextStyle&, int, int, const std::string&) override {}
    int MeasureText(const TextStyle&, const std::string&) override { return 0; }
    PixelBuffer ReadPixels(int x, int y, int w, int h) const override;

    // The rows [firstRow, firstRow + rows) as an image (clipped to the canvas).
    ImageRef Rows(int firstRow, int rows) const;
    std::uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

private:
    void BlendRow(std::uint32_t* target, const std::uint32_t* source, int alpha) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<int> columns_; // source column per destination column of the current draw
};

// Premultiplied source-over of one pixel.
std::uint32_t BlendOver(std::uint32_t destination, std::uint32_t source);
// Every channel of a premultiplied pixel multiplied by alpha / 255.
std::uint32_t ScalePixel(std::uint32_t pixel, int alpha);
