#include "app/window_manager/TextEditView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"

std::uint32_t PackColour(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}

ImageRef TagImageRef(TagHandle handle) {
    const TImage* image = GetTagAs<TImage>(handle);
    if (!image || image->bitmap.empty()) {
        return {};
    }
    return {image->bitmap.data(), image->width, image->height, image->width * 4};
}

CTextEditView::CTextEditView() = default;

CTextEditView::~CTextEditView() = default;

void CTextEditView::Init(IMainWindow* window, const std::string& name, int identifier) {
    InitBase(window, name);
    identifier_ = identifier;
    if (window && !control_) {
        control_ = window->CreateTextEdit(name);
        control_->SetVisible(false);
        control_->SetCallbacks({[this] { OnChanged(); },
                                [this] { OnFocus(EventName::kFocusSuffix); },
                                [this] { OnFocus(EventName::kLoseFocusSuffix); }});
    }
    Register();
}

void CTextEditView::Configure(TagHandle tag) {
    tag_ = tag;
    const TTextEdit* edit = GetTagAs<TTextEdit>(tag);
    if (!edit || !control_) {
        return;
    }
    // Read first, so that putting the default text in a read-only box raises nothing.
    readOnly_ = edit->readOnly;
    if (!textSet_) {
        textSet_ = true;
        control_->SetText(edit->defaultText);
    }
    ApplyStyle(*edit);
    ApplyTextColour();
    control_->SetBackgroundImage(TagImageRef(edit->backgroundImage));
    control_->SetReadOnly(readOnly_);
    control_->SetVisible(true);
}

void CTextEditView::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (control_) {
        control_->SetReadOnly(readOnly);
    }
}

void CTextEditView::ApplyStyle(const TTextEdit& edit) {
    if (edit.screenFont) {
        fontName_ = edit.screenFont->FaceName();
        fontSize_ = edit.screenFont->CellHeight();
    }
    NativeControlStyle style;
    style.x = edit.absX;
    style.y = edit.absY;
    style.width = edit.width;
    style.height = edit.height;
    style.leftMargin = edit.leftMargin;
    style.topMargin = 0; // a one-line box centres its line; the top margin has no effect
    style.fontName = fontName_;
    style.fontSize = fontSize_;
    control_->SetStyle(style);
}

void CTextEditView::Focus() {
    if (control_) {
        control_->SetFocus();
    }
}

bool CTextEditView::HasFocus() const {
    return control_ && control_->HasFocus();
}

void CTextEditView::SetTooltip(const std::string& text) {
    CBaseView::SetTooltip(text);
    if (control_) {
        control_->SetToolTip(text);
    }
}

void CTextEditView::SetText(const std::string& text) {
    if (control_) {
        control_->SetText(text);
    }
}

std::string CTextEditView::GetText() const {
    return control_ ? control_->GetText() : std::string();
}

void CTextEditView::SetValid(bool valid) {
    if (valid == valid_) {
        return;
    }
    valid_ = valid;
    ApplyTextColour();
    Invalidate();
}

void CTextEditView::Show() {
    if (control_) {
        control_->SetVisible(true);
    }
}

void CTextEditView::Hide() {
    if (control_) {
        control_->SetVisible(false);
    }
}

bool CTextEditView::IsVisible() const {
    return control_ && control_->IsVisible();
}

void CTextEditView::Invalidate() {
    if (control_) {
        control_->Invalidate();
    }
}

void CTextEditView::Shutdown() {
    control_.reset();
    CBaseView::Shutdown();
}

void CTextEditView::DescribeState(ViewState& state) const {
    state.emplace_back("text", GetText(), kIsText);
    state.emplace_back("valid", BoolText(valid_));
    state.emplace_back("visible", BoolText(IsVisible()));
    state.emplace_back("read_only", BoolText(readOnly_));
    state.emplace_back("focused", BoolText(HasFocus()));
}

void CTextEditView::OnChanged() const {
    const TTextEdit* edit = GetTagAs<TTextEdit>(tag_);
    if (edit && !readOnly_) {
        RaiseEvent(edit->textChangedEvent);
    }
}

void CTextEditView::OnFocus(const char* suffix) const {
    if (!readOnly_) {
        RaiseEvent(name_ + suffix);
    }
}

void CTextEditView::ApplyTextColour() {
    const TTextEdit* edit = GetTagAs<TTextEdit>(tag_);
    if (!edit || !control_) {
        return;
    }
    control_->SetTextColor(
        valid_ ? PackColour(edit->textColorR, edit->textColorG, edit->textColorB)
               : PackColour(edit->errorTextColorR, edit->errorTextColorG, edit->errorTextColorB));
}
