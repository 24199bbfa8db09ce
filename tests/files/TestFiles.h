#pragma once
// What tests make inside a temporary folder of their own, never elsewhere: the folder itself (a
// new one each time, so parallel runs never meet), FIFOs, and character devices with the numbers
// of the system's null, zero and full devices, so that no test links to anything under /dev.
// CI runs as root: a slip in the code under test then harms only the test's own node.

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

class TestFolder {
public:
    explicit TestFolder(const std::string& name) {
        std::string pattern = std::filesystem::temp_directory_path() / ("gs-" + name + "-XXXXXX");
        path_ = ::mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

enum class DeviceKind { Null = 3, Zero = 5, Full = 7 }; // minor numbers; the major is 1

// False where the system does not let the user make a device (then skip, or use a FIFO).
inline bool MakeDevice(const std::filesystem::path& path, DeviceKind kind) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, static_cast<unsigned>(kind))) == 0;
}

inline bool MakeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// What is at `path` itself, links not followed: "file", "fifo", "link", "device 1,3", ...
inline std::string KindOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return "nothing";
    }
    const mode_t type = status.st_mode & S_IFMT;
    return type == S_IFREG   ? "file"
           : type == S_IFDIR ? "folder"
           : type == S_IFIFO ? "fifo"
           : type == S_IFLNK ? "link"
           : type == S_IFCHR ? "device " + std::to_string(major(status.st_rdev)) + "," +
                                   std::to_string(minor(status.st_rdev))
                             : "other";
}

// Names and kinds of what a folder holds, so that a stray temporary file shows.
inline std::set<std::string> Listing(const std::filesystem::path& folder) {
    std::set<std::string> listing;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        listing.insert(entry.path().filename().string() + " " + KindOf(entry.path()));
    }
    return listing;
}

inline std::string TextOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
