#include "app/window_manager/ValveBaseView.h"

#include "app/tags/TagManager.h"
#include "app/tags/Valve.h"

void CValveBaseView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CValveBaseView::Draw(ICanvas& canvas) const {
    if (const TValveBase* base = GetTagAs<TValveBase>(tag_)) {
        DrawImage(canvas, base->backgroundImage, base->absX, base->absY);
    }
}
