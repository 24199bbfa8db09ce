#pragma once
// An image tag: a decoded PNG as a premultiplied 32-bit pixel buffer, ready to blend.

#include "app/tags/Tag.h"

#include <cstdint>
#include <vector>

class TImage : public Tag {
public:
    // width * height pixels, rows top-down, each 0xAARRGGBB premultiplied by alpha (bytes
    // blue, green, red, alpha in memory). Empty when nothing could be decoded.
    std::vector<uint32_t> bitmap;
    int width = 0;
    int height = 0;

    // From the tag directory a missing or undecodable file fails the load (TagValueError);
    // from the embedded store it gives a 0 x 0 image.
    void Load(const YAML::Node& node) override;
};
