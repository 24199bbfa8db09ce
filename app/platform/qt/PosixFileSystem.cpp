#include "app/platform/qt/PosixFileSystem.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

std::error_code CPosixFileSystem::SyncToDisk(std::FILE* file) {
    if (::fsync(::fileno(file)) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}
