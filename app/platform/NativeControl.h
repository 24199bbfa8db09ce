#pragma once
// Native child controls of the main window: a one-line text box and a drop-down list. Their
// owners (the text edit and combo box views) style them from tags and turn the notifications
// into named events. Destroying the object destroys the control.

#include "app/platform/Canvas.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct NativeControlStyle {
    int x = 0, y = 0, width = 0, height = 0; // client coordinates
    int leftMargin = 0, topMargin = 0;
    std::string fontName; // face name, e.g. "Exo"
    int fontSize = 0;     // character cell height in pixels
    std::uint32_t textColor = 0xFF000000;
};

struct NativeControlCallbacks {
    std::function<void()> changed;   // text edited, or the selection picked by the user
    std::function<void()> focus;     // gained the keyboard focus
    std::function<void()> loseFocus; // lost it
};

class INativeControl {
public:
    virtual ~INativeControl() = default;
    virtual void SetStyle(const NativeControlStyle& style) = 0;
    virtual void SetCallbacks(NativeControlCallbacks callbacks) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    // Asks the control to paint itself again.
    virtual void Invalidate() = 0;
    // The picture the control paints under its contents, tiled from its top-left corner and
    // blended over the window beneath; an empty image paints nothing. The image is copied.
    virtual void SetBackgroundImage(const ImageRef& image) = 0;
    // The text shown while the pointer rests on the control; empty for none.
    virtual void SetToolTip(const std::string& utf8) = 0;
    // Puts this control right after `previous` in the keyboard (Tab) order.
    virtual void SetTabOrderAfter(INativeControl& previous) = 0;
};

class INativeTextEdit : public INativeControl {
public:
    // Replaces the text; raises `changed` as typing would.
    virtual void SetText(const std::string& utf8) = 0;
    virtual std::string GetText() const = 0;
    // A read-only box also refuses the keyboard focus: a click on it or Tab passes it by.
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetTextColor(std::uint32_t rgb) = 0;
};

class INativeComboBox : public INativeControl {
public:
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    // -1 selects nothing and shows the placeholder text.
    virtual void SetCurrentIndex(int index) = 0;
    virtual int GetCurrentIndex() const = 0;
    virtual void SetPlaceholderText(const std::string& utf8) = 0;
    // Row editing; neither raises the selection notice.
    virtual void InsertItem(int index, const std::string& utf8) = 0;
    virtual void RemoveItem(int index) = 0;
    virtual int ItemCount() const = 0;
    virtual std::string ItemText(int index) const = 0;
    // The list draws its rows itself: the closed box's picture (its right-hand strip carries
    // the arrow), the open list's row background and the selected row's background. Rows
    // are as high as the closed box. Empty images fall back to plain colours.
    virtual void SetPictures(const ImageRef& box, const ImageRef& dropdown,
                             const ImageRef& selection) = 0;
    // Whether the open list is showing.
    virtual bool IsListOpen() const = 0;
};
