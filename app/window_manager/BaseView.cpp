#include "app/window_manager/BaseView.h"

#include "app/platform/Canvas.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"

void CBaseView::Shutdown() {
    if (CWindowManager* manager = WindowManagerFor("shutting a view down")) {
        manager->RemoveMouseRegions(name_);
        manager->UnregisterView(name_);
    }
}

CWindowManager* CBaseView::WindowManagerFor(const char* use) const {
    if (gWindowManager == nullptr) {
        ReportMissingService("window manager", (std::string(use) + " (" + name_ + ")").c_str());
    }
    return gWindowManager;
}

void CBaseView::InitBase(IMainWindow* window, const std::string& name) {
    window_ = window;
    name_ = name;
}

void CBaseView::Register() {
    if (CWindowManager* manager = WindowManagerFor("registering a view")) {
        manager->RegisterView(this, name_);
    }
}

void CBaseView::DrawImage(ICanvas& canvas, TagHandle image, int x, int y, int alpha) {
    if (const TImage* tag = GetTagAs<TImage>(image)) {
        canvas.DrawImage(tag->PictureFor(canvas.Scale()), x, y, alpha);
    }
}
