#pragma once
// Keeps the panel's read-outs beside the results up to date: the gas reach whenever a frame
// changes it (once per pump cycle) and the above-capacity notice at every parameter change, so it
// shows the moment the production rate passes the maximum capacity.

#include <optional>
#include <string>

class CGasReachView;
class CGasSeparatorModel;
class CNoticeView;

class CReadoutController {
public:
    CReadoutController(const CGasSeparatorModel& model, CGasReachView& reach, CNoticeView& notice)
        : model_(model), reach_(reach), notice_(notice) {}

    // Shows both for the model as it is, then subscribes.
    void Initialise();
    void ShowGasReach();
    void ShowGasReachAfterReload();
    void UpdateNotice();

    // The above-capacity notice while it is shown.
    const std::optional<std::string>& AboveCapacity() const { return aboveCapacity_; }

private:
    // What the gas reach read-out shows, to skip frames that would not change it.
    struct ShownReach {
        bool known = false;
        double depth = 0;
        double length = 0;
        bool apply = false;
        bool operator==(const ShownReach&) const = default;
    };
    const CGasSeparatorModel& model_;
    CGasReachView& reach_;
    CNoticeView& notice_;
    std::optional<ShownReach> shown_;
    std::optional<std::string> aboveCapacity_;
};
