// The vectorised blend loops against the blending arithmetic done one channel at a time.

#include "app/platform/PixelBlend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {
// c * a / 255, rounded to the nearest integer.
std::uint32_t Times(std::uint32_t c, std::uint32_t a) {
    return (2 * c * a + 255) / 510;
}

// Source-over of premultiplied pixels with a constant alpha, channel by channel.
std::uint32_t Expected(std::uint32_t target, std::uint32_t source, int alpha) {
    std::uint32_t scaled[4];
    for (int shift = 0; shift < 32; shift += 8) {
        scaled[shift / 8] = Times((source >> shift) & 0xFF, static_cast<std::uint32_t>(alpha));
    }
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t kept = Times((target >> shift) & 0xFF, 255 - scaled[3]);
        out |= (scaled[shift / 8] + kept) << shift;
    }
    return out;
}

// Random premultiplied pixels: no channel above the alpha; some fully transparent or opaque
// runs, as pictures have.
std::vector<std::uint32_t> Pixels(std::mt19937& random, int count) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::uint32_t kind = random() % 4;
        const std::uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : random() % 256;
        std::uint32_t pixel = a << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            pixel |= (a == 0 ? 0 : random() % (a + 1)) << shift;
        }
        pixels[static_cast<size_t>(i)] = pixel;
    }
    return pixels;
}
} // namespace

TEST(PixelBlendTest, EveryRowLengthAndAlphaGivesTheRoundedBlendAndTouchesNothingElse) {
    std::mt19937 random(7);
    for (int count = 0; count <= 41; ++count) {
        for (int alpha : {1, 77, 128, 254, 255}) {
            const std::vector<std::uint32_t> source = Pixels(random, count);
            std::vector<std::uint32_t> target = Pixels(random, count + 2); // a guard each side
            const std::vector<std::uint32_t> before = target;
            BlendRow(target.data() + 1, source.data(), count, alpha);
            EXPECT_EQ(target.front(), before.front());
            EXPECT_EQ(target.back(), before.back());
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(target[i + 1], Expected(before[i + 1], source[i], alpha))
                    << BlendRowKind() << " count " << count << " alpha " << alpha << " at " << i;
            }
        }
    }
    for (int i = 0; i < 256; ++i) { // the one-pixel helpers agree with the loops
        const std::uint32_t source = Pixels(random, 1)[0];
        const std::uint32_t target = Pixels(random, 1)[0];
        EXPECT_EQ(BlendOver(target, ScalePixel(source, 100)), Expected(target, source, 100));
    }
}

TEST(PixelBlendTest, RectanglesAndSampledPicturesBlendTheRightSourcePixels) {
    std::mt19937 random(11);
    const int width = 13;
    const int height = 6;
    const std::vector<std::uint32_t> picture = Pixels(random, width * height);
    const std::vector<std::uint32_t> background = Pixels(random, 20 * 8);

    // Rows 1..4 of the picture, columns sampled with repeats, onto a 20-wide target at (2, 1).
    const std::vector<int> rows = {1, 1, 3, 5};
    const std::vector<int> columns = {0, 2, 2, 4, 6, 8, 10, 12, 12, 11, 9};
    std::vector<std::uint32_t> target = background;
    SampledBlend blend;
    blend.target = target.data() + 20 + 2;
    blend.targetStride = 20;
    blend.source = picture.data();
    blend.sourceStride = width;
    blend.rows = rows.data();
    blend.columns = columns.data();
    blend.count = static_cast<int>(columns.size());
    blend.rowCount = static_cast<int>(rows.size());
    blend.alpha = 200;
    BlendSampled(blend);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 20; ++x) {
            const int r = y - 1;
            const int c = x - 2;
            const bool inside = r >= 0 && r < 4 && c >= 0 && c < blend.count;
            const std::uint32_t was = background[y * 20 + x];
            const std::uint32_t expected =
                inside ? Expected(was, picture[rows[r] * width + columns[c]], 200) : was;
            ASSERT_EQ(target[y * 20 + x], expected) << x << ", " << y;
        }
    }

    // The picture's last three rows and first ten columns, unscaled, at (5, 2).
    target = background;
    BlendRect(target.data() + 2 * 20 + 5, 20, picture.data() + 3 * width, width, 10, 3, 255);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = y >= 2 && y < 5 && x >= 5 && x < 15;
            const std::uint32_t was = background[y * 20 + x];
            const std::uint32_t expected =
                inside ? Expected(was, picture[(y + 1) * width + (x - 5)], 255) : was;
            ASSERT_EQ(target[y * 20 + x], expected) << x << ", " << y;
        }
    }
}

