#pragma once
// The operating system's part of writing a file durably, and of judging whether the user may
// change a file.

#include <cstdio>
#include <filesystem>
#include <system_error>

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Moves what has been written to `file` (already flushed out of the C library's buffer)
    // from the system's cache to the disk, so a power cut after a rename cannot leave an empty
    // file under the new name.
    virtual std::error_code SyncToDisk(std::FILE* file) = 0;
    // Whether the permission bits of the existing file at `path` (`permissions`) keep the user
    // from changing it: the bits of the owner, the group or the others, whichever class the
    // user is in. A system without owners judges by the owner's bits.
    virtual bool IsReadOnlyForUser(const std::filesystem::path& path,
                                   std::filesystem::perms permissions) {
        (void)path;
        return (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
    }
};
