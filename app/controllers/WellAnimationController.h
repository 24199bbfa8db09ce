#pragma once
// Feeds the animated well from the simulation every frame, and shows, hides and flashes the
// six dimension lines as fields gain and lose focus, presets change and the user pins them.

#include <string>

class CGasSeparatorModel;
class CGasSeparatorView;

class CWellAnimationController {
public:
    static constexpr int kLineCount = 6;

    // Subscribes its events, sets the six values and flashes every line.
    void Initialise();
    bool DimensionsPinned() const { return pinned_; }

    // Event handlers, public so the subscription table reads as a list.
    void OnSimulationFrameUpdated();
    void OnWellParametersUpdated();
    void OnSeparatorPresetChanged();
    void OnShowDimensions();
    void OnHideDimensions();

private:
    void Show(int line);
    void Hide(int line);
    void Flash(int line);
    void Feed(CGasSeparatorView& view, const CGasSeparatorModel& model);

    bool pinned_ = false;
};
