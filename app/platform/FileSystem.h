#pragma once
// The operating system's part of writing a file durably.

#include <cstdio>
#include <system_error>

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Moves what has been written to `file` (already flushed out of the C library's buffer)
    // from the system's cache to the disk, so a power cut after a rename cannot leave an empty
    // file under the new name.
    virtual std::error_code SyncToDisk(std::FILE* file) = 0;
};
