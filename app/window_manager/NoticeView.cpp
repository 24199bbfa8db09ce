#include "app/window_manager/NoticeView.h"

#include "app/tags/Label.h"
#include "app/tags/TagManager.h"

#include <sstream>

std::vector<std::string> WrapText(ICanvas& canvas, const TextStyle& style, const std::string& text,
                                  int width) {
    if (width <= 0) {
        return {text};
    }
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && canvas.MeasureText(style, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

void DrawNoticeText(ICanvas& canvas, const TNotice& notice, int x, int y, const std::string& text,
                    int alpha, bool alert) {
    TextStyle style = CLabelView::StyleOf(notice, notice.fillAlpha * alpha / 255,
                                          notice.strokeAlpha * alpha / 255, alert);
    if (notice.shrinkToFit && notice.wrapWidth > 0) {
        constexpr int kSmallestFont = 9;
        while (style.fontSize > kSmallestFont &&
               canvas.MeasureText(style, text) > notice.wrapWidth) {
            --style.fontSize;
        }
        canvas.DrawOutlinedText(style, x, y, text);
        return;
    }
    for (const std::string& line : WrapText(canvas, style, text, notice.wrapWidth)) {
        canvas.DrawOutlinedText(style, x, y, line);
        y += notice.lineHeight;
    }
}

void CNoticeView::Configure(TagHandle tag) {
    const std::string shown = Text();
    CLabelView::Configure(tag);
    if (visible_) {
        SetText(shown);
    }
}

void CNoticeView::Show(const std::string& text) {
    SetText(text);
    visible_ = true;
}

void CNoticeView::Draw(ICanvas& canvas) const {
    if (!visible_) {
        return;
    }
    const TNotice* notice = GetTagAs<TNotice>(tag_);
    if (!notice) {
        CLabelView::Draw(canvas);
        return;
    }
    DrawNoticeText(canvas, *notice, notice->absX, notice->absY, DisplayText(), 255, IsAlert());
}

void CNoticeView::DescribeState(ViewState& state) const {
    state.emplace_back("visible", BoolText(visible_));
    CLabelView::DescribeState(state);
}
