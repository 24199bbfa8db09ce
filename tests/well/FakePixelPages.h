#pragma once
// Pages for pixel buffers taken from the heap, with a record of what is mapped: where buffers
// went and whether each mapping was given back whole, once.

#include "app/platform/PixelMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

class FakePixelPages : public IPixelPages {
public:
    void* Map(std::size_t bytes) override {
        if (refuse) {
            return nullptr;
        }
        void* pages = std::aligned_alloc(PixelMemory::kPageBytes, bytes);
        std::memset(pages, 0, bytes);
        mapped[pages] = bytes;
        return pages;
    }
    void Unmap(void* pages, std::size_t bytes) override {
        ASSERT_TRUE(mapped.count(pages)) << "given back twice, or never mapped";
        EXPECT_EQ(mapped[pages], bytes);
        mapped.erase(pages);
        std::free(pages);
    }
    // The mapping holding the buffer, or null.
    void* MappingOf(const void* buffer) const {
        for (const auto& [pages, bytes] : mapped) {
            const auto* at = static_cast<const char*>(buffer);
            if (at >= static_cast<const char*>(pages) && at < static_cast<char*>(pages) + bytes) {
                return pages;
            }
        }
        return nullptr;
    }

    std::map<void*, std::size_t> mapped;
    bool refuse = false;
};
