#include "app/platform/qt/PosixPixelPages.h"

#include <sys/mman.h>

#include <cstdint>

namespace {
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

void* MapAnonymous(std::size_t bytes) {
    void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}
} // namespace

// A mapping of a huge page or more starts on a huge page's boundary, so that all its whole
// spans can be huge pages: a little more is mapped and the ends beyond the aligned part are
// given back at once.
void* CPosixPixelPages::Map(std::size_t bytes) {
    if (bytes < kHugePageBytes) {
        return MapAnonymous(bytes);
    }
    auto* mapped = static_cast<char*>(MapAnonymous(bytes + kHugePageBytes));
    if (!mapped) {
        return nullptr;
    }
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    const std::size_t head = (kHugePageBytes - address % kHugePageBytes) % kHugePageBytes;
    char* aligned = mapped + head;
    if (head > 0) {
        munmap(mapped, head);
    }
    munmap(aligned + bytes, kHugePageBytes - head);
#ifdef MADV_HUGEPAGE
    madvise(aligned, bytes, MADV_HUGEPAGE); // a system without them keeps ordinary pages
#endif
    return aligned;
}

void CPosixPixelPages::Unmap(void* pages, std::size_t bytes) {
    munmap(pages, bytes);
}
