#pragma once
// Drives the whole well animation: feeds the well picture from the simulation every frame, and
// shows, hides and flashes the dimension lines as fields gain and lose focus, presets change and
// the user pins them. Each line belongs to the input of the parameter table that names it.

#include <vector>

class CDimensionLineView;
class CGasSeparatorModel;
class CGasSeparatorView;
struct ParameterEntry;

class CWellAnimationController {
public:
    CWellAnimationController(const CGasSeparatorModel& model, CGasSeparatorView& well);

    // Subscribes its events, sets the lines' values and flashes every line.
    void Initialise();
    bool DimensionsPinned() const { return pinned_; }

    // Event handlers, public so the subscription table reads as a list.
    void OnSimulationFrameUpdated();
    void OnWellParametersUpdated();
    void OnSeparatorPresetChanged();
    void OnShowDimensions();
    void OnHideDimensions();

private:
    // A dimension line and the input it shows.
    struct Line {
        const ParameterEntry* parameter;
        CDimensionLineView* view;
    };
    void Show(const Line& line);
    void Hide(const Line& line);
    void Flash(const Line& line);
    void Feed();

    const CGasSeparatorModel& model_;
    CGasSeparatorView& well_;
    std::vector<Line> lines_;
    bool pinned_ = false;
};
