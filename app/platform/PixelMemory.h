#pragma once
// Memory for the large pixel buffers: the decoded pictures and the frame buffers. A first
// touch of a 4 KiB page costs several microseconds (about ten on a virtual machine), and a
// start-up fills some 20 MB of pixels: thousands of page faults. Mapped in 2 MiB huge pages,
// where the system offers them, the same memory faults in a few hundred times faster and the
// frame loop needs fewer address translations. Huge pages are asked for only on the whole
// 2 MiB spans a mapping holds, and a mapping is made the size of what it will hold, so no
// memory goes to pages left partly empty.
//
// Many pictures share one mapping: the pictures of a tag load are allocated from room set aside
// for all of them (Reserve), which is given back once none of them is left.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// How the system maps pages for pixel buffers; the platform installs its own
// (PlatformServices::pixelPages). Without one, pixel buffers come from the heap.
class IPixelPages {
public:
    virtual ~IPixelPages() = default;
    // `bytes` (a whole number of pages) of zero-filled memory, aligned to a page; huge pages
    // where the system has them. Null when the system cannot map it.
    virtual void* Map(std::size_t bytes) = 0;
    virtual void Unmap(void* pages, std::size_t bytes) = 0;
};

namespace PixelMemory {
// The size the platform's pages are counted in.
constexpr std::size_t kPageBytes = 4096;
// Buffers in a shared mapping start on a cache line, as the heap's large blocks do.
constexpr std::size_t kAlignment = 64;
// `bytes` rounded up to whole `unit`s.
constexpr std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}
// The room a buffer of `bytes` takes in a shared mapping.
constexpr std::size_t RoomFor(std::size_t bytes) {
    return RoundUp(bytes, kAlignment);
}
// Sets aside `bytes` for the pixel buffers allocated next (the pictures of a tag load), in one
// mapping. Room set aside earlier takes no more buffers.
void Reserve(std::size_t bytes);
// Takes no more buffers into the room set aside: what is left of it is never touched, and the
// mapping goes once its last buffer is freed.
void EndReserve();
// `bytes` from the room set aside, aligned for any pixel loop; null when there is not enough.
void* Allocate(std::size_t bytes);
// `buffers` buffers of `bytes` each (frame buffers), one after another in a mapping of their
// own, zero-filled; it goes when each of them has been freed. Null without pages.
void* AllocateBlock(std::size_t bytes, std::size_t buffers = 1);
// Frees a buffer of Allocate or AllocateBlock, given by any address inside it; false, doing
// nothing, for an address of no mapping here.
bool Free(void* buffer);
// How many mappings are held (for tests and diagnostics).
std::size_t MappingCount();
// Writes a zero into each page of `bytes` at `pixels` whose contents do not matter yet, so
// that the system maps them now (on a helper thread) and not at their first real use.
void FaultIn(unsigned char* pixels, std::size_t bytes);
} // namespace PixelMemory

// Puts the pixels of a vector in the room set aside for pictures when there is room, else on
// the heap.
template <class T> class PixelAllocator {
public:
    using value_type = T;
    PixelAllocator() = default;
    template <class U> PixelAllocator(const PixelAllocator<U>&) {}

    T* allocate(std::size_t count) {
        if (void* pixels = PixelMemory::Allocate(count * sizeof(T))) {
            return static_cast<T*>(pixels);
        }
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* pixels, std::size_t count) {
        if (!PixelMemory::Free(pixels)) {
            std::allocator<T>().deallocate(pixels, count);
        }
    }
    template <class U> bool operator==(const PixelAllocator<U>&) const { return true; }
};

using PixelVector = std::vector<std::uint32_t, PixelAllocator<std::uint32_t>>;
