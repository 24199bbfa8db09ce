#include "app/window_manager/HeaderBarView.h"

#include "app/tags/HeaderBar.h"
#include "app/tags/TagManager.h"

void CHeaderBarView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CHeaderBarView::Draw(ICanvas& canvas) const {
    if (const THeaderBar* bar = GetTagAs<THeaderBar>(tag_)) {
        DrawImage(canvas, bar->backgroundImage, bar->absX, bar->absY);
        DrawImage(canvas, bar->titleImage, bar->titleAbsX, bar->titleAbsY);
    }
}
