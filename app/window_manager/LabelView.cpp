#include "app/window_manager/LabelView.h"

#include "app/platform/Window.h"
#include "app/tags/Label.h"
#include "app/tags/TagManager.h"

#include <algorithm>
#include <cmath>

void CLabelView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CLabelView::Configure(TagHandle tag) {
    tag_ = tag;
    if (const TLabel* label = GetTagAs<TLabel>(tag)) {
        text_ = label->defaultText;
        unit_ = label->unit;
    }
}

TextAlign CLabelView::AlignmentOf(const std::string& horizontalAlignment) {
    if (horizontalAlignment == "Left") {
        return TextAlign::Left;
    }
    if (horizontalAlignment == "Right") {
        return TextAlign::Right;
    }
    return TextAlign::Center;
}

TextStyle CLabelView::StyleOf(const TLabel& label, int fillAlpha, int strokeAlpha, bool alert) {
    TextStyle style;
    // The screen font made at placement; without one the canvas's default font is used.
    if (label.screenFont) {
        style.fontName = label.screenFont->FaceName();
        style.fontSize = label.screenFont->CellHeight();
    }
    style.fillColor = alert ? label.alertFillColor : label.fillColor;
    style.fillAlpha = fillAlpha;
    style.strokeColor = label.strokeColor;
    style.strokeAlpha = strokeAlpha;
    style.strokeWidth = label.strokeWidth;
    style.align = AlignmentOf(label.horizontalAlignment);
    return style;
}

int CLabelView::AnchorInside(ICanvas& canvas, const TextStyle& style, int x,
                             const std::string& text, Columns within) {
    const int width = canvas.MeasureText(style, text);
    int left = x;
    if (style.align == TextAlign::Right) {
        left = x - width;
    } else if (style.align == TextAlign::Center) {
        left = x - width / 2;
    }
    const int margin = static_cast<int>(std::ceil(style.strokeWidth / 2.0)) + 1;
    const int inside =
        std::max(std::min(left, within.right - margin - width), within.left + margin);
    return x + (inside - left);
}

void CLabelView::DrawText(ICanvas& canvas, int fillAlpha, int strokeAlpha, Columns within) const {
    if (const TLabel* label = GetTagAs<TLabel>(tag_)) {
        const TextStyle style = StyleOf(*label, fillAlpha, strokeAlpha, alert_);
        const std::string text = DisplayText();
        canvas.DrawOutlinedText(style, AnchorInside(canvas, style, label->absX, text, within),
                                label->absY, text);
    }
}

void CLabelView::Draw(ICanvas& canvas) const {
    if (const TLabel* label = GetTagAs<TLabel>(tag_)) {
        DrawText(canvas, label->fillAlpha, label->strokeAlpha, {0, canvas.Width()});
    }
}

void CLabelView::DrawWithAlpha(ICanvas& canvas, int alpha, Columns within) const {
    DrawText(canvas, alpha, alpha, within);
}

bool CLabelView::ShowsTooltipAt(int x, int y) const {
    const TLabel* label = GetTagAs<TLabel>(tag_);
    if (!label || !window_ || Tooltip().empty()) {
        return false;
    }
    const TextStyle style = StyleOf(*label, 255, 255);
    const int width = window_->BackBuffer().MeasureText(style, DisplayText());
    int left = label->absX; // the anchor is the text's left, centre or right
    if (style.align == TextAlign::Center) {
        left -= width / 2;
    } else if (style.align == TextAlign::Right) {
        left -= width;
    }
    const int height = label->screenFont ? label->screenFont->CellHeight() : 16;
    return x >= left && x < left + width && y >= label->absY && y < label->absY + height;
}

void CLabelView::DescribeState(ViewState& state) const {
    state.emplace_back("text", DisplayText(), kIsText);
    state.emplace_back("alert", BoolText(alert_));
}
