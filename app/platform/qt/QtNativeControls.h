#pragma once
// Native controls as frameless children of the canvas. Each widget's object name is the view
// name, so the synthetic input can find it.

#include "NativeControl.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>

// Turns focus changes of a widget into the control's callbacks.
class CFocusWatcher : public QObject {
public:
    explicit CFocusWatcher(const NativeControlCallbacks& callbacks) : callbacks_(callbacks) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const NativeControlCallbacks& callbacks_;
};

class CQtTextEdit : public INativeTextEdit {
public:
    CQtTextEdit(QWidget* parent, const std::string& name);
    ~CQtTextEdit() override;

    void SetStyle(const NativeControlStyle& style) override;
    void SetCallbacks(NativeControlCallbacks callbacks) override { callbacks_ = callbacks; }
    void SetVisible(bool visible) override;
    bool IsVisible() const override;
    void SetFocus() override;
    bool HasFocus() const override;
    void Invalidate() override;
    void SetText(const std::string& utf8) override;
    std::string GetText() const override;
    void SetReadOnly(bool readOnly) override;
    void SetTextColor(std::uint32_t rgb) override;

private:
    void ApplyStyleSheet();

    QPointer<QLineEdit> edit_;
    NativeControlCallbacks callbacks_;
    CFocusWatcher watcher_;
    NativeControlStyle style_;
};

class CQtComboBox : public INativeComboBox {
public:
    CQtComboBox(QWidget* parent, const std::string& name);
    ~CQtComboBox() override;

    void SetStyle(const NativeControlStyle& style) override;
    void SetCallbacks(NativeControlCallbacks callbacks) override { callbacks_ = callbacks; }
    void SetVisible(bool visible) override;
    bool IsVisible() const override;
    void SetFocus() override;
    bool HasFocus() const override;
    void Invalidate() override;
    void SetItems(const std::vector<std::string>& items) override;
    void SetCurrentIndex(int index) override;
    int GetCurrentIndex() const override;
    void SetPlaceholderText(const std::string& utf8) override;

private:
    QPointer<QComboBox> combo_;
    NativeControlCallbacks callbacks_;
    CFocusWatcher watcher_;
};
