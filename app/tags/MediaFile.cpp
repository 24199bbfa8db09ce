#include "app/tags/MediaFile.h"

#include "app/files/AtomicFile.h"

namespace {
// Far beyond any picture, font or icon of the interface; a FIFO or a device is refused too.
constexpr std::size_t kMaxMediaFileBytes = 64 << 20;
} // namespace

std::error_code ReadMediaFile(const std::string& fullPath, std::vector<unsigned char>& bytes) {
    std::string text;
    std::error_code error;
    if (ReadRegularFile(fullPath, kMaxMediaFileBytes, text, error)) {
        bytes.assign(text.begin(), text.end());
    }
    return error;
}
