#include "app/window_manager/PixelCanvas.h"

#include <algorithm>

namespace {
// Channels red and blue (or alpha and green, shifted down) multiplied by a factor 0..256.
inline std::uint32_t ScalePairs(std::uint32_t pairs, std::uint32_t factor) {
    return ((pairs * factor) >> 8) & 0x00FF00FFu;
}

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

std::uint32_t ScalePixel(std::uint32_t pixel, int alpha) {
    const std::uint32_t factor = static_cast<std::uint32_t>(alpha) + (alpha >> 7); // 0..256
    return ScalePairs(pixel & 0x00FF00FFu, factor) |
           (ScalePairs((pixel >> 8) & 0x00FF00FFu, factor) << 8);
}

std::uint32_t BlendOver(std::uint32_t destination, std::uint32_t source) {
    const std::uint32_t sourceAlpha = source >> 24;
    if (sourceAlpha == 0) {
        return destination;
    }
    if (sourceAlpha == 255) {
        return source;
    }
    return source + ScalePixel(destination, static_cast<int>(255 - sourceAlpha));
}

void CPixelCanvas::Reset(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * height_, 0u);
}

void CPixelCanvas::ClearRows(int firstRow, int lastRow) {
    firstRow = std::clamp(firstRow, 0, height_);
    lastRow = std::clamp(lastRow, firstRow, height_);
    std::fill(pixels_.begin() + static_cast<size_t>(firstRow) * width_,
              pixels_.begin() + static_cast<size_t>(lastRow) * width_, 0u);
}

void CPixelCanvas::CopyImage(const ImageRef& image, int x, int y) {
    if (image.IsEmpty()) {
        return;
    }
    const Clip clip = ClipRect(x, y, image.width, image.height, width_, height_);
    for (int row = clip.y0; !clip.empty && row < clip.y1; ++row) {
        const std::uint32_t* source = SourceRow(image, row - y) + (clip.x0 - x);
        std::copy(source, source + (clip.x1 - clip.x0),
                  pixels_.begin() + static_cast<size_t>(row) * width_ + clip.x0);
    }
}

void CPixelCanvas::DrawImage(const ImageRef& image, int x, int y, int alpha) {
    DrawImageScaled(image, x, y, image.width, image.height, alpha);
}

void CPixelCanvas::DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) {
    alpha = std::min(alpha, 255);
    if (image.IsEmpty() || alpha <= 0 || w <= 0 || h <= 0) {
        return;
    }
    const Clip clip = ClipRect(x, y, w, h, width_, height_);
    if (clip.empty) {
        return;
    }
    // 16.16 fixed-point steps through the source, sampling pixel centres; the source column
    // of every destination column is worked out once per draw.
    const long long stepX = (static_cast<long long>(image.width) << 16) / w;
    const long long stepY = (static_cast<long long>(image.height) << 16) / h;
    columns_.resize(static_cast<size_t>(clip.x1 - clip.x0));
    for (int column = clip.x0; column < clip.x1; ++column) {
        const int source = static_cast<int>(((column - x) * stepX + stepX / 2) >> 16);
        columns_[column - clip.x0] = std::min(source, image.width - 1);
    }
    for (int row = clip.y0; row < clip.y1; ++row) {
        const int sourceRow = static_cast<int>(((row - y) * stepY + stepY / 2) >> 16);
        const std::uint32_t* source = SourceRow(image, std::min(sourceRow, image.height - 1));
        BlendRow(pixels_.data() + static_cast<size_t>(row) * width_ + clip.x0, source, alpha);
    }
}

void CPixelCanvas::BlendRow(std::uint32_t* target, const std::uint32_t* source, int alpha) const {
    const size_t count = columns_.size();
    for (size_t i = 0; i < count; ++i) {
        std::uint32_t pixel = source[columns_[i]];
        if (pixel >> 24 == 0) {
            continue;
        }
        if (alpha < 255) {
            pixel = ScalePixel(pixel, alpha);
        }
        target[i] = BlendOver(target[i], pixel);
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

ImageRef CPixelCanvas::Rows(int firstRow, int rows) const {
    firstRow = std::clamp(firstRow, 0, height_);
    rows = std::clamp(rows, 0, height_ - firstRow);
    if (rows == 0 || width_ == 0) {
        return {};
    }
    return {pixels_.data() + static_cast<size_t>(firstRow) * width_, width_, rows, width_ * 4};
}
