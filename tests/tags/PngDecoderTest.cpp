// The fast PNG decoder against Qt's: the same pixels for every picture it takes, and every file
// it doubts left to Qt rather than decoded wrong.

#include "app/platform/PngDecoder.h"
#include "app/files/EmbeddedStore.h"
#include "app/platform/IconDecoder.h"
#include "tests/tags/QtTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

void AppendNumber(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void AppendChunk(Bytes& out, const char* type, const Bytes& data) {
    AppendNumber(out, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    AppendNumber(out, static_cast<std::uint32_t>(crc32(0, typed.data(), typed.size())));
}

int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// A PNG of 8-bit RGB (3 channels) or RGBA (4) pixels, row y filtered with filters[y % size].
Bytes EncodePng(int width, int height, int channels, const Bytes& pixels,
                const std::vector<int>& filters, const std::vector<Bytes>& extraChunks = {}) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    Bytes filtered;
    for (int y = 0; y < height; ++y) {
        const int filter = filters[static_cast<std::size_t>(y) % filters.size()];
        filtered.push_back(static_cast<unsigned char>(filter));
        const unsigned char* row = pixels.data() + y * rowBytes;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
            const int b = y > 0 ? row[i - rowBytes] : 0;
            const int c =
                y > 0 && i >= static_cast<std::size_t>(channels) ? row[i - rowBytes - channels] : 0;
            const int predicted[] = {0, a, b, (a + b) / 2, PaethPredictor(a, b, c)};
            filtered.push_back(static_cast<unsigned char>(row[i] - predicted[filter]));
        }
    }
    uLongf compressedSize = compressBound(filtered.size());
    Bytes compressed(compressedSize);
    compress2(compressed.data(), &compressedSize, filtered.data(), filtered.size(), 9);
    compressed.resize(compressedSize);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    AppendNumber(header, static_cast<std::uint32_t>(width));
    AppendNumber(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, static_cast<unsigned char>(channels == 4 ? 6 : 2), 0, 0, 0});
    AppendChunk(png, "IHDR", header);
    for (const Bytes& extra : extraChunks) {
        png.insert(png.end(), extra.begin(), extra.end());
    }
    // The data in two chunks, as large pictures have it.
    const auto half = static_cast<std::ptrdiff_t>(compressed.size() / 2);
    AppendChunk(png, "IDAT", Bytes(compressed.begin(), compressed.begin() + half));
    AppendChunk(png, "IDAT", Bytes(compressed.begin() + half, compressed.end()));
    AppendChunk(png, "IEND", {});
    return png;
}

Bytes Chunk(const char* type, const Bytes& data) {
    Bytes out;
    AppendChunk(out, type, data);
    return out;
}

// Qt's pixels of the same file, premultiplied.
std::vector<std::uint32_t> QtPixels(const unsigned char* data, std::size_t size) {
    QImage image;
    if (!image.loadFromData(data, static_cast<int>(size))) {
        return {};
    }
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        pixels.insert(pixels.end(), row, row + image.width());
    }
    return pixels;
}

std::vector<std::uint32_t> Decoded(const Bytes& png, bool* decoded = nullptr) {
    PixelBuffer out;
    const bool done = DecodePlainPng(png.data(), png.size(), SIZE_MAX, out);
    if (decoded) {
        *decoded = done;
    }
    return {out.pixels.begin(), out.pixels.end()};
}

// Every value under every alpha, every filter on both pixel sizes, odd widths.
Bytes Pattern(int width, int height, int channels) {
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char values[] = {
                static_cast<unsigned char>(x * 7 + y), static_cast<unsigned char>(y * 13 - x),
                static_cast<unsigned char>(x ^ (y * 3)), static_cast<unsigned char>(y)};
            pixels.insert(pixels.end(), values, values + channels);
        }
    }
    return pixels;
}
} // namespace

class PngDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { tagtest::EnsureQtMedia(); }
};

TEST_F(PngDecoderTest, EveryFilterOnRgbAndRgbaGivesQtsPixels) {
    for (const int channels : {3, 4}) {
        for (const std::vector<int>& filters :
             std::vector<std::vector<int>>{{0}, {1}, {2}, {3}, {4}, {4, 1, 3, 0, 2}}) {
            const int width = 37;
            const Bytes png =
                EncodePng(width, 256, channels, Pattern(width, 256, channels), filters);
            bool decoded = false;
            const auto pixels = Decoded(png, &decoded);
            EXPECT_TRUE(decoded) << channels << " channels, filter " << filters.front();
            EXPECT_EQ(pixels, QtPixels(png.data(), png.size()))
                << channels << " channels, filter " << filters.front();
        }
    }
    // One pixel, one row.
    const Bytes tiny = EncodePng(1, 1, 4, {200, 100, 50, 77}, {4});
    EXPECT_EQ(Decoded(tiny), QtPixels(tiny.data(), tiny.size()));
}

TEST_F(PngDecoderTest, EveryShippedPictureDecodesHereToQtsPixels) {
    int pictures = 0;
    for (const ResourceEntry& entry : ListResources()) {
        const std::string path(entry.path);
        if (entry.kind != ResourceKind::RawData || path.size() < 4 ||
            path.compare(path.size() - 4, 4, ".png") != 0) {
            continue;
        }
        const ResourceBytes stored = FindResource(path, ResourceKind::RawData);
        PixelBuffer out;
        ASSERT_TRUE(DecodePlainPng(stored.data, stored.size, SIZE_MAX, out)) << path;
        EXPECT_EQ(std::vector<std::uint32_t>(out.pixels.begin(), out.pixels.end()),
                  QtPixels(stored.data, stored.size))
            << path;
        ++pictures;
    }
    if (pictures == 0) {
        GTEST_SKIP() << "the pictures are not in data/ yet";
    }
}

