#pragma once
// Icon files (ICO) of the plain kind the program's own are: every image a PNG or a 32-bit
// bitmap with its own alpha, each the size the file's directory gives it. Only the image that
// is picked is decoded, where a general reader decodes them all; anything else, or anything in
// doubt, is left to the general reader.

#include "app/platform/ImageDecoder.h"

#include <cstddef>

// The image of `data` closest to `size` pixels square: the smallest at least that wide, else
// the widest (the first of equals), as premultiplied pixels at its own size. False, leaving
// `out` untouched, when the file is not such a plain icon or the image does not decode.
bool DecodePlainIcon(const unsigned char* data, std::size_t size, int iconSize,
                     std::size_t maxBytes, PixelBuffer& out);
