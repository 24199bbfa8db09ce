#pragma once
// A decoder for the plain PNG files the program's pictures are: 8 bits per channel, RGB or
// RGBA, not interlaced. It inflates a picture's data in one call (libdeflate) straight into the
// pixel buffer and removes the row filters there, several times faster than a general decoder
// that inflates in small steps; and it uses nothing of the window system, so any thread may
// run it. Anything else, or anything it doubts (a checksum that fails, a chunk out of place,
// a palette or a transparent colour), it leaves to the general decoder.

#include "app/platform/ImageDecoder.h"

#include <cstddef>
#include <cstdint>

// The width and height a PNG file's header gives, from its first kPngHeaderBytes bytes;
// 0 x 0 for anything else, or sides beyond what a picture of ours can have.
constexpr std::size_t kPngHeaderBytes = 24;
struct PixelSize {
    int width = 0;
    int height = 0;
};
PixelSize PngPixelSize(const unsigned char* bytes, std::size_t size);

// The pixels a picture of `width` x `height` needs while it is decoded here: a little more
// than the picture itself, as the filtered rows are one byte longer than the pixel rows.
std::size_t PngDecodePixels(std::size_t width, std::size_t height);

// Decodes `data` into premultiplied pixels (as IImageDecoder's) when it is such a plain PNG of
// at most `maxBytes` decoded and every check passes. False, leaving `out` untouched, otherwise.
bool DecodePlainPng(const unsigned char* data, std::size_t size, std::size_t maxBytes,
                    PixelBuffer& out);

// A row of RGBA bytes as premultiplied 0xAARRGGBB pixels, rounded as Qt's qPremultiply.
void RgbaToPixels(const unsigned char* rgba, std::uint32_t* pixels, std::size_t width);
