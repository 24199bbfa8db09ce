#include "app/tags/Font.h"

#include "app/platform/FontRegistry.h"
#include "app/platform/Platform.h"
#include "app/tags/MediaFile.h"

void TFont::Load(const YAML::Node&) {
    IFontRegistry* registry = Platform().fontRegistry;
    if (!registry) {
        return;
    }
    if (!fullPath.empty()) {
        std::vector<unsigned char> bytes;
        if (!ReadMediaFile(fullPath, bytes)) {
            registry->RegisterFont(bytes.data(), bytes.size());
        }
        return;
    }
    // A missing font registers nothing; text then falls back to a substitute face.
    if (const ResourceBytes stored = FindResource(path, ResourceKind::RawData)) {
        registry->RegisterFont(stored.data, stored.size);
    }
}
