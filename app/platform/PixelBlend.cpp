#include "app/platform/PixelBlend.h"

#include <algorithm>
#include <cstring>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GS_BLEND_X86 1
#endif

namespace {
using RowLoopPointer = void (*)(std::uint32_t*, const std::uint32_t*, int, int);

// Red and blue (or alpha and green, shifted down) times a factor 0..255, divided by 255 and
// rounded in both 16-bit halves at once.
inline std::uint32_t MultiplyPairs(std::uint32_t pairs, std::uint32_t factor) {
    std::uint32_t t = pairs * factor + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

void BlendRowScalar(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t pixel = alpha < 255 ? ScalePixel(source[i], alpha) : source[i];
        target[i] = BlendOver(target[i], pixel);
    }
}

// The sampled pixels gathered into a short buffer, then blended as a row.
void BlendSampledByRows(const SampledBlend& blend, RowLoopPointer rowLoop) {
    constexpr int kChunk = 64;
    std::uint32_t gathered[kChunk];
    for (int r = 0; r < blend.rowCount; ++r) {
        const std::uint32_t* in =
            blend.source + static_cast<size_t>(blend.rows[r]) * blend.sourceStride;
        std::uint32_t* out = blend.target + static_cast<size_t>(r) * blend.targetStride;
        for (int start = 0; start < blend.count; start += kChunk) {
            const int n = blend.count - start < kChunk ? blend.count - start : kChunk;
            for (int i = 0; i < n; ++i) {
                gathered[i] = in[blend.columns[start + i]];
            }
            rowLoop(out + start, gathered, n, blend.alpha);
        }
    }
}

#ifdef GS_BLEND_X86
// x / 255 rounded, in every 16-bit lane (x at most 255 * 255): (x + 128) * 257 >> 16, which
// equals ((x + 128) + ((x + 128) >> 8)) >> 8 in two instructions instead of four.
inline __m128i Divide255(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

// Two pixels widened to 16-bit lanes: the source (already scaled) over the target.
inline __m128i OverWide(__m128i source, __m128i target) {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(source, Divide255(_mm_mullo_epi16(target, inverse)));
}

// Four source pixels over four target pixels, the constant alpha 255 or not.
template <bool kWholeAlpha>
inline void BlendFourSse2(std::uint32_t* target, const std::uint32_t* source, int alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) {
        return; // four transparent pixels change nothing
    }
    __m128i* out = reinterpret_cast<__m128i*>(target);
    if constexpr (kWholeAlpha) {
        const __m128i opaque = _mm_or_si128(s, _mm_set1_epi32(0x00FFFFFF));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(opaque, _mm_set1_epi32(-1))) == 0xFFFF) {
            _mm_storeu_si128(out, s); // four opaque pixels cover the target
            return;
        }
    }
    const __m128i d = _mm_loadu_si128(out);
    __m128i low = _mm_unpacklo_epi8(s, zero);
    __m128i high = _mm_unpackhi_epi8(s, zero);
    if constexpr (!kWholeAlpha) {
        const __m128i factor = _mm_set1_epi16(static_cast<short>(alpha));
        low = Divide255(_mm_mullo_epi16(low, factor));
        high = Divide255(_mm_mullo_epi16(high, factor));
    }
    low = OverWide(low, _mm_unpacklo_epi8(d, zero));
    high = OverWide(high, _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(out, _mm_packus_epi16(low, high));
}

inline void BlendFourSse2(std::uint32_t* target, const std::uint32_t* source, int alpha) {
    if (alpha == 255) {
        BlendFourSse2<true>(target, source, alpha);
    } else {
        BlendFourSse2<false>(target, source, alpha);
    }
}

void BlendRowSse2(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        BlendFourSse2(target + i, source + i, alpha);
    }
    BlendRowScalar(target + i, source + i, count - i, alpha);
}

__attribute__((target("avx2"))) inline __m256i Divide255Avx2(__m256i x) {
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

__attribute__((target("avx2"))) inline __m256i OverWideAvx2(__m256i source, __m256i target) {
    const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xFF), 0xFF);
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    return _mm256_add_epi16(source, Divide255Avx2(_mm256_mullo_epi16(target, inverse)));
}

