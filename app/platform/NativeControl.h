#pragma once
// Native child controls of the main window: a one-line text box and a drop-down list. Their
// owners (the text edit and combo box views) style them from tags and turn the notifications
// into named events. Destroying the object destroys the control.

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
};

class INativeTextEdit : public INativeControl {
public:
    // Replaces the text; raises `changed` as typing would.
    virtual void SetText(const std::string& utf8) = 0;
    virtual std::string GetText() const = 0;
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
};
