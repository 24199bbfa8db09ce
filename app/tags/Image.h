#pragma once
// An image tag: a decoded PNG as a premultiplied 32-bit pixel buffer, ready to blend.

#include "app/platform/Canvas.h"
#include "app/tags/Tag.h"

#include <cstdint>
#include <vector>

class TImage : public Tag {
public:
    // width * height pixels, rows top-down, each 0xAARRGGBB premultiplied by alpha (bytes
    // blue, green, red, alpha in memory). Empty when nothing could be decoded.
    PixelVector bitmap;
    int width = 0;
    int height = 0;
    // The same picture drawn at twice the size (the file "name@2x.png" beside it), loaded only
    // for a scaled screen; empty when there is none or it is not exactly twice the size.
    PixelBuffer picture2x;
    std::uint64_t identity = 0; // new at every load (see ImageRef::identity)

    // The picture to draw: the @2x one when loaded, else the bitmap.
    ImageRef Picture() const;
    // The bitmap at its own size, for drawing into a canvas of one pixel per logical pixel.
    ImageRef Bitmap() const;
    // The picture for a canvas of `deviceScale` device pixels per logical pixel: the bitmap up
    // to 1, else the @2x picture (read the first time a larger canvas wants it: a window
    // enlarged on a screen of one pixel per logical pixel), or the bitmap when there is none.
    ImageRef PictureFor(double deviceScale) const;

    // From the tag directory a missing or undecodable file fails the load (TagValueError);
    // from the embedded store it gives a 0 x 0 image. A missing or unusable @2x picture is
    // no error: the bitmap is drawn scaled instead.
    void Load(const YAML::Node& node) override;

private:
    void LoadDoubleSizeOnce() const;
    mutable bool doubleSizeTried_ = false;
};
