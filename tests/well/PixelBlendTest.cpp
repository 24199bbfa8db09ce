// The vectorised blend loops against the blending arithmetic done one channel at a time, and
// sprites drawn by every loop against the plain oracle of SpriteOracle.h.

#include "app/platform/PixelBlend.h"
#include "tests/well/SpriteOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
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
oracle::Picture RandomPicture(std::mt19937& random, int width, int height) {
    return {width, height, Pixels(random, width * height)};
}

ImageRef RefOf(const oracle::Picture& picture) {
    return {picture.pixels.data(), picture.width, picture.height, picture.width * 4, 1.0, 0};
}

// Each row loop this processor has, in turn (AVX2, SSE2 and the scalar one); the one chosen
// at start-up again when done.
class EachBlendLoop {
public:
    ~EachBlendLoop() { UseBlendLoop(chosen_); }
    std::vector<std::string> Loops() const {
        std::vector<std::string> usable;
        for (const char* name : {"avx2", "sse2", "scalar"}) {
            if (UseBlendLoop(name)) {
                usable.push_back(name);
            }
        }
        UseBlendLoop(chosen_);
        return usable;
    }

private:
    std::string chosen_ = BlendRowKind();
};
} // namespace

// Pixels worked out by hand, through the oracle and through the drawing itself.
TEST(SpriteOracleTest, HandWorkedPixels) {
    // 0x80402010 (alpha 128, red 64, green 32, blue 16) at alpha 200 over opaque white:
    // the source scaled by 200 / 255: alpha 128 * 200 / 255 = 100.39 -> 100, red 50.20 -> 50,
    // green 25.10 -> 25, blue 12.55 -> 13; white kept by (255 - 100) / 255: 255 -> 155.
    // Out: alpha 100 + 155 = 255, red 50 + 155 = 205, green 180, blue 168: 0xFFCDB4A8.
    EXPECT_EQ(oracle::Over(0xFFFFFFFFu, 0x80402010u, 200), 0xFFCDB4A8u);
    // Transparent changes nothing; opaque at alpha 255 covers.
    EXPECT_EQ(oracle::Over(0xFF204060u, 0x00000000u, 255), 0xFF204060u);
    EXPECT_EQ(oracle::Over(0xFF204060u, 0xFF0000FFu, 255), 0xFF0000FFu);
    // A 4-pixel row drawn 3 wide: the centres 0.5, 1.5 and 2.5 fall at 0.67, 2.00 (the edge
    // between source pixels 1 and 2: the right one) and 3.33 of the source.
    EXPECT_EQ(oracle::Sample(0, 4, 3), 0);
    EXPECT_EQ(oracle::Sample(1, 4, 3), 2);
    EXPECT_EQ(oracle::Sample(2, 4, 3), 3);
    // Drawn 6 wide: the centres fall at 0.33, 1.00 (the edge: pixel 1), 1.67, 2.33, 3.00, 3.67.
    int columns[6];
    SampleIndices(4, 6, 0, 6, columns);
    EXPECT_EQ(std::vector<int>(columns, columns + 6), (std::vector<int>{0, 1, 1, 2, 3, 3}));

    // The same by drawing: a 4 x 1 picture of four opaque colours drawn 3 x 1 at alpha 255
    // shows colours 0, 2 and 3; the half transparent pixel of a 1 x 1 picture at alpha 200
    // over white gives the worked-out word.
    const std::vector<std::uint32_t> row = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
    std::vector<std::uint32_t> target(5, 0xFFFFFFFFu);
    std::vector<int> columnWork;
    std::vector<int> rowWork;
    BlendPicture(target.data(), 5, {0, 0, 5, 1}, {row.data(), 4, 1, 16, 1.0, 0}, {1, 0, 4, 1}, 255,
                 columnWork, rowWork);
    EXPECT_EQ(target, (std::vector<std::uint32_t>{0xFFFFFFFFu, 0xFF000001u, 0xFF000003u,
                                                  0xFF000004u, 0xFFFFFFFFu}));
    const std::uint32_t half = 0x80402010u;
    BlendPicture(target.data(), 5, {0, 0, 5, 1}, {&half, 1, 1, 4, 1.0, 0}, {4, 0, 5, 1}, 200,
                 columnWork, rowWork);
    EXPECT_EQ(target[4], 0xFFCDB4A8u);
}

