#pragma once
// The POSIX side of the platform: durable writes, and a closed pipe that is not fatal.

#include "app/platform/FileSystem.h"

class CPosixFileSystem : public IFileSystem {
public:
    std::error_code SyncToDisk(std::FILE* file) override;
};

// A write to a pipe or socket whose reader has gone (standard output piped into `head`, say)
// then fails with EPIPE instead of ending the process with SIGPIPE before it saves anything.
void IgnoreBrokenPipes();