// Eight source pixels, not all transparent, over eight target pixels. The unpacks and the
// pack work per 128-bit half, so the pixel order is kept.
template <bool kWholeAlpha>
__attribute__((target("avx2"), always_inline)) inline __m256i BlendEight(__m256i s, __m256i d,
                                                                         int alpha) {
    const __m256i zero = _mm256_setzero_si256();
    if constexpr (kWholeAlpha) {
        const __m256i opaque = _mm256_or_si256(s, _mm256_set1_epi32(0x00FFFFFF));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(opaque, _mm256_set1_epi32(-1))) == -1) {
            return s; // eight opaque pixels cover the target
        }
    }
    __m256i low = _mm256_unpacklo_epi8(s, zero);
    __m256i high = _mm256_unpackhi_epi8(s, zero);
    if constexpr (!kWholeAlpha) {
        const __m256i factor = _mm256_set1_epi16(static_cast<short>(alpha));
        low = Divide255Avx2(_mm256_mullo_epi16(low, factor));
        high = Divide255Avx2(_mm256_mullo_epi16(high, factor));
    }
    low = OverWideAvx2(low, _mm256_unpacklo_epi8(d, zero));
    high = OverWideAvx2(high, _mm256_unpackhi_epi8(d, zero));
    return _mm256_packus_epi16(low, high);
}

// The lanes below `remaining` (at most eight).
__attribute__((target("avx2"))) inline __m256i LaneMask(int remaining) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(remaining),
                              _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Eight pixels at a time, then four, and the last few through masked loads and stores (slow on
// some processors: particle pictures are padded to groups of four to avoid them). Inlined into
// the rectangle loop, so that its constants are made once per rectangle, not once per row: a
// frame blends some 25,000 rows of particles, most of them 4 to 28 pixels long.
template <bool kWholeAlpha>
__attribute__((target("avx2"), always_inline)) inline void
BlendRowAvx2(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        if (!_mm256_testz_si256(s, s)) {
            auto* out = reinterpret_cast<__m256i*>(target + i);
            _mm256_storeu_si256(out, BlendEight<kWholeAlpha>(s, _mm256_loadu_si256(out), alpha));
        }
    }
    if (i + 4 <= count) {
        BlendFourSse2<kWholeAlpha>(target + i, source + i, alpha);
        i += 4;
    }
    if (i < count) {
        auto* out = reinterpret_cast<int*>(target + i);
        const __m256i mask = LaneMask(count - i);
        const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(source + i), mask);
        if (!_mm256_testz_si256(s, s)) {
            const __m256i d = _mm256_maskload_epi32(out, mask);
            _mm256_maskstore_epi32(out, mask, BlendEight<kWholeAlpha>(s, d, alpha));
        }
    }
}

__attribute__((target("avx2"))) void
BlendRowAvx2(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    if (alpha == 255) {
        BlendRowAvx2<true>(target, source, count, alpha);
    } else {
        BlendRowAvx2<false>(target, source, count, alpha);
    }
}

template <bool kWholeAlpha>
__attribute__((target("avx2"), always_inline)) inline void
BlendRowsAvx2(std::uint32_t* target, int targetStride, const std::uint32_t* source,
              int sourceStride, int count, int rowCount, int alpha) {
    for (int r = 0; r < rowCount; ++r) {
        BlendRowAvx2<kWholeAlpha>(target + static_cast<size_t>(r) * targetStride,
                                  source + static_cast<size_t>(r) * sourceStride, count, alpha);
    }
}

__attribute__((target("avx2"))) void BlendRectAvx2(std::uint32_t* target, int targetStride,
                                                   const std::uint32_t* source, int sourceStride,
                                                   int count, int rowCount, int alpha) {
    if (alpha == 255) {
        BlendRowsAvx2<true>(target, targetStride, source, sourceStride, count, rowCount, alpha);
    } else {
        BlendRowsAvx2<false>(target, targetStride, source, sourceStride, count, rowCount, alpha);
    }
}