// Every width from 1 to 17 (groups of eight and four and every tail), unscaled, drawn smaller
// and drawn larger, at alpha 0, 255 and others, cut by each edge of the clip and of the buffer:
// every loop gives the oracle's words and touches nothing outside the sprite and the clip.
TEST(SpriteOracleTest, EveryLoopWidthClipEdgeAndAlphaBlendsAsTheOracle) {
    std::mt19937 random(29);
    constexpr int kWidth = 44;
    constexpr int kHeight = 14;
    const oracle::Buffer background{kWidth, kHeight, Pixels(random, kWidth * kHeight)};
    const oracle::Bounds clips[] = {{6, 3, 37, 11}, {0, 0, kWidth, kHeight}};
    std::vector<int> columns;
    std::vector<int> rows;
    EachBlendLoop each;
    for (const std::string& loop : each.Loops()) {
        ASSERT_TRUE(UseBlendLoop(loop));
        for (int w = 1; w <= 17; ++w) {
            for (int h : {1, 4}) {
                for (const auto& [sw, sh] : {std::pair(w, h), std::pair(w + 5, 2 * h + 1),
                                             std::pair(std::max(w / 3, 1), 2)}) {
                    const oracle::Picture picture = RandomPicture(random, sw, sh);
                    for (const oracle::Bounds& clip : clips) {
                        // Inside; across the clip's left, right, top and bottom edges; across
                        // the buffer's four edges.
                        const std::pair<int, int> corners[] = {
                            {clip.x0 + 3, clip.y0 + 1},       {clip.x0 - 2, clip.y0 + 1},
                            {clip.x1 - w + 2, clip.y0},       {clip.x0 + 1, clip.y0 - 2},
                            {clip.x0, clip.y1 - 1},           {-3, -1},
                            {kWidth - w + 3, kHeight - h + 2}};
                        for (const auto& [x, y] : corners) {
                            for (int alpha : {0, 255, 1, 100, 254}) {
                                oracle::Buffer expected = background;
                                oracle::Draw(expected, clip, picture, x, y, w, h, alpha);
                                std::vector<std::uint32_t> drawn = background.pixels;
                                BlendPicture(drawn.data(), kWidth,
                                             {clip.x0, clip.y0, clip.x1, clip.y1}, RefOf(picture),
                                             {x, y, x + w, y + h}, alpha, columns, rows);
                                ASSERT_EQ(drawn, expected.pixels)
                                    << loop << ": " << sw << " x " << sh << " drawn " << w << " x "
                                    << h << " at " << x << ", " << y << " alpha " << alpha
                                    << " clip " << clip.x0 << ".." << clip.x1;
                            }
                        }
                    }
                }
            }
        }
    }
}

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
    std::vector<std::uint32_t> picture = Pixels(random, width * 6);
    std::fill(picture.begin(), picture.begin() + width, 0u); // an empty row
    // Row 1: pixels at 3..4 and 10 (a gap of 5, joined) and 19 (a gap of 8, apart).
    std::fill(picture.begin() + width, picture.begin() + 2 * width, 0u);
    picture[width + 3] = 0xFF102030u;
    picture[width + 4] = 0x80000000u;
    picture[width + 10] = 0x01010101u;
    picture[width + 19] = 0xFFFFFFFFu;
    // Row 2: an opaque run at 5..14, blended at full alpha by copying it.
    std::fill(picture.begin() + 2 * width, picture.begin() + 3 * width, 0u);
    for (int x = 5; x < 15; ++x) {
        picture[2 * width + x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    picture[3 * width] = 0xFF000000u; // row 3 starts and ends visible
    picture[4 * width - 1] = 0xFF000000u;
    // Rows 4 and 5 repeat row 3: they are read from row 3.
    std::copy_n(picture.begin() + 3 * width, width, picture.begin() + 4 * width);
    std::copy_n(picture.begin() + 3 * width, width, picture.begin() + 5 * width);
    const ImageRef image{picture.data(), width, 6, width * 4, 1.0, 7};
    const VisibleRuns runs = FindVisibleRuns(image);
    EXPECT_EQ(runs.readRow, (std::vector<int>{0, 1, 2, 3, 3, 3}));
    ASSERT_EQ(runs.firstRun.size(), 7u);
    EXPECT_EQ(runs.firstRun[0], runs.firstRun[1]);
    ASSERT_EQ(runs.firstRun[2] - runs.firstRun[1], 2);
    EXPECT_EQ(runs.runs[runs.firstRun[1]].begin, 3);
    EXPECT_EQ(runs.runs[runs.firstRun[1]].end, 11);
    EXPECT_EQ(runs.runs[runs.firstRun[1] + 1].begin, 19);
    EXPECT_EQ(runs.runs[runs.firstRun[1] + 1].end, 20);
    EXPECT_EQ(runs.runs[runs.firstRun[4] - 1].end, width);
    EXPECT_FALSE(runs.runs[runs.firstRun[1]].opaque); // joined over a gap
    EXPECT_TRUE(runs.runs[runs.firstRun[1] + 1].opaque);
    ASSERT_EQ(runs.firstRun[3] - runs.firstRun[2], 1);
    EXPECT_TRUE(runs.runs[runs.firstRun[2]].opaque);

    // Rows 1..5, columns 2..21, onto a 22-wide background, both ways.
    const std::vector<std::uint32_t> background = Pixels(random, 22 * 5);
    const std::uint32_t* corner = picture.data() + width + 2;
    for (int alpha : {180, 255}) {
        std::vector<std::uint32_t> whole = background;
        std::vector<std::uint32_t> trimmed = background;
        BlendRect(whole.data() + 1, 22, corner, width, 20, 5, alpha);
        BlendRectInRuns(trimmed.data() + 1, 22, corner, width, 20, 5, alpha, runs, 1, 2);
        EXPECT_EQ(trimmed, whole) << "alpha " << alpha;
    }
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
    const std::vector<std::uint32_t> background = Pixels(random, stride * 14);
    ScaledPictures kept;
    std::vector<int> columns;
    std::vector<int> rows;
    for (int w = 1; w <= width + 3; ++w) { // larger too: a scaled screen draws them so
        for (int h = 1; h <= height + 2; ++h) {
            for (int alpha : {255, 90}) {
                std::vector<std::uint32_t> sampled = background;
                BlendPicture(sampled.data(), stride, {0, 0, stride, 14}, image,
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
    EXPECT_TRUE(kept.At(image, ScaledPictures::kMaxScale * width + 1, height).IsEmpty());
    ImageRef changing = image;
    changing.identity = 0;
    EXPECT_TRUE(kept.At(changing, 4, 4).IsEmpty());
    const int wide = ScaledPictures::kMaxPictureArea / 64 + 1;
    const std::vector<std::uint32_t> large(static_cast<size_t>(wide) * 64, 0xFF000000u);
    EXPECT_TRUE(
        kept.At({large.data(), wide, 64, wide * 4, 1.0, NewImageIdentity()}, 8, 8).IsEmpty());

    // Other pixels under the same identity (a reloaded picture) are sampled again.
    const std::vector<std::uint32_t> other(static_cast<size_t>(width) * height, 0xFF336699u);
    const ImageRef reloaded{other.data(), width, height, width * 4, 1.0, image.identity};
    EXPECT_EQ(kept.At(reloaded, 5, 5).pixels[0], 0xFF336699u);
}