TEST(PixelBlendTest, BlendingInVisibleRunsEqualsBlendingTheWholeRectangle) {
    std::mt19937 random(5);
    const int width = 24;
    std::vector<std::uint32_t> picture = Pixels(random, width * 4);
    std::fill(picture.begin(), picture.begin() + width, 0u); // an empty row
    // Row 1: pixels at 3..4 and 10 (a gap of 5, joined) and 19 (a gap of 8, apart).
    std::fill(picture.begin() + width, picture.begin() + 2 * width, 0u);
    picture[width + 3] = 0xFF102030u;
    picture[width + 4] = 0x80000000u;
    picture[width + 10] = 0x01010101u;
    picture[width + 19] = 0xFFFFFFFFu;
    picture[3 * width] = 0xFF000000u; // row 3 starts and ends visible
    picture[4 * width - 1] = 0xFF000000u;
    const ImageRef image{picture.data(), width, 4, width * 4, 1.0, 7};
    const VisibleRuns runs = FindVisibleRuns(image);
    ASSERT_EQ(runs.firstRun.size(), 5u);
    EXPECT_EQ(runs.firstRun[0], runs.firstRun[1]);
    ASSERT_EQ(runs.firstRun[2] - runs.firstRun[1], 2);
    EXPECT_EQ(runs.runs[runs.firstRun[1]].begin, 3);
    EXPECT_EQ(runs.runs[runs.firstRun[1]].end, 11);
    EXPECT_EQ(runs.runs[runs.firstRun[1] + 1].begin, 19);
    EXPECT_EQ(runs.runs[runs.firstRun[1] + 1].end, 20);
    EXPECT_EQ(runs.runs[runs.firstRun[4] - 1].end, width);

    // Rows 1..3, columns 2..21, onto a 22-wide background, both ways.
    const std::vector<std::uint32_t> background = Pixels(random, 22 * 3);
    std::vector<std::uint32_t> whole = background;
    std::vector<std::uint32_t> trimmed = background;
    const std::uint32_t* corner = picture.data() + width + 2;
    BlendRect(whole.data() + 1, 22, corner, width, 20, 3, 180);
    BlendRectInRuns(trimmed.data() + 1, 22, corner, width, 20, 3, 180, runs, 1, 2);
    EXPECT_EQ(trimmed, whole);
}

// A particle picture resampled once per size blends, padding and all, exactly as sampling the
// picture at every draw did; what cannot be kept comes back empty.
TEST(PixelBlendTest, PicturesResampledOncePerSizeBlendAsSampledEveryTime) {
    std::mt19937 random(3);
    const int width = 13;
    const int height = 9;
    const std::vector<std::uint32_t> picture = Pixels(random, width * height);
    const ImageRef image{picture.data(), width, height, width * 4, 1.0, NewImageIdentity()};
    const int stride = 40;
    const std::vector<std::uint32_t> background = Pixels(random, stride * 12);
    ScaledPictures kept;
    std::vector<int> columns;
    std::vector<int> rows;
    for (int w = 1; w <= width; ++w) {
        for (int h = 1; h <= height; ++h) {
            for (int alpha : {255, 90}) {
                std::vector<std::uint32_t> sampled = background;
                BlendPicture(sampled.data(), stride, {0, 0, stride, 12}, image,
                             {3, 2, 3 + w, 2 + h}, alpha, columns, rows);
                const ImageRef resampled = kept.At(image, w, h);
                ASSERT_EQ(resampled.stride % 16, 0);
                const int padded = resampled.stride / 4;
                std::vector<std::uint32_t> blended = background;
                BlendRect(blended.data() + 2 * stride + 3, stride, resampled.pixels, padded, padded,
                          h, alpha);
                ASSERT_EQ(blended, sampled) << w << " x " << h << " alpha " << alpha;
            }
        }
    }
    EXPECT_TRUE(kept.At(image, width + 1, height).IsEmpty()); // drawn larger than it is
    ImageRef changing = image;
    changing.identity = 0;
    EXPECT_TRUE(kept.At(changing, 4, 4).IsEmpty());
    const std::vector<std::uint32_t> large(65 * 64, 0xFF000000u);
    EXPECT_TRUE(kept.At({large.data(), 65, 64, 65 * 4, 1.0, NewImageIdentity()}, 8, 8).IsEmpty());

    // Other pixels under the same identity (a reloaded picture) are sampled again.
    const std::vector<std::uint32_t> other(static_cast<size_t>(width) * height, 0xFF336699u);
    const ImageRef reloaded{other.data(), width, height, width * 4, 1.0, image.identity};
    EXPECT_EQ(kept.At(reloaded, 5, 5).pixels[0], 0xFF336699u);
}
