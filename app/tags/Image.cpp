#include "app/tags/Image.h"

#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/tags/PictureDecodeAhead.h"
#include "app/tags/TagReader.h"

namespace {
// "views/x/name.png" -> "views/x/name@2x.png"; empty for a name without an extension.
std::string DoubleSizeName(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

// The picture as decoded ahead when it was (see PictureDecodeAhead.h), else decoded now.
DecodedPicture ReadPicture(const std::string& path, const std::string& fullPath) {
    if (CPictureDecodeAhead* ahead = CPictureDecodeAhead::Current()) {
        if (std::optional<DecodedPicture> decoded = ahead->Take(path, fullPath)) {
            return std::move(*decoded);
        }
    }
    return DecodePicture(path, fullPath);
}

// The @2x picture of a tag directory file or of the embedded store; empty when missing.
PixelBuffer LoadDoubleSize(const std::string& path, const std::string& fullPath) {
    const std::string name = DoubleSizeName(path);
    const std::string file = fullPath.empty() ? std::string() : DoubleSizeName(fullPath);
    if (name.empty() || (!fullPath.empty() && file.empty())) {
        return {};
    }
    DecodedPicture decoded = ReadPicture(name, file);
    return decoded.decoded ? std::move(decoded.pixels) : PixelBuffer{};
}
} // namespace

ImageRef TImage::Bitmap() const {
    if (bitmap.empty()) {
        return {};
    }
    return {bitmap.data(), width, height, width * 4, 1.0, identity};
}

ImageRef TImage::Picture() const {
    return picture2x.pixels.empty() ? Bitmap() : RefOf(picture2x);
}

ImageRef TImage::PictureFor(double deviceScale) const {
    if (deviceScale <= 1.0) {
        return Bitmap();
    }
    LoadDoubleSizeOnce();
    return Picture();
}

void TImage::LoadDoubleSizeOnce() const {
    if (doubleSizeTried_ || bitmap.empty()) {
        return;
    }
    doubleSizeTried_ = true;
    PixelBuffer large = LoadDoubleSize(path, fullPath);
    if (large.width == 2 * width && large.height == 2 * height &&
        large.pixels.size() == static_cast<std::size_t>(large.width) * large.height) {
        auto& self = const_cast<TImage&>(*this); // a cache of the same picture, larger
        self.picture2x = std::move(large);
        self.picture2x.scale = 2.0;
        self.picture2x.identity = identity;
    }
}

void TImage::Load(const YAML::Node&) {
    DecodedPicture picture = ReadPicture(path, fullPath);
    // A picture of the tag directory that cannot be used fails the load like a bad tag file;
    // the tag manager names the file and the tags that refer to it. A missing or broken
    // embedded picture just stays empty.
    if (!fullPath.empty() && picture.readError) {
        throw TagValueError("cannot read the picture: " + picture.readError.message());
    }
    if (!fullPath.empty() && Platform().imageDecoder && !picture.decoded) {
        throw TagValueError("the picture cannot be decoded");
    }
    PixelBuffer& decoded = picture.pixels;
    width = decoded.width;
    height = decoded.height;
    bitmap = std::move(decoded.pixels);
    if (bitmap.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        width = height = 0; // never hand the views a size the buffer does not have
        bitmap.clear();
    }
    identity = NewImageIdentity();
    picture2x = {};
    doubleSizeTried_ = false;
    IImageDecoder* decoder = Platform().imageDecoder;
    if (decoder && decoder->PictureScale() > 1) {
        LoadDoubleSizeOnce();
    }
}
