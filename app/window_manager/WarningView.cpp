#include "app/window_manager/WarningView.h"

#include "app/tags/Image.h"
#include "app/tags/Label.h"
#include "app/tags/TagManager.h"
#include "app/tags/Warning.h"
#include "app/window_manager/NoticeView.h"

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

std::string CWarningView::Title() const {
    const TWarning* warning = GetTagAs<TWarning>(tag_);
    return title_ ? *title_ : warning ? warning->title : std::string();
}

std::string CWarningView::Text() const {
    const TWarning* warning = GetTagAs<TWarning>(tag_);
    return text_ ? *text_ : warning ? warning->text : std::string();
}

namespace {
void DrawOver(ICanvas& canvas, const TWarning& warning, int y, TagHandle style,
              const std::string& text) {
    if (const TNotice* notice = GetTagAs<TNotice>(style); notice && !text.empty()) {
        DrawNoticeText(canvas, *notice, warning.absX + notice->x, y + notice->y, text);
    }
}
} // namespace

void CWarningView::Draw(ICanvas& canvas) const {
    const TWarning* warning = GetTagAs<TWarning>(tag_);
    if (!visible_ || !warning) {
        return;
    }
    const int y = warning->absY + shift_;
    DrawImage(canvas, warning->backgroundImage, warning->absX, y);
    DrawOver(canvas, *warning, y, warning->titleStyle, Title());
    DrawOver(canvas, *warning, y, warning->textStyle, Text());
}

PixelRect CWarningView::Bounds() const {
    const TWarning* warning = GetTagAs<TWarning>(tag_);
    const TImage* picture = warning ? GetTagAs<TImage>(warning->backgroundImage) : nullptr;
    if (!picture) {
        return {};
    }
    return {warning->absX, warning->absY + shift_, picture->width, picture->height};
}

void CWarningView::DescribeState(ViewState& state) const {
    state.emplace_back("visible", BoolText(visible_));
    state.emplace_back("title", Title(), kIsText);
    state.emplace_back("text", Text(), kIsText);
    state.emplace_back("shift", std::to_string(shift_));
}
