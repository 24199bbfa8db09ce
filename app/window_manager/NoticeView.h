#pragma once
// A label that is shown only while what it tells holds, e.g. the above-capacity notice. With
// a notice tag its text wraps at blanks into lines no wider than the tag's wrap width.

#include "app/window_manager/LabelView.h"

#include <string>
#include <vector>

class CNoticeView : public CLabelView {
public:
    // Keeps the text shown across a tag refresh.
    void Configure(TagHandle tag) override;
    void Show(const std::string& text);
    void Hide() { visible_ = false; }
    void Draw(ICanvas& canvas) const override;

    const char* Kind() const override { return "notice"; }
    void DescribeState(ViewState& state) const override;

    bool IsVisible() const { return visible_; }

private:
    bool visible_ = false;
};

class TNotice;

// Draws `text` in a notice tag's style with its first line's anchor at (x, y): wrapped at the
// tag's wrap width, or in a font shrunk until it fits on one line when the tag says so. Both
// alphas are scaled by `alpha` (0..255); `alert` fills with the tag's alert colour.
void DrawNoticeText(ICanvas& canvas, const TNotice& notice, int x, int y, const std::string& text,
                    int alpha = 255, bool alert = false);

// `text` in lines no wider than `width` pixels in `style`, broken at blanks; a word wider than
// that stays whole on its own line. A width of 0 or less gives one line.
std::vector<std::string> WrapText(ICanvas& canvas, const TextStyle& style, const std::string& text,
                                  int width);
