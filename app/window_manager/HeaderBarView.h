#pragma once
// The title strip across the top of the window.

#include "app/window_manager/BaseView.h"

class CHeaderBarView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override { tag_ = tag; }
    // The bar's image, then the title at its own position.
    void Draw(ICanvas& canvas) const override;

    const char* Kind() const override { return "header_bar"; }
};
