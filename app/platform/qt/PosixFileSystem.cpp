#include "app/platform/qt/PosixFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>

namespace {
bool InUsersGroups(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.end();
}
} // namespace

std::error_code CPosixFileSystem::SyncToDisk(std::FILE* file) {
    if (::fsync(::fileno(file)) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

bool CPosixFileSystem::IsReadOnlyForUser(const std::filesystem::path& path,
                                         std::filesystem::perms permissions) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return IFileSystem::IsReadOnlyForUser(path, permissions);
    }
    const mode_t write = status.st_uid == ::geteuid()   ? S_IWUSR
                         : InUsersGroups(status.st_gid) ? S_IWGRP
                                                        : S_IWOTH;
    return (status.st_mode & write) == 0;
}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}
