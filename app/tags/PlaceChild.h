#pragma once
// Placement of a referenced tag: places it when it is a placeable tag, skips it otherwise.

#include "app/tags/Tag.h"
#include "app/tags/TagManager.h"

inline void PlaceChild(TagHandle handle, int originX, int originY) {
    if (auto* child = GetTagAs<TPlaceable>(handle)) {
        child->Place(originX, originY);
    }
}
