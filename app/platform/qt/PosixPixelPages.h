#pragma once
// Pages for the pixel buffers mapped straight from the kernel, in transparent huge pages on
// every whole 2 MiB span of a mapping (Linux; elsewhere in ordinary pages).

#include "app/platform/PixelMemory.h"

class CPosixPixelPages : public IPixelPages {
public:
    void* Map(std::size_t bytes) override;
    void Unmap(void* pages, std::size_t bytes) override;
};