// The source pixels fetched by column index, eight at a time.
__attribute__((target("avx2"))) void BlendSampledAvx2(const SampledBlend& blend) {
    const __m256i zero = _mm256_setzero_si256();
    for (int r = 0; r < blend.rowCount; ++r) {
        const auto* in = reinterpret_cast<const int*>(
            blend.source + static_cast<size_t>(blend.rows[r]) * blend.sourceStride);
        auto* out =
            reinterpret_cast<int*>(blend.target + static_cast<size_t>(r) * blend.targetStride);
        for (int i = 0; i < blend.count; i += 8) {
            const __m256i mask = LaneMask(blend.count - i);
            const __m256i index = _mm256_maskload_epi32(blend.columns + i, mask);
            const __m256i s = _mm256_mask_i32gather_epi32(zero, in, index, mask, 4);
            if (_mm256_testz_si256(s, s)) {
                continue;
            }
            const __m256i d = _mm256_maskload_epi32(out + i, mask);
            _mm256_maskstore_epi32(out + i, mask,
                                   blend.alpha == 255 ? BlendEight<true>(s, d, 255)
                                                      : BlendEight<false>(s, d, blend.alpha));
        }
    }
}
#endif

template <RowLoopPointer Row>
void BlendRectByRows(std::uint32_t* target, int targetStride, const std::uint32_t* source,
                     int sourceStride, int count, int rowCount, int alpha) {
    for (int r = 0; r < rowCount; ++r) {
        Row(target + static_cast<size_t>(r) * targetStride,
            source + static_cast<size_t>(r) * sourceStride, count, alpha);
    }
}

struct ChosenLoop {
    RowLoopPointer loop;
    void (*rect)(std::uint32_t*, int, const std::uint32_t*, int, int, int, int);
    void (*sampled)(const SampledBlend&);
    const char* name;
};

void BlendSampledScalar(const SampledBlend& blend) {
    BlendSampledByRows(blend, BlendRowScalar);
}

constexpr ChosenLoop kScalarLoop{BlendRowScalar, BlendRectByRows<BlendRowScalar>,
                                 BlendSampledScalar, "scalar"};
#ifdef GS_BLEND_X86
void BlendSampledSse2(const SampledBlend& blend) {
    BlendSampledByRows(blend, BlendRowSse2);
}

constexpr ChosenLoop kSse2Loop{BlendRowSse2, BlendRectByRows<BlendRowSse2>, BlendSampledSse2,
                               "sse2"};
constexpr ChosenLoop kAvx2Loop{BlendRowAvx2, BlendRectAvx2, BlendSampledAvx2, "avx2"};
#endif

ChosenLoop ChooseLoop() {
#ifdef GS_BLEND_X86
    return __builtin_cpu_supports("avx2") ? kAvx2Loop : kSse2Loop;
#else
    return kScalarLoop;
#endif
}

ChosenLoop& Chosen() {
    static ChosenLoop chosen = ChooseLoop();
    return chosen;
}
} // namespace

