#pragma once
// Items computed on a few threads and handed back in the order they came, with a bounded
// number of them in flight: the memory stays the same however many items there are, and the
// results are those of computing the items one at a time (each item is computed alone, by one
// worker, from nothing but the item and that worker's own state).

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

template <class Item, class Result> class OrderedPool {
public:
    struct Work {
        // Fills `item` with the next item; false after the last. On the calling thread.
        std::function<bool(Item&)> next;
        // Computes an item on worker `worker` (from 0 to workers - 1; 0 on the calling thread
        // when there are no workers): no two items are computed at once with one index.
        std::function<Result(const Item&, size_t worker)> compute;
        // Takes each result, in the items' order. On the calling thread.
        std::function<void(Result&)> deliver;
        // Before the calling thread waits for a worker (to hand on what was delivered).
        std::function<void()> beforeWait;
    };

    // `workers` threads, or none: then every item is computed on the calling thread, one
    // after the other. At most `window` items (at least 1) are read and not yet delivered.
    OrderedPool(size_t workers, size_t window)
        : workers_(workers), window_(std::max<size_t>(window, 1)) {}

    // Runs until `next` has no more and every result is delivered. An exception from `next` or
    // `deliver`, or from `compute` when its item's turn to be delivered comes, stops the
    // workers and is thrown here.
    void Run(const Work& work) {
        slots_.assign(window_, Slot{});
        read_ = taken_ = delivered_ = 0;
        stopping_ = false;
        std::vector<std::thread> threads;
        try {
            for (size_t worker = 0; worker < workers_; ++worker) {
                threads.emplace_back([this, &work, worker] { Serve(work, worker); });
            }
            Feed(work);
        } catch (...) {
            Stop(threads);
            throw;
        }
        Stop(threads);
    }

    // The most items that were read and not yet delivered at one time.
    size_t MostInFlight() const { return mostInFlight_; }

private:
    struct Slot {
        Item item{};
        std::optional<Result> result;
        std::exception_ptr error;
        bool done = false;
    };

    static void Compute(const Work& work, Slot& slot, size_t worker) {
        try {
            slot.result.emplace(work.compute(slot.item, worker));
        } catch (...) {
            slot.error = std::current_exception();
        }
    }

    // A worker: takes the oldest item not taken, computes it, marks it done.
    void Serve(const Work& work, size_t worker) {
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [&] { return stopping_ || taken_ < read_; });
            if (stopping_) {
                return;
            }
            Slot& slot = slots_[taken_++ % window_];
            lock.unlock();
            Compute(work, slot, worker); // no other thread touches the slot until it is done
            lock.lock();
            slot.done = true;
            done_.notify_one();
        }
    }

    // Reads items while the window has room, then delivers the oldest when it is done.
    void Feed(const Work& work) {
        for (bool more = true;;) {
            while (more && read_ - delivered_ < window_) {
                Slot& slot = slots_[read_ % window_]; // delivered: no worker holds it
                more = work.next(slot.item);
                if (more) {
                    std::lock_guard lock(mutex_);
                    slot.done = false;
                    ++read_;
                    mostInFlight_ = std::max(mostInFlight_, read_ - delivered_);
                    work_.notify_one();
                }
            }
            if (delivered_ == read_) {
                return;
            }
            Deliver(work, slots_[delivered_ % window_]);
        }
    }

    void Deliver(const Work& work, Slot& slot) {
        if (workers_ == 0) {
            Compute(work, slot, 0);
        } else {
            std::unique_lock lock(mutex_);
            if (!slot.done) {
                lock.unlock();
                if (work.beforeWait) {
                    work.beforeWait();
                }
                lock.lock();
                done_.wait(lock, [&] { return slot.done; });
            }
        }
        const std::exception_ptr error = std::exchange(slot.error, nullptr);
        std::optional<Result> result = std::exchange(slot.result, std::nullopt);
        {
            std::lock_guard lock(mutex_);
            ++delivered_;
        }
        if (error) {
            std::rethrow_exception(error);
        }
        work.deliver(*result);
    }

    void Stop(std::vector<std::thread>& threads) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads) {
            thread.join();
        }
    }

    size_t workers_, window_;
    std::vector<Slot> slots_;
    size_t read_ = 0, taken_ = 0, delivered_ = 0, mostInFlight_ = 0;
    bool stopping_ = false;
    std::mutex mutex_;
    std::condition_variable work_, done_;
};
