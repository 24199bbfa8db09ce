#pragma once
// A warning card that can be shown and hidden and, with a positive lifespan, hides itself once
// it has been shown for longer than that. Its title and text come from its tag unless the
// program sets them.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"

#include <optional>
#include <string>

class CWarningView : public CBaseView {
public:
    // Keeps the tag; lifespan from the tag; age 0.
    void Configure(TagHandle tag) override;
    // Showing a visible warning restarts its lifespan.
    void Show();
    void Hide() { visible_ = false; }
    void Update(double seconds) override;
    void Draw(ICanvas& canvas) const override;

    // Where the card is drawn: its tag's place, moved down by `shift` pixels so that it does not
    // cover another card.
    void SetShift(int shift) { shift_ = shift; }
    int Shift() const { return shift_; }
    // The card's rectangle as drawn (empty without a tag or picture).
    PixelRect Bounds() const;

    // Texts the program sets in place of the tag's (kept across a tag refresh).
    void SetTitle(const std::string& title) { title_ = title; }
    void SetText(const std::string& text) { text_ = text; }
    std::string Title() const;
    std::string Text() const;

    const char* Kind() const override { return "warning"; }
    void DescribeState(ViewState& state) const override;

    bool IsVisible() const { return visible_; }
    double Age() const { return age_; }

private:
    bool visible_ = false;
    double lifespan_ = 0;
    double age_ = 0;
    int shift_ = 0;
    std::optional<std::string> title_;
    std::optional<std::string> text_;
};
