#include "app/window_manager/GasReachView.h"

#include "app/model/NumberFormat.h"
#include "app/platform/Canvas.h"
#include "app/tags/GasReach.h"
#include "app/tags/Label.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/LabelView.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {
// A canvas may draw a frame's pictures after the call that asked for them has returned, so
// each colour's pixel lives as long as the program (the bar uses a handful of colours), with
// an identity so that an unchanged bar is not drawn again.
const PixelBuffer& SolidPixel(std::uint32_t color) {
    static std::unordered_map<std::uint32_t, PixelBuffer> pixels;
    auto [entry, added] = pixels.try_emplace(color);
    if (added) {
        entry->second.width = 1;
        entry->second.height = 1;
        entry->second.pixels = {color};
        entry->second.identity = NewImageIdentity();
    }
    return entry->second;
}
} // namespace

void FillRectangle(ICanvas& canvas, int x, int y, int width, int height, std::uint32_t color) {
    canvas.DrawImageScaled(RefOf(SolidPixel(color | 0xFF000000u)), x, y, width, height, 255);
}

void CGasReachView::SetReach(const std::string& text, double fraction) {
    text_ = text;
    fraction_ = std::clamp(fraction, 0.0, 1.0);
}

void CGasReachView::DrawBar(ICanvas& canvas) const {
    const TGasReach* reach = GetTagAs<TGasReach>(tag_);
    if (!reach || reach->barWidth <= 2 || reach->barHeight <= 2) {
        return;
    }
    const int x = reach->absX + reach->barX;
    const int y = reach->absY + reach->barY;
    FillRectangle(canvas, x, y, reach->barWidth, reach->barHeight, reach->borderColor);
    const int inner = reach->barWidth - 2;
    FillRectangle(canvas, x + 1, y + 1, inner, reach->barHeight - 2, reach->barColor);
    const int filled = static_cast<int>(std::lround(fraction_ * inner));
    if (filled > 0) {
        const std::uint32_t color = fraction_ >= 1 ? reach->inletColor : reach->fillColor;
        FillRectangle(canvas, x + 1, y + 1, filled, reach->barHeight - 2, color);
    }
}

void CGasReachView::Draw(ICanvas& canvas) const {
    const TGasReach* reach = GetTagAs<TGasReach>(tag_);
    if (!reach) {
        return;
    }
    if (const TLabel* label = GetTagAs<TLabel>(reach->label)) {
        canvas.DrawOutlinedText(CLabelView::StyleOf(*label, label->fillAlpha, label->strokeAlpha),
                                label->absX, label->absY, text_);
    }
    DrawBar(canvas);
}

bool CGasReachView::ShowsTooltipAt(int x, int y) const {
    const TGasReach* reach = GetTagAs<TGasReach>(tag_);
    const TLabel* label = reach ? GetTagAs<TLabel>(reach->label) : nullptr;
    if (!label || Tooltip().empty()) {
        return false;
    }
    const int bottom = std::max(label->absY, reach->absY + reach->barY + reach->barHeight);
    return x >= reach->absX && x < reach->absX + reach->barX + reach->barWidth &&
           y >= reach->absY && y < bottom;
}

void CGasReachView::DescribeState(ViewState& state) const {
    state.emplace_back("text", text_, kIsText);
    state.emplace_back("fraction", FormatNumber(fraction_));
}
