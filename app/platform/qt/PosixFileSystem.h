#pragma once
// The POSIX side of the platform: durable writes.

#include "app/platform/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    std::error_code SyncToDisk(std::FILE* file) override;
};
