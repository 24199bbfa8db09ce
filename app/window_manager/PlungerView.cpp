#include "app/window_manager/PlungerView.h"

#include "app/model/NumberFormat.h"
#include "app/tags/Plunger.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

#include <algorithm>
#include <cmath>

void CPlungerView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    valve_.Init(window, MemberName(name, ViewName::kValveSuffix));
    Register();
}

void CPlungerView::Configure(TagHandle tag) {
    tag_ = tag;
    const TPlunger* plunger = GetTagAs<TPlunger>(tag);
    if (!plunger) {
        return;
    }
    valve_.Configure(plunger->valve);
    upperY_ = plunger->absUpperY;
    lowerY_ = plunger->absLowerY;
    SetPosition(position_);
}

void CPlungerView::SetPosition(double position) {
    position_ = std::clamp(position, 0.0, 1.0);
    currentY_ = lowerY_ - static_cast<int>(std::floor(position_ * (lowerY_ - upperY_)));
}

void CPlungerView::Shutdown() {
    valve_.Shutdown();
    CBaseView::Shutdown();
}

void CPlungerView::DrawValveLayer(ICanvas& canvas) const {
    const TPlunger* plunger = GetTagAs<TPlunger>(tag_);
    if (!plunger || plunger->width <= 0 || plunger->height <= 0) {
        return;
    }
    if (layer_.Width() != plunger->width || layer_.Height() != plunger->height) {
        layer_.Reset(plunger->width, plunger->height);
    } else {
        layer_.ClearDrawn();
    }
    valve_.Draw(layer_);
    layer_.BlendDrawnRows(canvas, 0, plunger->height, plunger->absX, currentY_);
}

void CPlungerView::DrawBody(ICanvas& canvas) const {
    if (const TPlunger* plunger = GetTagAs<TPlunger>(tag_)) {
        DrawImage(canvas, plunger->backgroundImage, plunger->absX, currentY_);
    }
}

void CPlungerView::DescribeState(ViewState& state) const {
    state.emplace_back("position", FormatNumber(position_));
    state.emplace_back("y", std::to_string(currentY_));
}
