#pragma once
// Keeps the panel's read-outs beside the results up to date: the gas reach every frame (it
// changes once per pump cycle) and the above-capacity notice at every parameter change, so it
// shows the moment the production rate passes the maximum capacity.

#include <optional>
#include <string>

class CReadoutController {
public:
    // Shows both for the model as it is, then subscribes.
    void Initialise();
    void ShowGasReach();
    void UpdateNotice();

    // The above-capacity notice while it is shown.
    const std::optional<std::string>& AboveCapacity() const { return aboveCapacity_; }

private:
    std::optional<std::string> aboveCapacity_;
};
