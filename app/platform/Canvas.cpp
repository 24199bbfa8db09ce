#include "app/platform/Canvas.h"

#include <atomic>

std::uint64_t NewImageIdentity() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}
