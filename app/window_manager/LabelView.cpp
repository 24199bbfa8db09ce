#include "app/window_manager/LabelView.h"

#include "app/tags/Label.h"
#include "app/tags/TagManager.h"

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

TextStyle CLabelView::StyleOf(const TLabel& label, int fillAlpha, int strokeAlpha) {
    TextStyle style;
    // The screen font made at placement; without one the canvas's default font is used.
    if (label.screenFont) {
        style.fontName = label.screenFont->FaceName();
        style.fontSize = label.screenFont->CellHeight();
    }
    style.fillColor = label.fillColor;
    style.fillAlpha = fillAlpha;
    style.strokeColor = label.strokeColor;
    style.strokeAlpha = strokeAlpha;
    style.strokeWidth = label.strokeWidth;
    style.align = AlignmentOf(label.horizontalAlignment);
    return style;
}

void CLabelView::DrawText(ICanvas& canvas, int fillAlpha, int strokeAlpha) const {
    if (const TLabel* label = GetTagAs<TLabel>(tag_)) {
        canvas.DrawOutlinedText(StyleOf(*label, fillAlpha, strokeAlpha), label->absX, label->absY,
                                DisplayText());
    }
}

void CLabelView::Draw(ICanvas& canvas) const {
    if (const TLabel* label = GetTagAs<TLabel>(tag_)) {
        DrawText(canvas, label->fillAlpha, label->strokeAlpha);
    }
}

void CLabelView::DrawWithAlpha(ICanvas& canvas, int alpha) const {
    DrawText(canvas, alpha, alpha);
}

void CLabelView::DescribeState(ViewState& state) const {
    state.emplace_back("text", DisplayText());
}
