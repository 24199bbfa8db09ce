#include "app/platform/IconDecoder.h"

#include "app/platform/Canvas.h"
#include "app/platform/PngDecoder.h"

#include <cstdint>
#include <vector>

namespace {
constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr std::size_t kBitmapHeaderBytes = 40;

std::uint32_t LittleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

struct Image {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool png = false;
};

// An image whose header agrees with the directory on its size (0 there meaning 256): a PNG,
// or a bottom-up 32-bit uncompressed bitmap followed by its mask.
bool ReadImage(const unsigned char* file, std::size_t fileSize, const unsigned char* entry,
               Image& image) {
    image.width = entry[0] == 0 ? 256 : entry[0];
    image.height = entry[1] == 0 ? 256 : entry[1];
    image.size = LittleEndian(entry + 8, 4);
    const std::size_t offset = LittleEndian(entry + 12, 4);
    if (offset > fileSize || image.size > fileSize - offset) {
        return false;
    }
    image.data = file + offset;
    const unsigned char* d = image.data;
    if (const PixelSize png = PngPixelSize(d, image.size); png.width > 0) {
        image.png = true;
        return static_cast<std::uint32_t>(png.width) == image.width &&
               static_cast<std::uint32_t>(png.height) == image.height;
    }
    const std::size_t pixelBytes = std::size_t{image.width} * image.height * 4;
    const std::size_t maskBytes = (std::size_t{image.width} + 31) / 32 * 4 * image.height;
    return image.size >= kBitmapHeaderBytes + pixelBytes + maskBytes &&
           LittleEndian(d, 4) == kBitmapHeaderBytes && LittleEndian(d + 4, 4) == image.width &&
           LittleEndian(d + 8, 4) == 2 * image.height && LittleEndian(d + 12, 2) == 1 &&
           LittleEndian(d + 14, 2) == 32 && LittleEndian(d + 16, 4) == 0 &&
           LittleEndian(d + 32, 4) == 0; // no compression, no colour table
}

// Blue, green, red, alpha rows from the bottom up; the mask is left unread, as the alpha says
// it all. A bitmap without any alpha is left to the general reader.
bool DecodeBitmap(const Image& image, PixelBuffer& out) {
    const std::size_t width = image.width;
    const std::size_t height = image.height;
    const unsigned char* rows = image.data + kBitmapHeaderBytes;
    bool anyAlpha = false;
    for (std::size_t i = 3; i < width * height * 4 && !anyAlpha; i += 4) {
        anyAlpha = rows[i] != 0;
    }
    if (!anyAlpha) {
        return false;
    }
    PixelVector pixels(width * height);
    std::vector<unsigned char> rgba(width * 4);
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char* bgra = rows + (height - 1 - y) * width * 4;
        for (std::size_t x = 0; x < width * 4; x += 4) {
            rgba[x] = bgra[x + 2];
            rgba[x + 1] = bgra[x + 1];
            rgba[x + 2] = bgra[x];
            rgba[x + 3] = bgra[x + 3];
        }
        RgbaToPixels(rgba.data(), pixels.data() + y * width, width);
    }
    out = NewPixelBuffer(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
    return true;
}
} // namespace

bool DecodePlainIcon(const unsigned char* data, std::size_t size, int iconSize,
                     std::size_t maxBytes, PixelBuffer& out) {
    if (size < kDirectoryBytes || LittleEndian(data, 2) != 0 || LittleEndian(data + 2, 2) != 1) {
        return false;
    }
    const std::size_t count = LittleEndian(data + 4, 2);
    if (count == 0 || count > (size - kDirectoryBytes) / kEntryBytes) {
        return false;
    }
    std::vector<Image> images(count);
    const Image* best = nullptr;
    const auto wide = [iconSize](const Image* image) {
        return image && image->width >= static_cast<std::uint32_t>(iconSize);
    };
    for (std::size_t i = 0; i < count; ++i) {
        Image& image = images[i];
        if (!ReadImage(data, size, data + kDirectoryBytes + i * kEntryBytes, image)) {
            return false;
        }
        const bool better = wide(&image) ? !wide(best) || image.width < best->width
                                         : !wide(best) && (!best || image.width > best->width);
        if (better) {
            best = &image;
        }
    }
    if (best->png) {
        return DecodePlainPng(best->data, best->size, maxBytes, out);
    }
    return std::size_t{best->width} * best->height * 4 <= maxBytes && DecodeBitmap(*best, out);
}
