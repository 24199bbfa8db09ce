#include "app/window_manager/DimensionLineView.h"

#include "app/tags/DimensionLine.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

void CDimensionLineView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    visible_ = true;
    label_.Init(window, MemberName(name, ViewName::kLabelSuffix));
    Register();
}

void CDimensionLineView::Configure(TagHandle tag, double lifespan, double beginFade) {
    lifespan_ = lifespan;
    beginFade_ = beginFade;
    tag_ = tag;
    if (const TDimensionLine* line = GetTagAs<TDimensionLine>(tag)) {
        label_.Configure(line->label);
    }
}

void CDimensionLineView::Show() {
    visible_ = true;
    fading_ = false;
    age_ = 0;
}

void CDimensionLineView::Flash() {
    visible_ = true;
    fading_ = true;
    age_ = 0;
}

void CDimensionLineView::Update(double seconds) {
    if (fading_ && lifespan_ <= age_) {
        visible_ = false;
        fading_ = false;
    }
    age_ = fading_ ? age_ + seconds : 0;
}

int CDimensionLineView::Alpha() const {
    if (!visible_ || (fading_ && age_ >= lifespan_)) {
        return 0;
    }
    if (fading_ && age_ >= beginFade_) {
        // A fade span of 0 or less never reaches here with age below the lifespan.
        return static_cast<int>(255 - (age_ - beginFade_) / (lifespan_ - beginFade_) * 255);
    }
    return 255;
}

void CDimensionLineView::Draw(ICanvas& canvas) const {
    DrawWithAlpha(canvas, Alpha(), {0, canvas.Width()});
}

void CDimensionLineView::DrawAtFullStrength(ICanvas& canvas,
                                            CLabelView::Columns labelWithin) const {
    DrawWithAlpha(canvas, 255, labelWithin);
}

void CDimensionLineView::DrawWithAlpha(ICanvas& canvas, int alpha,
                                       CLabelView::Columns labelWithin) const {
    const TDimensionLine* line = GetTagAs<TDimensionLine>(tag_);
    if (!line || alpha <= 0) {
        return;
    }
    DrawImage(canvas, line->image, line->absX, line->absY, alpha);
    label_.DrawWithAlpha(canvas, alpha, labelWithin);
}

void CDimensionLineView::Shutdown() {
    label_.Shutdown();
    CBaseView::Shutdown();
}

void CDimensionLineView::DescribeState(ViewState& state) const {
    state.emplace_back("visible", BoolText(visible_));
    state.emplace_back("fading", BoolText(fading_));
    state.emplace_back("alpha", std::to_string(Alpha()));
    state.emplace_back("text", label_.DisplayText(), kIsText);
}
