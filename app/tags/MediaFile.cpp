#include "app/tags/MediaFile.h"

#include <cerrno>
#include <fstream>
#include <iterator>

bool ReadMediaFile(const std::string& fullPath, std::vector<unsigned char>& bytes) {
    errno = 0;
    std::ifstream file(fullPath, std::ios::binary);
    if (!file) {
        if (errno == 0) {
            errno = ENOENT;
        }
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        errno = EIO;
        return false;
    }
    return true;
}
