#include "app/window_manager/WarningView.h"

#include "app/tags/TagManager.h"
#include "app/tags/Warning.h"

void CWarningView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CWarningView::Configure(TagHandle tag) {
    tag_ = tag;
    if (const TWarning* warning = GetTagAs<TWarning>(tag)) {
        lifespan_ = warning->lifespan;
    }
    age_ = 0;
}

void CWarningView::Show() {
    visible_ = true;
    age_ = 0;
}

void CWarningView::Update(double seconds) {
    age_ += seconds; // also while hidden
    if (lifespan_ > 0 && age_ > lifespan_) {
        visible_ = false;
    }
}

void CWarningView::Draw(ICanvas& canvas) const {
    const TWarning* warning = GetTagAs<TWarning>(tag_);
    if (visible_ && warning) {
        DrawImage(canvas, warning->backgroundImage, warning->absX, warning->absY);
    }
}

void CWarningView::DescribeState(ViewState& state) const {
    state.emplace_back("visible", BoolText(visible_));
}
