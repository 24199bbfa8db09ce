#include "app/tags/Icon.h"

#include "app/platform/Platform.h"
#include "app/tags/MediaFile.h"

void TIcon::Load(const YAML::Node&) {
    if (!fullPath.empty()) {
        if (ReadMediaFile(fullPath, iconData)) {
            iconData.clear(); // a missing icon leaves the window without one
        }
    } else if (const ResourceBytes stored = FindResource(path, ResourceKind::Icon)) {
        iconData.assign(stored.data, stored.data + stored.size);
    }
    IImageDecoder* decoder = Platform().imageDecoder;
    if (iconData.empty() || !decoder) {
        return;
    }
    if (!decoder->DecodeIcon(iconData.data(), iconData.size(), kLargeIconSize, largeIcon)) {
        largeIcon = {};
    }
    if (!decoder->DecodeIcon(iconData.data(), iconData.size(), kSmallIconSize, smallIcon)) {
        smallIcon = {};
    }
}
