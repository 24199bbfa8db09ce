// Work handed to a helper thread as it is added: every item is worked exactly once and all of
// them are done when Finish returns, round after round; a lone item needs no thread.

#include "app/platform/HelperQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {
struct Job {
    int index;
    std::vector<int>* timesWorked;
    std::vector<std::thread::id>* workedBy;
};

void Work(Job& job) {
    ++(*job.timesWorked)[job.index]; // each index has one job: no two threads share a slot
    (*job.workedBy)[job.index] = std::this_thread::get_id();
}
} // namespace

TEST(HelperQueueTest, EveryItemIsWorkedOnceAndAllAreDoneWhenFinishReturns) {
    CHelperQueue<Job> queue(Work);
    for (const int count : {1, 2, 3, 100, 5000, 0, 1, 7}) {
        std::vector<int> timesWorked(count, 0);
        std::vector<std::thread::id> workedBy(count);
        for (int i = 0; i < count; ++i) {
            queue.Add({i, &timesWorked, &workedBy});
        }
        queue.Finish();
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(timesWorked[i], 1) << "item " << i << " of " << count;
        }
        if (count == 1) {
            EXPECT_EQ(workedBy[0], std::this_thread::get_id()) << "a lone item started a thread";
        }
    }
}

TEST(HelperQueueTest, ItemsLeftAtTheEndAreWorkedBeforeTheQueueGoes) {
    std::vector<int> timesWorked(50, 0);
    std::vector<std::thread::id> workedBy(50);
    {
        CHelperQueue<Job> queue(Work);
        for (int i = 0; i < 50; ++i) {
            queue.Add({i, &timesWorked, &workedBy});
        }
    }
    EXPECT_EQ(timesWorked, std::vector<int>(50, 1));
}
