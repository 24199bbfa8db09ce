#include "app/window_manager/NoticeView.h"

#include "app/tags/Label.h"
#include "app/tags/TagManager.h"

#include <algorithm>
#include <cctype>

namespace {
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    for (auto at = text.begin(); at != text.end();) {
        at = std::find_if_not(at, text.end(), blank);
        const auto end = std::find_if(at, text.end(), blank);
        if (at != end) {
            words.emplace_back(at, end);
        }
        at = end;
    }
    return words;
}

// Words already one space apart, with no other blank: the text is its own one-line form.
bool IsOneSpaced(const std::string& text) {
    char previous = ' ';
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) && (c != ' ' || previous == ' ')) {
            return false;
        }
        previous = c;
    }
    return previous != ' '; // not empty, no blank at the end
}
} // namespace

// Greedy, word by word. Most texts fit on one line (a caption, every frame): those are
// measured once, whole.
std::vector<std::string> WrapText(ICanvas& canvas, const TextStyle& style, const std::string& text,
                                  int width) {
    if (width <= 0) {
        return {text};
    }
    if (IsOneSpaced(text) &&
        (text.find(' ') == std::string::npos || canvas.MeasureText(style, text) <= width)) {
        return {text}; // every frame's captions: no words split and joined again
    }
    const std::vector<std::string> words = Words(text);
    if (words.empty()) {
        return {};
    }
    std::string joined = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        joined.append(1, ' ').append(words[i]);
    }
    if (words.size() == 1 || canvas.MeasureText(style, joined) <= width) {
        return {joined};
    }
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& word : words) {
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && canvas.MeasureText(style, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.push_back(line);
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
