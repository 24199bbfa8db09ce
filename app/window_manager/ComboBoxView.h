#pragma once
// A drop-down list: a native list control placed from its tag, drawing its rows with the
// tag's pictures. The tag's items are its rows; a default row (the tag's "Default Text")
// exists only while it is the selection. A pick by the user raises the tag's "Selected Item
// Changed Event"; the focus raises "<name> Focus" and "<name> Lose Focus".

#include "app/window_manager/BaseView.h"

#include <memory>
#include <string>
#include <vector>

class INativeComboBox;
class TComboBox;
class TComboBoxItem;

class CComboBoxView : public CBaseView {
public:
    CComboBoxView();
    ~CComboBoxView() override;

    // Stores the name and identifier and registers the view; the control comes with Configure.
    void Init(IMainWindow* window, const std::string& name, int identifier);
    // Rebuilds the list from the tag (rows added with AddItems are dropped), selects row 0,
    // raises the selection event, then places and shows the control.
    void Configure(TagHandle tag) override;

    // The selected row's text; empty when nothing is selected.
    std::string GetSelectedText() const;
    // The selected row's item, or null (the default row, or nothing selected). Rows with the
    // same text each have their own item.
    TComboBoxItem* GetSelectedItem() const;
    // Selects the first row with exactly this text; with no such row, the default row (or
    // nothing, without default text). Raises no event.
    void SelectByText(const std::string& text);
    // Selects the row of this item; nothing changes when no row has it. Raises no event.
    void SelectItem(const TComboBoxItem* item);
    // Selects the default row, adding it when absent (or nothing, without default text).
    // Raises no event.
    void ShowDefaultText();
    // What the closed box shows while no row is selected (a value that no row has); empty for
    // nothing.
    void SetUnlistedText(const std::string& text);
    // The text the closed box shows: the selected row's, or the unlisted text.
    std::string ShownText() const;
    // Appends a row per item. The items are not tags of the tree (the model's user presets)
    // and must outlive their rows: remove them with RemoveAddedItems before deleting them.
    void AddItems(const std::vector<TComboBoxItem*>& items);
    // Removes every row added with AddItems. Should the selection go with them, the default
    // row is selected instead (nothing, without default text). Raises no event.
    void RemoveAddedItems();

    int RowCount() const;
    std::string RowText(int row) const;
    // The items of the list in row order (the default row has none).
    std::vector<TComboBoxItem*> Items() const;
    bool HasDefaultRow() const { return defaultRowPresent_; }
    int Identifier() const { return identifier_; }

    // Also shown by the native control.
    void SetTooltip(const std::string& text) override;
    void Show();
    void Hide();
    bool IsVisible() const;
    bool IsListOpen() const;
    void Invalidate();
    // Destroys the native control, then unregisters the view.
    void Shutdown() override;

    const char* Kind() const override { return "combo_box"; }
    void DescribeState(ViewState& state) const override;

    // The native control, for the owner's Tab order; null before Configure.
    INativeComboBox* Control() const { return control_.get(); }

private:
    // A row's item: a tag of the tree (by handle, so a tag refresh cannot leave it dangling)
    // or an added item (by pointer).
    struct Item {
        TagHandle tag = 0;
        TComboBoxItem* added = nullptr;
        TComboBoxItem* Get() const;
    };

    void CreateControl();
    // Pictures, font, place and size from the tag.
    void ApplyStyle(const TComboBox& box);
    // The tag's rows only, no default row.
    void FillRows(const TComboBox& box);
    void AppendRow(const Item& item);
    // Drops the default row once another row is the selection.
    void DropDefaultRowIfLeft();
    // The row of items_[0]: the default row, while present, comes first.
    int FirstItemRow() const { return defaultRowPresent_ ? 1 : 0; }
    void OnSelectionChanged();
    void OnFocus(const char* suffix) const;

    std::unique_ptr<INativeComboBox> control_;
    int identifier_ = 0;
    std::string defaultText_;
    std::string unlistedText_;
    bool defaultRowPresent_ = false;
    std::vector<Item> items_; // one per row after the default row
    // The last font a tag gave; a tag without one leaves the control's font as it was.
    std::string fontName_;
    int fontSize_ = 0;
};
