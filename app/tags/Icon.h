#pragma once
// An icon tag: the window's large and small icon images.

#include "app/platform/ImageDecoder.h"
#include "app/tags/Tag.h"

#include <vector>

class TIcon : public Tag {
public:
    static constexpr int kLargeIconSize = 32; // the platform's default icon size
    static constexpr int kSmallIconSize = 16;

    PixelBuffer largeIcon;               // 32 x 32, or empty when the icon is missing
    PixelBuffer smallIcon;               // 16 x 16, or empty when the icon is missing
    std::vector<unsigned char> iconData; // the encoded ICO file with every size it holds

    void Load(const YAML::Node& node) override;
};
