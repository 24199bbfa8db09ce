#include "app/window_manager/ComboBoxView.h"

#include "app/platform/NativeControl.h"
#include "app/platform/Window.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/tags/ComboBox.h"
#include "app/tags/ComboBoxItem.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/TextEditView.h"

TComboBoxItem* CComboBoxView::Item::Get() const {
    return added ? added : GetTagAs<TComboBoxItem>(tag);
}

CComboBoxView::CComboBoxView() = default;

CComboBoxView::~CComboBoxView() = default;

void CComboBoxView::Init(IMainWindow* window, const std::string& name, int identifier) {
    InitBase(window, name);
    identifier_ = identifier;
    Register();
}

void CComboBoxView::CreateControl() {
    // The native list is made once and rebuilt by every Configure, which behaves as a fresh
    // control would while keeping the window's Tab order intact.
    if (control_ || !window_) {
        return;
    }
    control_ = window_->CreateComboBox(name_);
    control_->SetVisible(false);
    control_->SetToolTip(Tooltip());
    control_->SetCallbacks({[this] { OnSelectionChanged(); },
                            [this] { OnFocus(EventName::kFocusSuffix); },
                            [this] { OnFocus(EventName::kLoseFocusSuffix); }});
}

void CComboBoxView::Configure(TagHandle tag) {
    tag_ = tag;
    const TComboBox* box = GetTagAs<TComboBox>(tag);
    CreateControl();
    if (!box || !control_) {
        return;
    }
    ApplyStyle(*box);
    FillRows(*box);
    control_->SetCurrentIndex(control_->ItemCount() > 0 ? 0 : -1);
    OnSelectionChanged();
    control_->SetVisible(true);
}

void CComboBoxView::ApplyStyle(const TComboBox& box) {
    control_->SetPictures(TagImageRef(box.backgroundImage),
                          TagImageRef(box.dropdownBackgroundImage),
                          TagImageRef(box.selectionBackgroundImage));
    if (box.screenFont) {
        fontName_ = box.screenFont->FaceName();
        fontSize_ = box.screenFont->CellHeight();
    }
    NativeControlStyle style;
    style.x = box.absX;
    style.y = box.absY;
    style.width = box.width;
    style.height = box.height;
    style.fontName = fontName_;
    style.fontSize = fontSize_;
    control_->SetStyle(style);
}

void CComboBoxView::FillRows(const TComboBox& box) {
    control_->SetItems({});
    items_.clear();
    defaultRowPresent_ = false;
    defaultText_ = box.defaultText;
    for (TagHandle item : box.items) {
        if (GetTagAs<TComboBoxItem>(item)) {
            AppendRow({item, nullptr});
        }
    }
}

void CComboBoxView::SetTooltip(const std::string& text) {
    CBaseView::SetTooltip(text);
    if (control_) {
        control_->SetToolTip(text);
    }
}

std::string CComboBoxView::GetSelectedText() const {
    const int row = control_ ? control_->GetCurrentIndex() : -1;
    return row >= 0 ? control_->ItemText(row) : std::string();
}

TComboBoxItem* CComboBoxView::GetSelectedItem() const {
    const int row = control_ ? control_->GetCurrentIndex() - FirstItemRow() : -1;
    return row >= 0 && row < static_cast<int>(items_.size()) ? items_[row].Get() : nullptr;
}

void CComboBoxView::SelectItem(const TComboBoxItem* item) {
    for (std::size_t i = 0; control_ && item && i < items_.size(); ++i) {
        if (items_[i].Get() == item) {
            control_->SetCurrentIndex(static_cast<int>(i) + FirstItemRow());
            DropDefaultRowIfLeft();
            return;
        }
    }
}

void CComboBoxView::SelectByText(const std::string& text) {
    if (!control_) {
        return;
    }
    for (int row = 0; row < control_->ItemCount(); ++row) {
        if (control_->ItemText(row) == text) {
            control_->SetCurrentIndex(row);
            DropDefaultRowIfLeft();
            return;
        }
    }
    ShowDefaultText();
}

