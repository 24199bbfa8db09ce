#pragma once
// Things tests make inside a temporary folder of their own, never elsewhere: the folder itself
// (a new one for each use, so parallel runs never meet), FIFOs, and character devices with the
// numbers of the system's null, zero and full devices, so no test links to anything under /dev.
// Suites run as root in CI: a slip in the code under test then harms only the test's own node.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class TestFolder {
public:
    explicit TestFolder(const std::string& name) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("gs-" + name + "-XXXXXX")).string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) {
            path_ = buffer.data();
        }
    }
    ~TestFolder() {
        if (!path_.empty()) {
            OpenUp(path_);
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

private:
    // Folders a test closed (permissions none) are opened again, so that they can be removed.
    static void OpenUp(const std::filesystem::path& folder) {
        std::error_code error;
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error)) {
                OpenUp(it->path());
            }
        }
    }

    std::filesystem::path path_;
};

enum class DeviceKind { Null = 3, Zero = 5, Full = 7 }; // minor numbers; the major is 1

// A character device at `path` with the numbers of the system's null, zero or full device;
// false where the system does not let the user make one (then GTEST_SKIP or do without).
inline bool MakeDevice(const std::filesystem::path& path, DeviceKind kind) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, static_cast<unsigned>(kind))) == 0;
}

inline bool MakeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// The kind of what is at `path` itself (links not followed), with its device numbers.
inline std::string KindOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return "nothing";
    }
    switch (status.st_mode & S_IFMT) {
    case S_IFREG:
        return "file";
    case S_IFDIR:
        return "folder";
    case S_IFIFO:
        return "fifo";
    case S_IFLNK:
        return "link";
    case S_IFCHR:
        return "device " + std::to_string(major(status.st_rdev)) + "," +
               std::to_string(minor(status.st_rdev));
    default:
        return "other";
    }
}
