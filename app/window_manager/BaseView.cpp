#include "app/window_manager/BaseView.h"

#include "app/platform/Canvas.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"

void CBaseView::Shutdown() {
    if (gWindowManager) {
        gWindowManager->RemoveMouseRegions(name_);
        gWindowManager->UnregisterView(name_);
    }
}

void CBaseView::InitBase(IMainWindow* window, const std::string& name) {
    window_ = window;
    name_ = name;
}

void CBaseView::Register() {
    if (gWindowManager) {
        gWindowManager->RegisterView(this, name_);
    }
}

void CBaseView::DrawImage(ICanvas& canvas, TagHandle image, int x, int y, int alpha) {
    const TImage* tag = GetTagAs<TImage>(image);
    if (!tag || tag->bitmap.empty()) {
        return;
    }
    canvas.DrawImage({tag->bitmap.data(), tag->width, tag->height, tag->width * 4}, x, y, alpha);
}