void CComboBoxView::ShowDefaultText() {
    if (!control_) {
        return;
    }
    if (defaultText_.empty()) {
        control_->SetCurrentIndex(-1);
    } else if (!defaultRowPresent_) {
        control_->InsertItem(0, defaultText_);
        control_->SetCurrentIndex(0);
        defaultRowPresent_ = true;
    }
}

void CComboBoxView::AddItems(const std::vector<TComboBoxItem*>& items) {
    if (!control_) {
        return;
    }
    for (TComboBoxItem* item : items) {
        if (item) {
            AppendRow({0, item});
        }
    }
}

void CComboBoxView::RemoveAddedItems() {
    if (!control_) {
        return;
    }
    const int offset = FirstItemRow();
    bool selectionRemoved = false;
    for (int i = static_cast<int>(items_.size()) - 1; i >= 0; --i) {
        if (!items_[i].added) {
            continue;
        }
        selectionRemoved = selectionRemoved || control_->GetCurrentIndex() == i + offset;
        control_->RemoveItem(i + offset);
        items_.erase(items_.begin() + i);
    }
    if (selectionRemoved) {
        control_->SetCurrentIndex(-1);
        ShowDefaultText();
    }
}

int CComboBoxView::RowCount() const {
    return control_ ? control_->ItemCount() : 0;
}

std::vector<TComboBoxItem*> CComboBoxView::Items() const {
    std::vector<TComboBoxItem*> items;
    for (const Item& item : items_) {
        items.push_back(item.Get());
    }
    return items;
}

std::string CComboBoxView::RowText(int row) const {
    return control_ && row >= 0 && row < control_->ItemCount() ? control_->ItemText(row)
                                                               : std::string();
}

void CComboBoxView::Show() {
    if (control_) {
        control_->SetVisible(true);
    }
}

void CComboBoxView::Hide() {
    if (control_) {
        control_->SetVisible(false);
    }
}

bool CComboBoxView::IsVisible() const {
    return control_ && control_->IsVisible();
}

bool CComboBoxView::IsListOpen() const {
    return control_ && control_->IsListOpen();
}

void CComboBoxView::Invalidate() {
    if (control_) {
        control_->Invalidate();
    }
}

void CComboBoxView::Shutdown() {
    control_.reset();
    CBaseView::Shutdown();
}

void CComboBoxView::SetUnlistedText(const std::string& text) {
    unlistedText_ = text;
    if (control_) {
        control_->SetPlaceholderText(text);
    }
}

std::string CComboBoxView::ShownText() const {
    return control_ && control_->GetCurrentIndex() < 0 ? unlistedText_ : GetSelectedText();
}

void CComboBoxView::DescribeState(ViewState& state) const {
    state.emplace_back("selected", GetSelectedText(), kIsText);
    if (ShownText() != GetSelectedText()) {
        state.emplace_back("shown", ShownText(), kIsText);
    }
    state.emplace_back("rows", std::to_string(RowCount()));
    state.emplace_back("default_row", BoolText(defaultRowPresent_));
    state.emplace_back("visible", BoolText(IsVisible()));
    state.emplace_back("list_open", BoolText(IsListOpen()));
}

void CComboBoxView::AppendRow(const Item& item) {
    items_.push_back(item);
    control_->InsertItem(control_->ItemCount(), item.Get()->displayName);
}

void CComboBoxView::DropDefaultRowIfLeft() {
    if (defaultRowPresent_ && GetSelectedText() != defaultText_) {
        control_->RemoveItem(0);
        defaultRowPresent_ = false;
    }
}

void CComboBoxView::OnSelectionChanged() {
    DropDefaultRowIfLeft();
    if (const TComboBox* box = GetTagAs<TComboBox>(tag_)) {
        RaiseEvent(box->selectedItemChangedEvent);
    }
}

void CComboBoxView::OnFocus(const char* suffix) const {
    RaiseEvent(name_ + suffix);
}
