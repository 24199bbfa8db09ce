#pragma once
// The gas reach read-out in the parameters panel: its text in the label's style and a bar
// filled with the share of the dip tube the gas reached, in the inlet colour once it is all.

#include "app/platform/ImageDecoder.h"
#include "app/window_manager/BaseView.h"

#include <cstdint>

class CGasReachView : public CBaseView {
public:
    // `fraction` 0 to 1 fills the bar; the text replaces the label's.
    void SetReach(const std::string& text, double fraction);
    void Draw(ICanvas& canvas) const override;
    // Anywhere from the text's left to the bar's right, from the tag's top to the lower of the
    // text's baseline and the bar's bottom.
    bool ShowsTooltipAt(int x, int y) const override;

    const char* Kind() const override { return "gas_reach"; }
    void DescribeState(ViewState& state) const override;

    const std::string& Text() const { return text_; }
    double Fraction() const { return fraction_; }

private:
    void DrawBar(ICanvas& canvas) const;

    std::string text_;
    double fraction_ = 0;
};

// Fills a rectangle with one opaque colour (0xFFRRGGBB) by scaling a single pixel.
void FillRectangle(ICanvas& canvas, int x, int y, int width, int height, std::uint32_t color);
