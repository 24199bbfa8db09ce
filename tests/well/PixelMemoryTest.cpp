// Large pixel buffers in mappings of their own or in room shared by a load's pictures: where
// each buffer goes, and that a mapping is given back whole exactly when its last buffer goes.

#include "app/platform/PixelMemory.h"
#include "app/platform/Platform.h"
#include "app/services/GlobalService.h"
#include "tests/well/FakePixelPages.h"

#include <gtest/gtest.h>

#include <memory>

class PixelMemoryTest : public ::testing::Test {
protected:
    void TearDown() override {
        PixelMemory::EndReserve();
        EXPECT_TRUE(pages.mapped.empty()) << "a mapping outlived its buffers";
    }

    FakePixelPages pages;
    ScopedOverride<IPixelPages> usePages{Platform().pixelPages, &pages};
};

TEST_F(PixelMemoryTest, BuffersShareTheRoomSetAsideInOrderAndItGoesWithTheLastOfThem) {
    PixelMemory::Reserve(10000);
    ASSERT_EQ(pages.mapped.size(), 1u);
    const auto [room, size] = *pages.mapped.begin();
    EXPECT_EQ(size, 3 * PixelMemory::kPageBytes);

    PixelVector first(1000);
    PixelVector second(10, 7u);
    EXPECT_EQ(static_cast<void*>(first.data()), room);
    EXPECT_EQ(reinterpret_cast<char*>(second.data()), static_cast<char*>(room) + 4032);
    EXPECT_EQ(second[9], 7u);
    PixelVector tooLarge(2100); // more than is left: from the heap
    EXPECT_EQ(pages.MappingOf(tooLarge.data()), nullptr);

    first = PixelVector();
    second = PixelVector();
    EXPECT_EQ(pages.mapped.size(), 1u) << "the room stays while it takes buffers";
    const PixelVector third(8);
    EXPECT_EQ(pages.MappingOf(third.data()), room);

    PixelMemory::EndReserve();
    const PixelVector later(8);
    EXPECT_EQ(pages.MappingOf(later.data()), nullptr) << "no room set aside any more";
    EXPECT_EQ(pages.mapped.size(), 1u) << "the third buffer still lives in it";
}

TEST_F(PixelMemoryTest, ANewRoomTakesOverAndTheOldOneGoesWithItsBuffers) {
    PixelMemory::Reserve(4096);
    auto old = std::make_unique<PixelVector>(100);
    PixelMemory::Reserve(4096); // the next load, while the last one's pictures live
    const PixelVector fresh(100);
    ASSERT_EQ(pages.mapped.size(), 2u);
    EXPECT_NE(pages.MappingOf(fresh.data()), pages.MappingOf(old->data()));
    old.reset();
    EXPECT_EQ(pages.mapped.size(), 1u);
    EXPECT_NE(pages.MappingOf(fresh.data()), nullptr);

    PixelMemory::Reserve(4096); // a room that took nothing goes as soon as another takes over
    PixelMemory::EndReserve();
    EXPECT_EQ(pages.mapped.size(), 1u);
}

TEST_F(PixelMemoryTest,
       ABlockHasAMappingOfItsOwnThatGoesWithItsLastBufferAndOnlyItsAddressesAreFreedHere) {
    void* block = PixelMemory::AllocateBlock(5000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(pages.mapped.at(block), 2 * PixelMemory::kPageBytes);
    int onTheHeap = 0;
    EXPECT_FALSE(PixelMemory::Free(&onTheHeap));
    EXPECT_FALSE(PixelMemory::Free(nullptr));
    EXPECT_TRUE(PixelMemory::Free(block));
    EXPECT_TRUE(pages.mapped.empty());

    // Two buffers in one mapping: it goes with the second of them, whichever that is.
    auto* pair = static_cast<char*>(PixelMemory::AllocateBlock(5000, 2));
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pages.mapped.at(pair), 3 * PixelMemory::kPageBytes);
    EXPECT_TRUE(PixelMemory::Free(pair + 5000));
    EXPECT_EQ(pages.mapped.size(), 1u);
    EXPECT_TRUE(PixelMemory::Free(pair));
    EXPECT_TRUE(pages.mapped.empty());
    EXPECT_EQ(PixelMemory::AllocateBlock(5000, 0), nullptr);

    // Without pages, or when the system maps none, buffers come from the heap.
    pages.refuse = true;
    EXPECT_EQ(PixelMemory::AllocateBlock(5000), nullptr);
    PixelMemory::Reserve(4096);
    EXPECT_EQ(PixelMemory::Allocate(64), nullptr);
    ScopedOverride<IPixelPages> noPages(Platform().pixelPages, nullptr);
    PixelMemory::Reserve(4096);
    EXPECT_EQ(PixelMemory::Allocate(64), nullptr);
    EXPECT_EQ(PixelMemory::AllocateBlock(5000), nullptr);
    EXPECT_EQ(PixelMemory::MappingCount(), 0u);
}
