#pragma once
// A measuring arrow with its value label: shown, hidden, or flashed (shown for a while and
// then faded out).

#include "app/window_manager/LabelView.h"

class CDimensionLineView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // `lifespan` and `beginFade` in seconds come from the gas separator tag.
    void Configure(TagHandle tag, double lifespan, double beginFade);
    // The value in the tag's unit (4.09"), or, with `unit`, in that one ("103.9 mm").
    void SetValue(const std::string& text, const std::string& unit = {}) {
        label_.SetText(unit.empty() ? text : text + " " + unit);
        label_.ShowTagUnit(unit.empty());
    }
    // Visible until hidden.
    void Show();
    void Hide() { visible_ = false; }
    // Visible, fading out once its lifespan has passed.
    void Flash();
    void Update(double seconds) override;
    void Draw(ICanvas& canvas) const override;
    // Draws the line and its label fully opaque, whether shown or not, the label inside
    // `labelWithin` (for the report's picture of the well).
    void DrawAtFullStrength(ICanvas& canvas, CLabelView::Columns labelWithin) const;
    void Shutdown() override;

    const char* Kind() const override { return "dimension_line"; }
    void DescribeState(ViewState& state) const override;

    bool IsVisible() const { return visible_; }
    bool IsFading() const { return fading_; }
    double Age() const { return age_; }
    // The constant alpha the line draws with now; 0 when it draws nothing.
    int Alpha() const;
    const CLabelView& Label() const { return label_; }

private:
    void DrawWithAlpha(ICanvas& canvas, int alpha, CLabelView::Columns labelWithin) const;

    CLabelView label_;
    bool visible_ = true;
    bool fading_ = false;
    double age_ = 0;
    double lifespan_ = 3.0;
    double beginFade_ = 1.0;
};
