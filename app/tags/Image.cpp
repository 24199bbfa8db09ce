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
} // namespace

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
}
