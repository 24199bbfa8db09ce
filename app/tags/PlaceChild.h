#pragma once
// Placement of a referenced tag: places it when it is a placeable tag, skips it otherwise.

#include "Tag.h"
#include "TagManager.h"

inline void PlaceChild(TagHandle handle, int originX, int originY) {
    if (auto* child = GetTagAs<TPlaceable>(handle)) {
        child->Place(originX, originY);
    }
}
