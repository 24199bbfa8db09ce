#pragma once
// Source-over blending of premultiplied 0xAARRGGBB pixels with a constant alpha: the inner
// loop of every unscaled draw. Rows are blended four or eight pixels at a time (SSE2, AVX2
// when the processor has it); every result is the exact rounding of the arithmetic
//   out = source * alpha / 255 + target * (255 - sourceAlpha * alpha / 255) / 255.

#include "app/platform/Canvas.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Every channel of a premultiplied pixel multiplied by alpha / 255, rounded.
std::uint32_t ScalePixel(std::uint32_t pixel, int alpha);
// Premultiplied source-over of one pixel.
std::uint32_t BlendOver(std::uint32_t destination, std::uint32_t source);
// Blends `count` source pixels over the target pixels with a constant alpha of 0..255.
void BlendRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha);

// Blends a rectangle of count x rowCount source pixels; strides count pixels.
void BlendRect(std::uint32_t* target, int targetStride, const std::uint32_t* source,
               int sourceStride, int count, int rowCount, int alpha);

// The source index sampled for each of `count` target positions from `first` on when a
// picture `sourceSize` pixels wide is drawn `targetSize` wide: the source pixel under the
// target pixel's centre (one on an edge between two takes the right one).
void SampleIndices(int sourceSize, int targetSize, int first, int count, int* out);

// A picture blended scaled by sampling: target row r (0 <= r < rowCount) of `count` pixels
// takes the source row rows[r] at the source columns columns[0 .. count). Strides count
// pixels.
struct SampledBlend {
    std::uint32_t* target = nullptr;
    int targetStride = 0;
    const std::uint32_t* source = nullptr;
    int sourceStride = 0;
    const int* rows = nullptr;
    const int* columns = nullptr;
    int count = 0;
    int rowCount = 0;
    int alpha = 255;
};
void BlendSampled(const SampledBlend& blend);
// The name of the row loop in use ("avx2", "sse2" or "scalar"), for the benchmark's report.
const char* BlendRowKind();
// Uses the loops of that name from now on, for the tests of each; false, changing nothing,
// when this processor has none of that name.
bool UseBlendLoop(const std::string& name);

// Columns [begin, end) of one picture row.
struct RowSpan {
    int begin = 0;
    int end = 0;
    bool opaque = false; // every pixel fully opaque: blended at full alpha, it is a copy
};
// The runs of columns of every row that hold a visible pixel: transparent pixels change
// nothing, so a picture that is mostly empty (a dimension line, a cut-away) blends only its
// runs and never reads the rest. Runs fewer than kJoinedGap columns apart are one run: a few
// transparent pixels cost less to blend than a run to start.
// A row the same as the one above it is read from the first row of their stretch instead: a
// drawn tube or line repeats its rows, and reading one row again and again keeps the picture's
// pixels in the cache (a frame blends the cut-away's 75,000 visible pixels from a cold cache).
struct VisibleRuns {
    static constexpr int kJoinedGap = 8;
    std::vector<RowSpan> runs; // row after row, left to right
    std::vector<int> firstRun; // the index of each row's first run, and one past the last
    std::vector<int> readRow;  // the row whose pixels each row's are (the same or above it)
};
VisibleRuns FindVisibleRuns(const ImageRef& image);
// BlendRect over the visible runs only, for a rectangle starting at picture row `firstRow`
// and column `firstColumn` (where `source` points).
void BlendRectInRuns(std::uint32_t* target, int targetStride, const std::uint32_t* source,
                     int sourceStride, int count, int rowCount, int alpha, const VisibleRuns& runs,
                     int firstRow, int firstColumn);

// A rectangle of a pixel buffer: columns [x0, x1), rows [y0, y1).
struct PixelArea {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool IsEmpty() const { return x0 >= x1 || y0 >= y1; }
};

