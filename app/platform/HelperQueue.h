#pragma once
// Items worked on by a helper thread as they are added, the adding thread joining in when it
// needs them all done (Finish). So work handed out over a stretch of the adding thread's own
// work (a frame's new texts, as the frame is drawn) is mostly done by the time it is needed.
// The helper starts with the second item: a lone item is worked in Finish, without a thread.
// Items stay where they are until Finish, so the work may keep pointers into them. One thread
// adds and finishes; the work must be safe to run on another thread.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

template <typename Item> class CHelperQueue {
public:
    explicit CHelperQueue(std::function<void(Item&)> work) : work_(std::move(work)) {}
    ~CHelperQueue() { Finish(); }
    CHelperQueue(const CHelperQueue&) = delete;
    CHelperQueue& operator=(const CHelperQueue&) = delete;

    void Add(Item item) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            items_.push_back(std::move(item));
        }
        if (!helper_.joinable() && items_.size() > 1) {
            helper_ = std::thread([this] { WorkUntilFinished(); });
        }
        added_.notify_one();
    }

    // Works on what is left alongside the helper, then ends the helper and forgets the items.
    void Finish() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            finishing_ = true;
        }
        added_.notify_one();
        WorkUntilFinished();
        if (helper_.joinable()) {
            helper_.join();
        }
        items_.clear();
        next_ = 0;
        finishing_ = false;
    }

private:
    // Takes items in order until none is left and Finish has been asked for.
    void WorkUntilFinished() {
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            added_.wait(lock, [this] { return next_ < items_.size() || finishing_; });
            if (next_ == items_.size()) {
                return;
            }
            Item& item = items_[next_++];
            lock.unlock();
            work_(item);
        }
    }

    std::function<void(Item&)> work_;
    std::deque<Item> items_; // a deque: adding one moves none of the others
    std::size_t next_ = 0;   // the first item nobody has taken
    bool finishing_ = false;
    std::mutex mutex_;
    std::condition_variable added_;
    std::thread helper_;
};
