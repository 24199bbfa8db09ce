#include "app/tags/Image.h"

#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/tags/MediaFile.h"
#include "app/tags/TagReader.h"

namespace {
bool Decode(const unsigned char* data, std::size_t size, PixelBuffer& out) {
    IImageDecoder* decoder = Platform().imageDecoder;
    return decoder && data && decoder->DecodeImage(data, size, out);
}

// "views/x/name.png" -> "views/x/name@2x.png"; empty for a name without an extension.
std::string DoubleSizeName(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

// The @2x picture of a tag directory file or of the embedded store; empty when missing.
PixelBuffer LoadDoubleSize(const std::string& path, const std::string& fullPath) {
    PixelBuffer decoded;
    if (!fullPath.empty()) {
        std::vector<unsigned char> bytes;
        const std::string file = DoubleSizeName(fullPath);
        if (!file.empty() && !ReadMediaFile(file, bytes)) {
            Decode(bytes.data(), bytes.size(), decoded);
        }
    } else if (const std::string name = DoubleSizeName(path); !name.empty()) {
        const ResourceBytes stored = FindResource(name, ResourceKind::RawData);
        Decode(stored.data, stored.size, decoded);
    }
    return decoded;
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

void TImage::Load(const YAML::Node&) {
    PixelBuffer decoded;
    if (!fullPath.empty()) {
        // A picture of the tag directory that cannot be used fails the load like a bad tag
        // file; the tag manager names the file and the tags that refer to it.
        std::vector<unsigned char> bytes;
        if (const std::error_code error = ReadMediaFile(fullPath, bytes)) {
            throw TagValueError("cannot read the picture: " + error.message());
        }
        if (Platform().imageDecoder && !Decode(bytes.data(), bytes.size(), decoded)) {
            throw TagValueError("the picture cannot be decoded");
        }
    } else {
        // A missing or broken embedded picture just stays empty.
        const ResourceBytes stored = FindResource(path, ResourceKind::RawData);
        Decode(stored.data, stored.size, decoded);
    }
    width = decoded.width;
    height = decoded.height;
    bitmap = std::move(decoded.pixels);
    if (bitmap.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        width = height = 0; // never hand the views a size the buffer does not have
        bitmap.clear();
    }
    identity = NewImageIdentity();
    picture2x = {};
    IImageDecoder* decoder = Platform().imageDecoder;
    if (decoder && decoder->PictureScale() > 1 && !bitmap.empty()) {
        PixelBuffer large = LoadDoubleSize(path, fullPath);
        if (large.width == 2 * width && large.height == 2 * height &&
            large.pixels.size() == static_cast<std::size_t>(large.width) * large.height) {
            picture2x = std::move(large);
            picture2x.scale = 2.0;
            picture2x.identity = identity;
        }
    }
}