// Blends `image` scaled by nearest-pixel sampling to the rectangle (x, y, w, h) of a buffer
// (rows of `stride` pixels), only inside `clip`; unscaled it is a plain rectangle blend.
// `columns` and `rows` are working space kept by the caller. Returns the area drawn in.
PixelArea BlendPicture(std::uint32_t* buffer, int stride, const PixelArea& clip,
                       const ImageRef& image, const PixelArea& target, int alpha,
                       std::vector<int>& columns, std::vector<int>& rows);

// Small pictures resampled once to each size they are drawn at, exactly as BlendPicture samples
// them: a particle drawn smaller than its picture is then blended like an unscaled one every
// frame instead of gathering its pixels again. Every row is padded with transparent pixels to
// a whole number of groups of four, so it blends without a masked tail; blending the padding
// leaves the target as it was.
class ScaledPictures {
public:
    // Pictures larger than this, without an identity or drawn more than kMaxScale times
    // their size (a scaled screen draws them larger), are not kept; and all are let go past
    // the pixel budget, so no tag can make the cache grow. The area holds the particle
    // pictures for high-density screens too (the largest, 98 x 56): at 150 % they are drawn
    // from those, shrunk.
    static constexpr int kMaxPictureArea = 128 * 128;
    static constexpr int kMaxScale = 4;
    static constexpr std::size_t kMaxPixels = 1 << 20;

    // `image` at w x h pixels, its stride a multiple of four pixels; empty when not kept.
    // Valid until the next call.
    ImageRef At(const ImageRef& image, int w, int h) {
        const Recent& recent = RecentSlot(image, w, h);
        if (recent.pixels && recent.identity == image.identity && recent.source == image.pixels &&
            recent.w == w && recent.h == h) {
            return {recent.pixels, w, h, (w + 3) / 4 * 16, image.scale, 0};
        }
        return Find(image, w, h);
    }
    // Asks for the slot At will look `image` up in at w x h, a few sprites ahead: a frame's
    // sprites land on slots all over the table, which the sleep between frames lets go cold.
    void Prefetch(const ImageRef& image, int w, int h) const {
        __builtin_prefetch(&recent_[SlotOf(image, w, h)]);
    }
    // Lets every kept picture go (their pictures are about to be freed).
    void Clear();
    // The pictures and sizes kept.
    std::size_t Count() const;

private:
    struct Sizes {
        const std::uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
        // By h << 16 | w: only the few sizes drawn, so a picture costs little.
        std::unordered_map<int, std::vector<std::uint32_t>> bySize;
    };
    Sizes& SizesOf(const ImageRef& image);

    // A picture and size asked for lately: a frame asks for a few hundred, again and again.
    struct Recent {
        std::uint64_t identity = 0;
        const std::uint32_t* source = nullptr;
        int w = 0;
        int h = 0;
        // The resampled pixels themselves, not their vector: one memory read less per sprite.
        // Kept vectors are never resized, so the pointer holds until they are let go.
        const std::uint32_t* pixels = nullptr;
    };
    // Multiplicative hashing of the picture and its size together: the top bits of the
    // product pick the slot, so the sizes of one picture spread over the slots.
    static std::size_t SlotOf(const ImageRef& image, int w, int h) {
        const std::uint64_t key = (image.identity << 20 ^ static_cast<std::uint64_t>(w) << 10 ^
                                   static_cast<std::uint64_t>(h)) *
                                  0x9E3779B97F4A7C15u;
        return key >> (64 - kRecentBits);
    }
    Recent& RecentSlot(const ImageRef& image, int w, int h) { return recent_[SlotOf(image, w, h)]; }
    ImageRef Find(const ImageRef& image, int w, int h);

    std::unordered_map<std::uint64_t, Sizes> pictures_;
    static constexpr int kRecentBits = 12;
    std::array<Recent, std::size_t{1} << kRecentBits> recent_{};
    std::uint64_t lastIdentity_ = 0;
    Sizes* last_ = nullptr;
    std::size_t pixelCount_ = 0;
};
