#include "app/window_manager/DialogView.h"

#include "app/tags/Tag.h"
#include "app/tags/TagManager.h"

void CDialogView::InitDialog(IMainWindow* window, const std::string& name,
                             const std::vector<ButtonMember>& buttons) {
    InitBase(window, name);
    open_ = false;
    covered_ = false;
    if (buttons_.empty()) {
        for (size_t i = 0; i < buttons.size(); ++i) {
            buttons_.emplace_back();
        }
    }
    for (size_t i = 0; i < buttons_.size() && i < buttons.size(); ++i) {
        buttons_[i].Init(window, buttons[i].name);
        buttons_[i].SetTooltip(buttons[i].tooltip);
    }
    Register();
}

void CDialogView::ConfigureDialog(TagHandle tag, const std::vector<TagHandle>& buttonTags) {
    tag_ = tag;
    for (size_t i = 0; i < buttons_.size() && i < buttonTags.size(); ++i) {
        buttons_[i].Configure(buttonTags[i]);
    }
    if (!open_ || covered_) {
        for (CButtonView& button : buttons_) {
            button.Deactivate();
        }
    }
}

namespace {
unsigned long gOpenCount = 0;
} // namespace

void CDialogView::Open() {
    if (!open_) {
        openOrder_ = ++gOpenCount;
    }
    open_ = true;
    covered_ = false;
    for (CButtonView& button : buttons_) {
        button.Activate();
    }
}

void CDialogView::Close() {
    open_ = false;
    covered_ = false;
    for (CButtonView& button : buttons_) {
        button.Deactivate();
    }
}

void CDialogView::SetCovered(bool covered) {
    if (!open_ || covered == covered_) {
        return;
    }
    covered_ = covered;
    for (CButtonView& button : buttons_) {
        if (covered) {
            button.Deactivate();
        } else {
            button.Activate();
        }
    }
}

void CDialogView::Draw(ICanvas& canvas) const {
    const auto* dialog = dynamic_cast<const TPlaceable*>(GetTag(tag_));
    if (!open_ || !dialog) {
        return;
    }
    DrawImage(canvas, BackgroundImage(), dialog->absX, dialog->absY);
    for (const CButtonView& button : buttons_) {
        button.Draw(canvas);
    }
}

void CDialogView::Shutdown() {
    for (CButtonView& button : buttons_) {
        button.Shutdown();
    }
    CBaseView::Shutdown();
}

void CDialogView::DescribeState(ViewState& state) const {
    state.emplace_back("open", BoolText(open_));
    state.emplace_back("covered", BoolText(covered_));
}