// Anything it is not sure of is left to Qt: its answer is false, never other pixels.
TEST_F(PngDecoderTest, FilesItDoubtsAreLeftToTheGeneralDecoder) {
    const Bytes png = EncodePng(5, 4, 4, Pattern(5, 4, 4), {4, 1});
    bool decoded = false;
    Decoded(png, &decoded);
    ASSERT_TRUE(decoded);
    for (std::size_t length = 0; length < png.size(); ++length) {
        Decoded(Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(length)), &decoded);
        EXPECT_FALSE(decoded) << "cut at " << length;
    }
    for (std::size_t at = 8; at < png.size(); ++at) {
        Bytes changed = png;
        changed[at] ^= 0x10;
        Decoded(changed, &decoded);
        EXPECT_FALSE(decoded) << "byte " << at << " changed";
    }
    // Well-formed chunks that would change the pixels or that it does not know.
    const Bytes transparent =
        EncodePng(5, 4, 3, Pattern(5, 4, 3), {0}, {Chunk("tRNS", {0, 1, 0, 2, 0, 3})});
    Decoded(transparent, &decoded);
    EXPECT_FALSE(decoded);
    const Bytes unknown = EncodePng(5, 4, 4, Pattern(5, 4, 4), {0}, {Chunk("QUUX", {1})});
    Decoded(unknown, &decoded);
    EXPECT_FALSE(decoded);
    const Bytes ancillary =
        EncodePng(5, 4, 4, Pattern(5, 4, 4), {0}, {Chunk("tEXt", {'a', 0, 'b'})});
    EXPECT_EQ(Decoded(ancillary), QtPixels(ancillary.data(), ancillary.size()));
    // An unknown filter, with every checksum right.
    const Bytes filtered = {5, 1, 2, 3};
    uLongf size = compressBound(filtered.size());
    Bytes compressed(size);
    compress2(compressed.data(), &size, filtered.data(), filtered.size(), 9);
    compressed.resize(size);
    Bytes header;
    AppendNumber(header, 1);
    AppendNumber(header, 1);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    Bytes badFilter = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AppendChunk(badFilter, "IHDR", header);
    AppendChunk(badFilter, "IDAT", compressed);
    AppendChunk(badFilter, "IEND", {});
    Decoded(badFilter, &decoded);
    EXPECT_FALSE(decoded);
    // Larger than the caller allows.
    PixelBuffer out;
    EXPECT_FALSE(DecodePlainPng(png.data(), png.size(), 5 * 4 * 4 - 1, out));
    EXPECT_TRUE(out.pixels.empty());
}

namespace {
// Qt's reading of an icon: every image, the first of the narrowest at least `size` wide, else
// the first of the widest.
std::vector<std::uint32_t> QtIconPixels(const ResourceBytes& icon, int size) {
    QByteArray bytes(reinterpret_cast<const char*>(icon.data), static_cast<qsizetype>(icon.size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    std::vector<QImage> images;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        images.push_back(reader.read());
    }
    std::stable_sort(images.begin(), images.end(), [size](const QImage& a, const QImage& b) {
        const bool aFits = a.width() >= size;
        if (aFits != (b.width() >= size)) {
            return aFits;
        }
        return aFits ? a.width() < b.width() : a.width() > b.width();
    });
    const QImage best = images.front().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < best.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(best.constScanLine(y));
        pixels.insert(pixels.end(), row, row + best.width());
    }
    return pixels;
}
} // namespace

TEST_F(PngDecoderTest, TheShippedIconsGiveQtsImageForEverySizeAskedFor) {
    int icons = 0;
    for (const ResourceEntry& entry : ListResources()) {
        if (entry.kind != ResourceKind::Icon) {
            continue;
        }
        const ResourceBytes icon = FindResource(std::string(entry.path), ResourceKind::Icon);
        for (const int size : {1, 16, 20, 24, 32, 40, 48, 64, 100, 256, 300}) {
            PixelBuffer out;
            ASSERT_TRUE(DecodePlainIcon(icon.data, icon.size, size, SIZE_MAX, out))
                << entry.path << " at " << size;
            EXPECT_EQ(std::vector<std::uint32_t>(out.pixels.begin(), out.pixels.end()),
                      QtIconPixels(icon, size))
                << entry.path << " at " << size;
        }
        // Cut anywhere, or with a directory that disagrees with an image, it is Qt's to read.
        const Bytes whole(icon.data, icon.data + icon.size);
        for (std::size_t length = 0; length < whole.size(); length += 97) {
            PixelBuffer out;
            EXPECT_FALSE(DecodePlainIcon(whole.data(), length, 32, SIZE_MAX, out)) << length;
        }
        Bytes disagreeing = whole;
        disagreeing[6 + 16] ^= 1; // the second image's width
        PixelBuffer out;
        EXPECT_FALSE(DecodePlainIcon(disagreeing.data(), disagreeing.size(), 32, SIZE_MAX, out));
        ++icons;
    }
    if (icons == 0) {
        GTEST_SKIP() << "the icons are not in data/ yet";
    }
}
