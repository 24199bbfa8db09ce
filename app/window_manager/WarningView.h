#pragma once
// A warning picture that can be shown and hidden and, with a positive lifespan, hides
// itself once it has been shown for longer than that.

#include "app/window_manager/BaseView.h"

class CWarningView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // Keeps the tag; lifespan from the tag; age 0.
    void Configure(TagHandle tag) override;
    // Showing a visible warning restarts its lifespan.
    void Show();
    void Hide() { visible_ = false; }
    void Update(double seconds) override;
    void Draw(ICanvas& canvas) const override;

    const char* Kind() const override { return "warning"; }
    void DescribeState(ViewState& state) const override;

    bool IsVisible() const { return visible_; }
    double Age() const { return age_; }

private:
    bool visible_ = false;
    double lifespan_ = 0;
    double age_ = 0;
};
