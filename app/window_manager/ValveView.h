#pragma once
// A ball valve: the ball rises from its seat when the valve opens and falls back when it
// closes, over the valve's transition time.

#include "app/window_manager/BaseView.h"

class CValveView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // Travel and timing from the tag; the timer restarts, the open state is kept.
    void Configure(TagHandle tag) override;
    void Open();
    void Close();
    void Update(double seconds) override;
    void Draw(ICanvas& canvas) const override;

    const char* Kind() const override { return "valve"; }
    void DescribeState(ViewState& state) const override;

    bool IsOpen() const { return open_; }
    bool IsSeated() const { return currentY_ == lowerY_; }
    int CurrentY() const { return currentY_; }
    int LowerY() const { return lowerY_; }
    int UpperY() const { return upperY_; }
    int SeatedBottom() const { return seatedBottom_; }

private:
    void Move();

    bool open_ = false;
    double timer_ = 0;
    double transitionTime_ = 0;
    int lowerY_ = 0;
    int upperY_ = 0;
    int currentY_ = 0;
    int seatedBottom_ = 0;
};
