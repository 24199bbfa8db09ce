#include "app/tags/Image.h"

#include "app/platform/FatalError.h"
#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/tags/MediaFile.h"

#include <cerrno>

namespace {
bool Decode(const unsigned char* data, std::size_t size, PixelBuffer& out) {
    IImageDecoder* decoder = Platform().imageDecoder;
    return decoder && data && decoder->DecodeImage(data, size, out);
}
} // namespace

void TImage::Load(const YAML::Node&) {
    PixelBuffer decoded;
    if (!fullPath.empty()) {
        // A picture missing from the tag directory cannot be survived.
        std::vector<unsigned char> bytes;
        if (!ReadMediaFile(fullPath, bytes)) {
            const int error = LastPlatformError();
            DebugTrace("Cannot read the image file %s", fullPath.c_str());
            ReportFatalError("", error);
        }
        if (Platform().imageDecoder && !Decode(bytes.data(), bytes.size(), decoded)) {
            DebugTrace("Cannot decode the image file %s", fullPath.c_str());
            ReportFatalError("", EINVAL); // the file is there but does not decode
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
