#include "app/window_manager/ValveView.h"

#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/tags/Valve.h"

#include <cmath>

void CValveView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CValveView::Configure(TagHandle tag) {
    tag_ = tag;
    timer_ = 0;
    const TValve* valve = GetTagAs<TValve>(tag);
    if (!valve) {
        return;
    }
    transitionTime_ = valve->transitionTime;
    lowerY_ = valve->absLowerY;
    upperY_ = valve->absUpperY;
    const TImage* ball = GetTagAs<TImage>(valve->backgroundImage);
    seatedBottom_ = lowerY_ + (ball ? ball->height : 0);
    Move();
}

void CValveView::Open() {
    if (!open_) {
        open_ = true;
        timer_ = 0;
    }
}

void CValveView::Close() {
    if (open_) {
        open_ = false;
        timer_ = 0;
    }
}

void CValveView::Update(double seconds) {
    timer_ += seconds;
    Move();
}

// The ball travels from one rest position to the other; a reversal mid-travel starts the
// new travel from the far end.
void CValveView::Move() {
    const int travel = lowerY_ - upperY_;
    int step = travel;
    if (transitionTime_ > 0 && timer_ <= transitionTime_) {
        step = static_cast<int>(std::floor(timer_ / transitionTime_ * travel));
    }
    currentY_ = open_ ? lowerY_ - step : upperY_ + step;
}

void CValveView::Draw(ICanvas& canvas) const {
    if (const TValve* valve = GetTagAs<TValve>(tag_)) {
        DrawImage(canvas, valve->backgroundImage, valve->absX, currentY_);
    }
}

void CValveView::DescribeState(ViewState& state) const {
    state.emplace_back("open", BoolText(open_));
    state.emplace_back("y", std::to_string(currentY_));
    state.emplace_back("seated", BoolText(IsSeated()));
}
