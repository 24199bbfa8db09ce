#pragma once
// Feeds the animated well from the simulation every frame, and shows, hides and flashes the
// six dimension lines as fields gain and lose focus, presets change and the user pins them.

#include <string>

class CGasSeparatorView;

class CDimensionLineController {
public:
    // The six lines' view names, in the order their values are set.
    static constexpr int kLineCount = 6;
    static const char* const kLineNames[kLineCount];

    // Subscribes its events, sets the six values and flashes every line.
    void Initialise();
    bool DimensionsPinned() const { return pinned_; }

    // Event handlers, public so the subscription table reads as a list.
    void OnSimulationFrameUpdated();
    void OnWellParametersUpdated();
    void OnSeparatorPresetChanged();
    void OnShowDimensions();
    void OnHideDimensions();
    void OnCasingSizeFocus() { Show(0); }
    void OnCasingSizeLoseFocus() { Hide(0); }
    void OnSeparatorOdFocus() { Show(1); }
    void OnSeparatorOdLoseFocus() { Hide(1); }
    void OnSeparatorIdFocus() { Show(2); }
    void OnSeparatorIdLoseFocus() { Hide(2); }
    void OnDipTubeOdFocus() { Show(3); }
    void OnDipTubeOdLoseFocus() { Hide(3); }
    void OnDipTubeIdFocus() { Show(4); }
    void OnDipTubeIdLoseFocus() { Hide(4); }
    void OnDipTubeLengthFocus() { Show(5); }
    void OnDipTubeLengthLoseFocus() { Hide(5); }

private:
    void Show(int line);
    void Hide(int line);
    void Flash(int line);
    void Feed(CGasSeparatorView& view);

    bool pinned_ = false;
};
