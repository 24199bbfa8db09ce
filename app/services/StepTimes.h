#pragma once
// The durations of the steps of a longer piece of work, in order: the start-up's, which the
// benchmark prints, so that the time to the first frame can be split without a profiler.

#include <chrono>
#include <string>
#include <utility>
#include <vector>

class CStepTimes {
public:
    struct Step {
        std::string name;
        double ms = 0;
    };

    CStepTimes() : last_(Clock::now()) {}
    // Ends the step under way as `name` and starts the next.
    void Lap(std::string name) {
        const Clock::time_point now = Clock::now();
        steps_.push_back(
            {std::move(name), std::chrono::duration<double, std::milli>(now - last_).count()});
        last_ = now;
    }
    // Takes in steps timed elsewhere, which end now: the next step starts here.
    void Append(const std::vector<Step>& steps) {
        steps_.insert(steps_.end(), steps.begin(), steps.end());
        last_ = Clock::now();
    }
    const std::vector<Step>& Steps() const { return steps_; }

private:
    using Clock = std::chrono::steady_clock;
    std::vector<Step> steps_;
    Clock::time_point last_;
};
