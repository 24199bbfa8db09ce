#include "app/window_manager/ButtonView.h"

#include "app/services/EventRegistry.h"
#include "app/tags/Button.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

void CButtonView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    hover_ = false;
    pressed_ = false;
    Register();
}

void CButtonView::Configure(TagHandle tag) {
    if (active_) {
        Deactivate();
    }
    tag_ = tag;
    Activate();
}

void CButtonView::Activate() {
    const TButton* button = GetTagAs<TButton>(tag_);
    if (active_ || !button) {
        return;
    }
    if (CWindowManager* manager = WindowManagerFor("activating a button")) {
        manager->AddMouseRegion(name_, button->mouseRegion);
    }
    active_ = true;
}

void CButtonView::Deactivate() {
    if (!active_) {
        return;
    }
    if (CWindowManager* manager = WindowManagerFor("deactivating a button")) {
        manager->RemoveMouseRegions(name_);
    }
    hover_ = false;
    pressed_ = false;
    active_ = false;
}

TagHandle CButtonView::CurrentImage() const {
    const TButton* button = GetTagAs<TButton>(tag_);
    if (!button) {
        return 0;
    }
    if (!hover_) {
        return button->baseImage; // pressed without hover looks like the base
    }
    return pressed_ ? button->pressedImage : button->hoverImage;
}

void CButtonView::Draw(ICanvas& canvas) const {
    if (const TButton* button = GetTagAs<TButton>(tag_)) {
        DrawImage(canvas, CurrentImage(), button->absX, button->absY);
    }
}

const char* CButtonView::TagPath() const {
    const Tag* tag = GetTag(tag_);
    return tag ? tag->path.c_str() : "";
}

void CButtonView::OnMouseEnter(TagHandle) {
    hover_ = true;
    LOG_DEBUG("CButtonView", "Button [%s]: OnMouseEnter", TagPath());
}

void CButtonView::OnMouseLeave(TagHandle) {
    hover_ = false;
    LOG_DEBUG("CButtonView", "Button [%s]: OnMouseLeave", TagPath());
}

void CButtonView::OnMouseButtonDown(TagHandle) {
    pressed_ = true;
    LOG_DEBUG("CButtonView", "Button [%s]: OnMouseButtonDown", TagPath());
}

void CButtonView::OnMouseButtonUp(TagHandle) {
    pressed_ = false;
    LOG_DEBUG("CButtonView", "Button [%s]: OnMouseButtonUp", TagPath());
}

void CButtonView::OnMouseClick(TagHandle region) {
    if (const TMouseRegion* tag = GetTagAs<TMouseRegion>(region)) {
        const std::string event = tag->clickEvent; // a copy: handlers may refresh the tags
        RaiseEvent(event);
    }
    LOG_DEBUG("CButtonView", "Button [%s]: OnMouseClick", TagPath());
}

void CButtonView::Click() {
    if (const TButton* button = GetTagAs<TButton>(tag_)) {
        OnMouseClick(button->mouseRegion);
    }
}

void CButtonView::DescribeState(ViewState& state) const {
    state.emplace_back("active", BoolText(active_));
    state.emplace_back("hover", BoolText(hover_));
    state.emplace_back("pressed", BoolText(pressed_));
}
