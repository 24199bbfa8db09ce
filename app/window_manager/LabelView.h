#pragma once
// One line of outlined, antialiased text: a value followed by its unit.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"

class TLabel;

class CLabelView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    // Keeps the tag; text = its default text, unit = its unit.
    void Configure(TagHandle tag) override;
    // Replaces the text; the unit stays.
    void SetText(const std::string& text) { text_ = text; }
    // Draws the text in the tag's alert colour while set.
    void SetAlert(bool alert) { alert_ = alert; }
    bool IsAlert() const { return alert_; }
    // Draws with the tag's fill and stroke alphas.
    void Draw(ICanvas& canvas) const override;
    // The columns [left, right) a text is kept inside, outline included.
    struct Columns {
        int left = 0;
        int right = 0;
    };
    // Draws with both alphas set to `alpha` (0..255), inside `within`.
    void DrawWithAlpha(ICanvas& canvas, int alpha, Columns within) const;

    // Over the text as drawn.
    bool ShowsTooltipAt(int x, int y) const override;

    const char* Kind() const override { return "label"; }
    void DescribeState(ViewState& state) const override;

    const std::string& Text() const { return text_; }
    // The text as drawn: the text followed directly by the unit.
    std::string DisplayText() const { return text_ + (tagUnitShown_ ? unit_ : std::string()); }
    // Whether the tag's unit follows the text (a text that carries a unit of its own hides it).
    void ShowTagUnit(bool shown) { tagUnitShown_ = shown; }

    // "Left" and "Right" exactly; any other value centres the text.
    static TextAlign AlignmentOf(const std::string& horizontalAlignment);
    // The style of the label's tag with the given alphas (and its alert colour when `alert`).
    static TextStyle StyleOf(const TLabel& label, int fillAlpha, int strokeAlpha,
                             bool alert = false);
    // The anchor x at which the text, outline included, lies inside `within`: a long value
    // anchored near an edge is moved in. A text wider than `within` keeps its left edge.
    static int AnchorInside(ICanvas& canvas, const TextStyle& style, int x, const std::string& text,
                            Columns within);

private:
    void DrawText(ICanvas& canvas, int fillAlpha, int strokeAlpha, Columns within) const;

    std::string text_;
    std::string unit_;
    bool tagUnitShown_ = true;
    bool alert_ = false;
};
