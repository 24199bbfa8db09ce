#pragma once
// Image decoding into the one pixel layout the drawing code consumes: 32 bits per pixel,
// rows top-down, each pixel 0xAARRGGBB with the colour premultiplied by alpha (in memory on
// a little-endian machine: blue, green, red, alpha).

#include "app/platform/PixelMemory.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

struct PixelBuffer {
    int width = 0;
    int height = 0;
    PixelVector pixels;         // width * height premultiplied 0xAARRGGBB, top row first
    double scale = 1.0;         // pixels per logical pixel (a grab of a scaled screen: 2)
    std::uint64_t identity = 0; // see ImageRef::identity
};

class IImageDecoder {
public:
    virtual ~IImageDecoder() = default;
    // Decodes an encoded image (PNG and whatever else the platform reads). False when the
    // bytes do not decode; `out` is then empty.
    virtual bool DecodeImage(const unsigned char* data, std::size_t size, PixelBuffer& out) = 0;
    // Picks the image of an icon file (ICO) closest to `size` pixels square and scales it to
    // exactly that size. False when the bytes hold no icon.
    virtual bool DecodeIcon(const unsigned char* data, std::size_t size, int iconSize,
                            PixelBuffer& out) = 0;
    // The scale of the pictures worth decoding: 2 when the screen shows more than one device
    // pixel per logical pixel (the @2x pictures are then loaded too), otherwise 1.
    virtual int PictureScale() const { return 1; }
};
