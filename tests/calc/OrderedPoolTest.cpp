// The calculator's pool of workers: results in input order whatever order they are done in,
// a bounded number of items in flight, failures that stop it cleanly.
#include "tools/calc/OrderedPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>

namespace {
using Pool = OrderedPool<int, int>;

// Items 0 to count - 1; each takes a different while, so later items often finish first.
Pool::Work Squares(int count, std::vector<int>& delivered) {
    Pool::Work work;
    work.next = [count, n = 0](int& item) mutable { return (item = n++) < count; };
    work.compute = [](const int& item, size_t) {
        std::this_thread::sleep_for(std::chrono::microseconds(item * 7919 % 13 * 40));
        return item * item;
    };
    work.deliver = [&delivered](int& result) { delivered.push_back(result); };
    return work;
}
} // namespace

TEST(OrderedPool, ResultsComeInInputOrderWithABoundedWindow) {
    for (size_t workers : {0, 1, 3, 8}) {
        std::vector<int> delivered;
        Pool pool(workers, 2 * workers);
        pool.Run(Squares(500, delivered));
        ASSERT_EQ(delivered.size(), 500u) << workers;
        for (int i = 0; i < 500; ++i) {
            ASSERT_EQ(delivered[i], i * i) << workers;
        }
        EXPECT_LE(pool.MostInFlight(), std::max<size_t>(2 * workers, 1)) << workers;
    }
}

TEST(OrderedPool, EachWorkerComputesOneItemAtATime) {
    constexpr size_t kWorkers = 4;
    std::atomic<bool> busy[kWorkers] = {};
    std::atomic<int> overlaps = 0, computed = 0;
    std::vector<int> delivered;
    Pool::Work work = Squares(300, delivered);
    const auto square = work.compute;
    work.compute = [&](const int& item, size_t worker) {
        overlaps += worker >= kWorkers || busy[worker].exchange(true);
        const int result = square(item, worker);
        busy[worker] = false;
        ++computed;
        return result;
    };
    Pool(kWorkers, 16).Run(work);
    EXPECT_EQ(overlaps, 0);
    EXPECT_EQ(computed, 300);
}

TEST(OrderedPool, AFailureStopsTheWorkersAfterTheItemsBeforeIt) {
    std::vector<int> delivered;
    Pool::Work work = Squares(1000, delivered);
    const auto square = work.compute;
    work.compute = [&](const int& item, size_t worker) {
        if (item == 50) {
            throw std::runtime_error("item 50");
        }
        return square(item, worker);
    };
    Pool pool(3, 12);
    EXPECT_THROW(pool.Run(work), std::runtime_error);
    EXPECT_EQ(delivered.size(), 50u); // everything before it, nothing after it

    delivered.clear();
    work = Squares(1000, delivered);
    work.deliver = [&](int& result) {
        if (delivered.size() == 20) {
            throw std::runtime_error("the reader has gone");
        }
        delivered.push_back(result);
    };
    EXPECT_THROW(pool.Run(work), std::runtime_error);
    EXPECT_EQ(delivered.size(), 20u);
    EXPECT_LE(pool.MostInFlight(), 12u);
}
