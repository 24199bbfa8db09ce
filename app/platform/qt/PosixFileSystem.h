#pragma once
// The POSIX side of the platform: durable writes, read-only files, and a closed pipe that is not
// fatal.

#include "app/platform/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    std::error_code SyncToDisk(std::FILE* file) override;
    // The class bits as the kernel applies them to an unprivileged user: the owner's when the
    // effective user owns the file, else the group's when the file's group is one of the
    // user's, else the others'. The administrator, whom the kernel lets write anything, is
    // judged by the same bits: a file made read-only is left alone whoever runs the program.
    bool IsReadOnlyForUser(const std::filesystem::path& path,
                           std::filesystem::perms permissions) override;
};

// A write to a pipe or socket whose reader has gone (standard output piped into `head`, say)
// then fails with EPIPE instead of ending the process with SIGPIPE before it saves anything.
void IgnoreBrokenPipes();
