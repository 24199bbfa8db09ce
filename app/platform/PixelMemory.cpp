#include "app/platform/PixelMemory.h"

#include "app/platform/Platform.h"

#include <algorithm>
#include <limits>
#include <mutex>

namespace {
// One mapping: the room set aside for a load's pictures, or one frame buffer.
struct Mapping {
    IPixelPages* pages = nullptr; // the pages it came from, to give it back to
    char* base = nullptr;
    std::size_t size = 0;
    std::size_t used = 0;
    std::size_t live = 0; // buffers not yet freed
    bool open = false;    // still takes buffers

    bool Holds(const void* buffer) const {
        const auto* at = static_cast<const char*>(buffer);
        return at >= base && at < base + size;
    }
};

struct Mappings {
    std::mutex mutex;
    std::vector<Mapping> all;
};

Mappings& State() {
    static Mappings* state = new Mappings; // never destroyed: buffers may outlive main
    return *state;
}

// Called with the lock held.
void CloseOpen(std::vector<Mapping>& all) {
    for (auto it = all.begin(); it != all.end();) {
        it->open = false;
        if (it->live == 0) {
            it->pages->Unmap(it->base, it->size);
            it = all.erase(it);
        } else {
            ++it;
        }
    }
}

Mapping* OpenMapping(std::vector<Mapping>& all) {
    const auto found =
        std::find_if(all.begin(), all.end(), [](const Mapping& m) { return m.open; });
    return found == all.end() ? nullptr : &*found;
}

// A mapping of at least `bytes` from the installed pages, or an empty one.
Mapping Map(std::size_t bytes) {
    IPixelPages* pages = Platform().pixelPages;
    if (!pages || bytes == 0) {
        return {};
    }
    const std::size_t size = PixelMemory::RoundUp(bytes, PixelMemory::kPageBytes);
    void* base = pages->Map(size);
    if (!base) {
        return {};
    }
    return {pages, static_cast<char*>(base), size, 0, 0, false};
}
} // namespace

namespace PixelMemory {
void Reserve(std::size_t bytes) {
    Mapping room = Map(bytes);
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    CloseOpen(state.all);
    if (room.base) {
        room.open = true;
        state.all.push_back(room);
    }
}

void EndReserve() {
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    CloseOpen(state.all);
}

void* Allocate(std::size_t bytes) {
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    Mapping* room = OpenMapping(state.all);
    if (!room || bytes == 0 || bytes > room->size - room->used) {
        return nullptr;
    }
    void* buffer = room->base + room->used;
    room->used = std::min(room->size, room->used + PixelMemory::RoomFor(bytes));
    ++room->live;
    return buffer;
}

void* AllocateBlock(std::size_t bytes, std::size_t buffers) {
    if (buffers == 0 || bytes > std::numeric_limits<std::size_t>::max() / buffers) {
        return nullptr;
    }
    Mapping block = Map(bytes * buffers);
    if (!block.base) {
        return nullptr;
    }
    block.used = block.size;
    block.live = buffers;
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    state.all.push_back(block);
    return block.base;
}

bool Free(void* buffer) {
    if (!buffer) {
        return false;
    }
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    const auto found = std::find_if(state.all.begin(), state.all.end(),
                                    [buffer](const Mapping& m) { return m.Holds(buffer); });
    if (found == state.all.end()) {
        return false;
    }
    if (--found->live == 0 && !found->open) {
        found->pages->Unmap(found->base, found->size);
        state.all.erase(found);
    }
    return true;
}

void FaultIn(unsigned char* pixels, std::size_t bytes) {
    for (std::size_t at = 0; at < bytes; at += kPageBytes) {
        pixels[at] = 0;
    }
}

std::size_t MappingCount() {
    Mappings& state = State();
    const std::lock_guard<std::mutex> lock(state.mutex);
    return state.all.size();
}
} // namespace PixelMemory
