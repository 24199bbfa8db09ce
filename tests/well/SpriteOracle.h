#pragma once
// How a sprite is drawn, written a second time for the tests and as plainly as it can be: one
// pixel at a time, the sampling in floating point, the clipping by comparing every pixel with
// the bounds. The fast paths (vectorised row loops, resampled particle pictures, batches of
// sprites) are compared with it word for word; it shares no code with them.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace oracle {

// round(c * a / 255) for c and a in 0..255. c * a / 255 is never halfway between two whole
// numbers (2ca = 255 (2k + 1) has an even left side and an odd right one), so adding 127 and
// dividing rounds it.
inline std::uint32_t Times(std::uint32_t c, std::uint32_t a) {
    return (c * a + 127) / 255;
}

inline std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

// Premultiplied source-over of one pixel with a constant alpha: every channel of the source
// times alpha / 255, plus the target's channel times (255 - that scaled source alpha) / 255.
inline std::uint32_t Over(std::uint32_t target, std::uint32_t source, int alpha) {
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    const std::uint32_t keep = 255 - Times(Channel(source, 24), a);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        out |= (Times(Channel(source, shift), a) + Times(Channel(target, shift), keep)) << shift;
    }
    return out;
}

// The source pixel under the centre of target pixel i when `size` pixels are drawn `drawn`
// wide: the centre i + 1/2 of drawn is at (i + 1/2) * size / drawn of size.
inline int Sample(int i, int size, int drawn) {
    const auto at = static_cast<int>(std::floor((i + 0.5) * size / drawn));
    return std::min(at, size - 1);
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // rows top-down, no padding
};

// A buffer of pixels, rows top-down, no padding.
struct Buffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Columns [x0, x1) and rows [y0, y1).
struct Bounds {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// `picture` scaled to w x h with its corner at (x, y), blended with `alpha` into every pixel of
// the buffer inside both the sprite and the clip.
inline void Draw(Buffer& buffer, const Bounds& clip, const Picture& picture, int x, int y, int w,
                 int h, int alpha) {
    for (int row = std::max(y, 0); row < std::min(y + h, buffer.height); ++row) {
        for (int column = std::max(x, 0); column < std::min(x + w, buffer.width); ++column) {
            if (!clip.Contains(column, row) || alpha <= 0) {
                continue;
            }
            const int sourceRow = Sample(row - y, picture.height, h);
            const int sourceColumn = Sample(column - x, picture.width, w);
            const std::uint32_t source =
                picture.pixels[static_cast<size_t>(sourceRow) * picture.width + sourceColumn];
            buffer.At(column, row) = Over(buffer.At(column, row), source, alpha);
        }
    }
}

} // namespace oracle
