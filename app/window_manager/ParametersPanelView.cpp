#include "app/window_manager/ParametersPanelView.h"

#include "app/platform/NativeControl.h"
#include "app/tags/ParametersPanel.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

#include <algorithm>

void CParametersPanelView::Init(IMainWindow* window, const std::string& name) {
    separatorPreset_.Init(window, ViewName::kSeparatorPreset, 201);
    casingSize_.Init(window, ViewName::kCasingSize, 202);
    recommended_.Init(window, ViewName::kRecommendedDipTubeLength);
    gasReach_.Init(window, ViewName::kGasReach);
    gasLimit_.Init(window, ViewName::kGasLimit);
    verdict_.Init(window, ViewName::kVerdict);
    CFieldPanelView::Init(window, name); // registered after its members
}

void CParametersPanelView::Configure(TagHandle tag) {
    CFieldPanelView::Configure(tag);
    const TParametersPanel* panel = GetTagAs<TParametersPanel>(tag);
    if (!panel) {
        return;
    }
    separatorPreset_.Configure(panel->separatorPresets);
    casingSize_.Configure(panel->casingSize);
    recommended_.Configure(panel->recommendedDipTubeLength);
    gasReach_.Configure(panel->gasReach);
    gasLimit_.Configure(panel->gasLimit);
    verdict_.Configure(panel->verdict);
}

std::vector<TabStop> CParametersPanelView::TabStops() const {
    std::vector<TabStop> stops;
    AddStop(stops, separatorPreset_.GetTagHandle(), separatorPreset_.Control());
    AddStop(stops, casingSize_.GetTagHandle(), casingSize_.Control());
    for (const TabStop& stop : CFieldPanelView::TabStops()) {
        stops.push_back(stop);
    }
    std::stable_sort(stops.begin(), stops.end(), [](const TabStop& a, const TabStop& b) {
        return a.y < b.y || (a.y == b.y && a.x < b.x);
    });
    return stops;
}

void CParametersPanelView::DrawOver(ICanvas& canvas) const {
    recommended_.Draw(canvas);
    gasReach_.Draw(canvas);
    gasLimit_.Draw(canvas);
    verdict_.Draw(canvas);
}

void CParametersPanelView::InvalidateControls() {
    separatorPreset_.Invalidate();
    casingSize_.Invalidate();
}

void CParametersPanelView::SetControlsVisible(bool visible) {
    visible ? separatorPreset_.Show() : separatorPreset_.Hide();
    visible ? casingSize_.Show() : casingSize_.Hide();
}

void CParametersPanelView::Shutdown() {
    separatorPreset_.Shutdown();
    casingSize_.Shutdown();
    recommended_.Shutdown();
    gasReach_.Shutdown();
    gasLimit_.Shutdown();
    verdict_.Shutdown();
    CFieldPanelView::Shutdown();
}