std::uint32_t ScalePixel(std::uint32_t pixel, int alpha) {
    const auto factor = static_cast<std::uint32_t>(alpha);
    return MultiplyPairs(pixel & 0x00FF00FFu, factor) |
           (MultiplyPairs((pixel >> 8) & 0x00FF00FFu, factor) << 8);
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

void BlendRow(std::uint32_t* target, const std::uint32_t* source, int count, int alpha) {
    if (count > 0 && alpha > 0) {
        Chosen().loop(target, source, count, alpha > 255 ? 255 : alpha);
    }
}

// Target pixel i covers [i, i + 1) of targetSize; its centre, i + 1/2, lies at
// (2i + 1) * sourceSize / (2 * targetSize) in the source, whose pixel is the whole part:
// exact in integers, so a centre on a source pixel's edge takes the pixel right of it.
void SampleIndices(int sourceSize, int targetSize, int first, int count, int* out) {
    const long long denominator = 2LL * targetSize;
    for (int i = 0; i < count; ++i) {
        const long long centre = 2LL * (first + i) + 1;
        const auto index = static_cast<int>(centre * sourceSize / denominator);
        out[i] = index < sourceSize - 1 ? index : sourceSize - 1;
    }
}

void BlendRect(std::uint32_t* target, int targetStride, const std::uint32_t* source,
               int sourceStride, int count, int rowCount, int alpha) {
    if (count > 0 && rowCount > 0 && alpha > 0) {
        Chosen().rect(target, targetStride, source, sourceStride, count, rowCount,
                      alpha > 255 ? 255 : alpha);
    }
}

void BlendSampled(const SampledBlend& blend) {
    if (blend.count > 0 && blend.rowCount > 0 && blend.alpha > 0) {
        SampledBlend clamped = blend;
        clamped.alpha = blend.alpha > 255 ? 255 : blend.alpha;
        Chosen().sampled(clamped);
    }
}

VisibleRuns FindVisibleRuns(const ImageRef& image) {
    VisibleRuns out;
    const int stride = (image.stride > 0 ? image.stride : image.width * 4) / 4;
    for (int r = 0; r < image.height; ++r) {
        const std::uint32_t* row = image.pixels + static_cast<size_t>(r) * stride;
        const auto rowStart = out.runs.size();
        out.firstRun.push_back(static_cast<int>(rowStart));
        const bool repeated =
            r > 0 && std::memcmp(row, row - stride, static_cast<size_t>(image.width) * 4) == 0;
        out.readRow.push_back(repeated ? out.readRow.back() : r);
        for (int x = 0; x < image.width;) {
            while (x < image.width && row[x] == 0) {
                ++x;
            }
            const int begin = x;
            while (x < image.width && row[x] != 0) {
                ++x;
            }
            if (begin == x) {
                break;
            }
            if (out.runs.size() > rowStart &&
                begin - out.runs.back().end < VisibleRuns::kJoinedGap) {
                out.runs.back().end = x;
                out.runs.back().opaque = false; // the gap joined in is transparent
            } else {
                const bool opaque = std::all_of(
                    row + begin, row + x, [](std::uint32_t pixel) { return pixel >> 24 == 0xFFu; });
                out.runs.push_back({begin, x, opaque});
            }
        }
    }
    out.firstRun.push_back(static_cast<int>(out.runs.size()));
    return out;
}

void BlendRectInRuns(std::uint32_t* target, int targetStride, const std::uint32_t* source,
                     int sourceStride, int count, int rowCount, int alpha, const VisibleRuns& runs,
                     int firstRow, int firstColumn) {
    for (int r = 0; r < rowCount; ++r) {
        const auto row = static_cast<size_t>(firstRow + r);
        // `source` is at row firstRow: the row read lies that many rows from it
        const std::uint32_t* rowPixels =
            source + static_cast<std::ptrdiff_t>(runs.readRow[row] - firstRow) * sourceStride;
        for (int k = runs.firstRun[row]; k < runs.firstRun[row + 1]; ++k) {
            const int begin = std::max(runs.runs[static_cast<size_t>(k)].begin - firstColumn, 0);
            const int end = std::min(runs.runs[static_cast<size_t>(k)].end - firstColumn, count);
            std::uint32_t* into = target + static_cast<size_t>(r) * targetStride + begin;
            const std::uint32_t* from = rowPixels + begin;
            if (end <= begin) {
                continue;
            }
            if (alpha == 255 && runs.runs[static_cast<size_t>(k)].opaque) {
                std::memcpy(into, from, static_cast<size_t>(end - begin) * sizeof *from);
            } else {
                BlendRow(into, from, end - begin, alpha);
            }
        }
    }
}

const char* BlendRowKind() {
    return Chosen().name;
}

bool UseBlendLoop(const std::string& name) {
    if (name == kScalarLoop.name) {
        Chosen() = kScalarLoop;
        return true;
    }
#ifdef GS_BLEND_X86
    if (name == kSse2Loop.name) {
        Chosen() = kSse2Loop;
        return true;
    }
    if (name == kAvx2Loop.name && __builtin_cpu_supports("avx2")) {
        Chosen() = kAvx2Loop;
        return true;
    }
#endif
    return false;
}

PixelArea BlendPicture(std::uint32_t* buffer, int stride, const PixelArea& clip,
                       const ImageRef& image, const PixelArea& target, int alpha,
                       std::vector<int>& columns, std::vector<int>& rows) {
    const PixelArea area{std::max(clip.x0, target.x0), std::max(clip.y0, target.y0),
                         std::min(clip.x1, target.x1), std::min(clip.y1, target.y1)};
    if (image.IsEmpty() || alpha <= 0 || target.IsEmpty() || area.IsEmpty()) {
        return {};
    }
    const int sourceStride = (image.stride > 0 ? image.stride : image.width * 4) / 4;
    const int count = area.x1 - area.x0;
    const int rowCount = area.y1 - area.y0;
    std::uint32_t* first = buffer + static_cast<size_t>(area.y0) * stride + area.x0;
    const int w = target.x1 - target.x0;
    const int h = target.y1 - target.y0;
    if (w == image.width && h == image.height) {
        BlendRect(first, stride,
                  image.pixels + static_cast<size_t>(area.y0 - target.y0) * sourceStride +
                      (area.x0 - target.x0),
                  sourceStride, count, rowCount, alpha);
        return area;
    }
    columns.resize(static_cast<size_t>(count));
    rows.resize(static_cast<size_t>(rowCount));
    SampleIndices(image.width, w, area.x0 - target.x0, count, columns.data());
    SampleIndices(image.height, h, area.y0 - target.y0, rowCount, rows.data());
    SampledBlend blend;
    blend.target = first;
    blend.targetStride = stride;
    blend.source = image.pixels;
    blend.sourceStride = sourceStride;
    blend.rows = rows.data();
    blend.columns = columns.data();
    blend.count = count;
    blend.rowCount = rowCount;
    blend.alpha = alpha;
    BlendSampled(blend);
    return area;
}

void ScaledPictures::Clear() {
    pictures_.clear();
    recent_.fill({});
    last_ = nullptr;
    pixelCount_ = 0;
}

std::size_t ScaledPictures::Count() const {
    std::size_t count = 0;
    for (const auto& [identity, sizes] : pictures_) {
        count += sizes.bySize.size();
    }
    return count;
}

ScaledPictures::Sizes& ScaledPictures::SizesOf(const ImageRef& image) {
    if (last_ && lastIdentity_ == image.identity && last_->pixels == image.pixels) {
        return *last_;
    }
    Sizes& sizes = pictures_[image.identity];
    if (sizes.pixels != image.pixels || sizes.width != image.width ||
        sizes.height != image.height) {
        sizes = {image.pixels, image.width, image.height, {}};
        recent_.fill({}); // they may refer to the pictures let go
    }
    lastIdentity_ = image.identity;
    last_ = &sizes;
    return sizes;
}

// Not among the recent ones: found by identity, resampled when first asked for.
ImageRef ScaledPictures::Find(const ImageRef& image, int w, int h) {
    const int padded = (w + 3) / 4 * 4;
    if (image.IsEmpty() || image.identity == 0 || image.width * image.height > kMaxPictureArea ||
        w <= 0 || h <= 0 || w > kMaxScale * image.width || h > kMaxScale * image.height) {
        return {};
    }
    if (pixelCount_ > kMaxPixels) {
        Clear();
    }
    std::vector<std::uint32_t>& pixels = SizesOf(image).bySize[h << 16 | w];
    if (pixels.empty()) {
        pixels.assign(static_cast<size_t>(padded) * h, 0u);
        std::vector<int> columns(static_cast<size_t>(padded));
        std::vector<int> rows(static_cast<size_t>(h));
        BlendPicture(pixels.data(), padded, {0, 0, w, h}, image, {0, 0, w, h}, 255, columns, rows);
        pixelCount_ += pixels.size();
    }
    RecentSlot(image, w, h) = {image.identity, image.pixels, w, h, pixels.data()};
    return {pixels.data(), w, h, padded * 4, image.scale, 0};
}
