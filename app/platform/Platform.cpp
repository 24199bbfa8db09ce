#include "app/platform/Platform.h"

#include "app/platform/UserFolders.h"

#include <system_error>

#ifdef __GLIBC__
#include <malloc.h>
#endif

PlatformServices& Platform() {
    static PlatformServices services;
    return services;
}

void ReleaseFreeMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

namespace {
std::filesystem::path ApplicationFolder(const std::filesystem::path& root) {
    if (root.empty()) {
        return {};
    }
    const std::filesystem::path folder = root / "Quillmore" / "Gas Separator";
    std::error_code ignored; // an existing folder, or one we cannot create, is not an error here
    std::filesystem::create_directories(folder, ignored);
    return folder;
}
} // namespace

std::filesystem::path SettingsFolder() {
    const IUserFolders* folders = Platform().userFolders;
    return folders ? ApplicationFolder(folders->SettingsRoot()) : std::filesystem::path();
}

std::filesystem::path DocumentsFolder() {
    const IUserFolders* folders = Platform().userFolders;
    return folders ? ApplicationFolder(folders->DocumentsRoot()) : std::filesystem::path();
}

std::filesystem::path LogFolder() {
    const IUserFolders* folders = Platform().userFolders;
    const std::filesystem::path root = folders ? folders->StateRoot() : std::filesystem::path();
    return root.empty() ? root : root / "Quillmore" / "Gas Separator" / "logs";
}
