#include "app/window_manager/ButtonBarView.h"

#include "app/tags/ButtonBar.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/WindowManager.h"

const std::array<ButtonShortcut, CButtonBarView::kButtonCount>& CButtonBarView::Shortcuts() {
    using W = CWindowManager;
    static const std::array<ButtonShortcut, kButtonCount> shortcuts = {{
        {ViewName::kPumpButtonGo, W::kCommandPumpButton, "F5", "Start the pump"},
        {ViewName::kPumpButtonStop, W::kCommandPumpButton, "F5", "Stop the pump"},
        {ViewName::kDimensionButtonShow, W::kCommandDimensionsButton, "Ctrl+M",
         "Show the dimension lines"},
        {ViewName::kDimensionButtonHide, W::kCommandDimensionsButton, "Ctrl+M",
         "Hide the dimension lines"},
        {ViewName::kSavePresetButton, W::kCommandSavePresetButton, "Ctrl+S",
         "Save the separator design as a preset"},
        {ViewName::kInfoButton, W::kCommandInfoButton, "Ctrl+I", "Open the engineer's guide"},
        {ViewName::kHelpButton, W::kCommandHelpButton, "F1", "Show the help"},
    }};
    return shortcuts;
}

void CButtonBarView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    pumpGo_.Init(window, ViewName::kPumpButtonGo);
    pumpStop_.Init(window, ViewName::kPumpButtonStop);
    dimensionShow_.Init(window, ViewName::kDimensionButtonShow);
    dimensionHide_.Init(window, ViewName::kDimensionButtonHide);
    help_.Init(window, ViewName::kHelpButton);
    info_.Init(window, ViewName::kInfoButton);
    savePreset_.Init(window, ViewName::kSavePresetButton);
    currentPump_ = &pumpGo_;
    currentDimension_ = &dimensionShow_;
    for (const ButtonShortcut& shortcut : Shortcuts()) {
        ButtonNamed(shortcut.button)
            ->SetTooltip(std::string(shortcut.action) + " (" + shortcut.keys + ")");
    }
    Register();
}

CButtonView* CButtonBarView::ButtonNamed(const std::string& name) {
    for (CButtonView* button :
         {&pumpGo_, &pumpStop_, &dimensionShow_, &dimensionHide_, &help_, &savePreset_, &info_}) {
        if (button->Name() == name) {
            return button;
        }
    }
    return &help_; // not reached: every shortcut names a button of the bar
}

int CButtonBarView::HandleCommand(int command) {
    bool handled = false;
    for (const ButtonShortcut& shortcut : Shortcuts()) {
        if (shortcut.command != command) {
            continue;
        }
        handled = true;
        CButtonView* button = ButtonNamed(shortcut.button);
        if (enabled_ && button->IsActive()) { // the shown one of a pair
            button->Click();
            break;
        }
    }
    return handled ? 1 : 0;
}

void CButtonBarView::Configure(TagHandle tag) {
    tag_ = tag;
    const TButtonBar* bar = GetTagAs<TButtonBar>(tag);
    if (!bar) {
        return;
    }
    pumpGo_.Configure(bar->pumpButtonGo);
    pumpStop_.Configure(bar->pumpButtonStop);
    dimensionShow_.Configure(bar->dimensionsButtonShow);
    dimensionHide_.Configure(bar->dimensionsButtonHide);
    help_.Configure(bar->helpButton);
    savePreset_.Configure(bar->savePresetButton);
    info_.Configure(bar->infoButton);
    // Configuring activates all seven. Left so, a reload would make the hidden button of
    // each pair clickable on top of the shown one, and a reload while a dialog is open would
    // wake the whole bar; keep the pairs and the disabled state as they were.
    (currentPump_ == &pumpGo_ ? pumpStop_ : pumpGo_).Deactivate();
    (currentDimension_ == &dimensionShow_ ? dimensionHide_ : dimensionShow_).Deactivate();
    if (!enabled_) {
        Disable();
    }
}

void CButtonBarView::SwapPair(CButtonView& hide, CButtonView& show, CButtonView*& current) {
    hide.Deactivate();
    show.Activate();
    current = &show;
}

void CButtonBarView::SetPumpRunning(bool running) {
    if (!enabled_) {
        return;
    }
    const bool changed = running != (currentPump_ == &pumpStop_); // asked every frame
    if (running) {
        SwapPair(pumpGo_, pumpStop_, currentPump_);
    } else {
        SwapPair(pumpStop_, pumpGo_, currentPump_);
    }
    if (window_ && changed) {
        window_->SetMenuItemChecked(CWindowManager::kCommandPumpButton, running);
    }
}

void CButtonBarView::SetDimensionsShown(bool shown) {
    if (!enabled_) {
        return;
    }
    if (shown) {
        SwapPair(dimensionShow_, dimensionHide_, currentDimension_);
    } else {
        SwapPair(dimensionHide_, dimensionShow_, currentDimension_);
    }
    if (window_) {
        window_->SetMenuItemChecked(CWindowManager::kCommandDimensionsButton, shown);
    }
}

std::array<CButtonView*, 5> CButtonBarView::EnabledButtons() const {
    auto* self = const_cast<CButtonBarView*>(this);
    return {currentDimension_, currentPump_, &self->help_, &self->savePreset_, &self->info_};
}

void CButtonBarView::Enable() {
    enabled_ = true;
    for (CButtonView* button : EnabledButtons()) {
        if (button) {
            button->Activate();
        }
    }
}

void CButtonBarView::Disable() {
    enabled_ = false;
    for (CButtonView* button : EnabledButtons()) {
        if (button) {
            button->Deactivate();
        }
    }
}

void CButtonBarView::Draw(ICanvas& canvas) const {
    const TButtonBar* bar = GetTagAs<TButtonBar>(tag_);
    if (!bar) {
        return;
    }
    DrawImage(canvas, bar->backgroundImage, bar->absX, bar->absY);
    const CButtonView* order[] = {currentPump_, currentDimension_, &help_, &savePreset_, &info_};
    for (const CButtonView* button : order) {
        if (button) {
            button->Draw(canvas);
        }
    }
}

void CButtonBarView::Shutdown() {
    for (CButtonView* button :
         {&pumpGo_, &pumpStop_, &dimensionShow_, &dimensionHide_, &help_, &savePreset_, &info_}) {
        button->Shutdown();
    }
    CBaseView::Shutdown();
    currentPump_ = nullptr;
    currentDimension_ = nullptr;
}

void CButtonBarView::DescribeState(ViewState& state) const {
    state.emplace_back("enabled", BoolText(enabled_));
    state.emplace_back("pump_button", currentPump_ ? currentPump_->Name() : "", kIsText);
    state.emplace_back("dimension_button", currentDimension_ ? currentDimension_->Name() : "",
                       kIsText);
}
