#pragma once
// Keeps the panel's read-outs beside the results up to date: the design's verdict, the gas limit
// and the above-capacity notice at every parameter change (the verdict is judged once per change,
// from the model's long-run outlook), the gas reach whenever a frame changes it (once per pump
// cycle), and the notice again once gas has reached the dip tube inlet in the simulation.

#include "app/model/Verdict.h"

#include <optional>
#include <string>

class CGasSeparatorModel;
class CNoticeView;
class CParametersPanelView;

class CReadoutController {
public:
    CReadoutController(const CGasSeparatorModel& model, CParametersPanelView& panel,
                       CNoticeView& notice)
        : model_(model), panel_(panel), notice_(notice) {}

    // Shows everything for the model as it is, then subscribes.
    void Initialise();
    void ShowGasReach();
    void ShowGasReachAfterReload();
    // Judges the design anew and shows the verdict, the gas limit and the notice.
    void JudgeDesign();

    // The design's verdict, as last judged.
    const DesignVerdict& Verdict() const { return verdict_; }
    // The above-capacity notice while it is shown.
    const std::optional<std::string>& AboveCapacity() const { return aboveCapacity_; }

private:
    void OnFrame();
    void ShowVerdict();
    void UpdateNotice();

    // What the gas reach read-out shows, to skip frames that would not change it.
    struct ShownReach {
        bool known = false;
        double depth = 0;
        double length = 0;
        bool apply = false;
        bool operator==(const ShownReach&) const = default;
    };
    const CGasSeparatorModel& model_;
    CParametersPanelView& panel_;
    CNoticeView& notice_;
    std::optional<ShownReach> shown_;
    DesignVerdict verdict_;
    // Whether the simulation has had gas at the dip tube inlet since the design last changed.
    bool gasArrived_ = false;
    std::optional<std::string> aboveCapacity_;
};
