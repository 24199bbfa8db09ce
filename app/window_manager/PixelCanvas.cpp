#include "app/window_manager/PixelCanvas.h"

#include <algorithm>

namespace {
struct Clip {
    int x0, y0, x1, y1; // destination rectangle inside the canvas
    bool empty;
};

Clip ClipRect(int x, int y, int w, int h, int width, int height) {
    Clip clip{std::max(x, 0), std::max(y, 0), std::min(x + w, width), std::min(y + h, height),
              false};
    clip.empty = clip.x0 >= clip.x1 || clip.y0 >= clip.y1;
    return clip;
}

const std::uint32_t* SourceRow(const ImageRef& image, int row) {
    const int stride = image.stride > 0 ? image.stride : image.width * 4;
    return reinterpret_cast<const std::uint32_t*>(
        reinterpret_cast<const unsigned char*>(image.pixels) + static_cast<size_t>(row) * stride);
}
} // namespace

void CPixelCanvas::Reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_, 0u);
    drawn_.clear();
}

void CPixelCanvas::Clear(const Area& area) {
    for (int row = area.y0; row < area.y1; ++row) {
        const auto start = pixels_.begin() + static_cast<size_t>(row) * width_;
        std::fill(start + area.x0, start + area.x1, 0u);
    }
}

void CPixelCanvas::ClearDrawn() {
    for (const Area& area : drawn_) {
        Clear(area);
    }
    drawn_.clear();
}

void CPixelCanvas::CopyImage(const ImageRef& image, int x, int y) {
    if (image.IsEmpty()) {
        return;
    }
    const Clip clip = ClipRect(x, y, image.width, image.height, width_, height_);
    if (!clip.empty) {
        drawn_.push_back({clip.x0, clip.y0, clip.x1, clip.y1});
    }
    for (int row = clip.y0; !clip.empty && row < clip.y1; ++row) {
        const std::uint32_t* source = SourceRow(image, row - y) + (clip.x0 - x);
        std::copy(source, source + (clip.x1 - clip.x0),
                  pixels_.begin() + static_cast<size_t>(row) * width_ + clip.x0);
    }
}

void CPixelCanvas::DrawImage(const ImageRef& image, int x, int y, int alpha) {
    DrawImageScaled(image, x, y, image.LogicalWidth(), image.LogicalHeight(), alpha);
}

void CPixelCanvas::DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) {
    DrawClipped(image, x, y, w, h, alpha, {0, 0, width_, height_});
}

void CPixelCanvas::DrawClipped(const ImageRef& image, int x, int y, int w, int h, int alpha,
                               const PixelArea& clip) {
    const PixelArea drawn = BlendPicture(pixels_.data(), width_, clip, image, {x, y, x + w, y + h},
                                         std::min(alpha, 255), columns_, rows_);
    if (!drawn.IsEmpty()) {
        drawn_.push_back({drawn.x0, drawn.y0, drawn.x1, drawn.y1});
    }
}

void CPixelCanvas::DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& clip) {
    const PixelArea area{std::max(clip.x, 0), std::max(clip.y, 0),
                         std::min(clip.x + clip.width, width_),
                         std::min(clip.y + clip.height, height_)};
    for (std::size_t i = 0; i < count; ++i) {
        const Sprite& s = sprites[i];
        DrawClipped(s.image, s.x, s.y, s.w, s.h, s.alpha, area);
    }
}

PixelBuffer CPixelCanvas::ReadPixels(int x, int y, int w, int h) const {
    PixelBuffer out;
    const Clip clip = ClipRect(x, y, w, h, width_, height_);
    if (clip.empty) {
        return out;
    }
    out.width = clip.x1 - clip.x0;
    out.height = clip.y1 - clip.y0;
    out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
    for (int row = clip.y0; row < clip.y1; ++row) {
        const auto start = pixels_.begin() + static_cast<size_t>(row) * width_;
        out.pixels.insert(out.pixels.end(), start + clip.x0, start + clip.x1);
    }
    return out;
}

void CPixelCanvas::BlendDrawnRows(ICanvas& target, int firstRow, int rows, int x, int y) const {
    Area box{width_, height_, 0, 0};
    for (const Area& area : drawn_) {
        box = {std::min(box.x0, area.x0), std::min(box.y0, area.y0), std::max(box.x1, area.x1),
               std::max(box.y1, area.y1)};
    }
    const int top = std::max(box.y0, firstRow);
    const int bottom = std::min({box.y1, firstRow + rows, height_});
    if (box.x0 >= box.x1 || top >= bottom) {
        return;
    }
    const ImageRef drawn{pixels_.data() + static_cast<size_t>(top) * width_ + box.x0,
                         box.x1 - box.x0, bottom - top, width_ * 4};
    target.DrawImage(drawn, x + box.x0, y + top - firstRow, 255);
}
