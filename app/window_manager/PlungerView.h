#pragma once
// The pump plunger and the traveling valve it carries. It stands where it was last put:
// position 1 is the top of the stroke, 0 the bottom.

#include "app/window_manager/BaseView.h"
#include "app/window_manager/PixelCanvas.h"
#include "app/window_manager/ValveView.h"

class CPlungerView : public CBaseView {
public:
    // The traveling valve is named after the plunger: "<name> Valve".
    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override;
    void SetPosition(double position);
    void Shutdown() override;
    // The traveling valve, clipped to the plunger's rectangle.
    void DrawValveLayer(ICanvas& canvas) const;
    void DrawBody(ICanvas& canvas) const;

    const char* Kind() const override { return "plunger"; }
    void DescribeState(ViewState& state) const override;

    CValveView& Valve() { return valve_; }
    const CValveView& Valve() const { return valve_; }
    double Position() const { return position_; }
    int CurrentY() const { return currentY_; }
    int UpperY() const { return upperY_; }
    int LowerY() const { return lowerY_; }

private:
    CValveView valve_;
    double position_ = 1.0;
    int currentY_ = 0;
    int upperY_ = 0;
    int lowerY_ = 0;
    mutable CPixelCanvas layer_; // reused for the valve layer
};
