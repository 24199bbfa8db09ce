#include "QtNativeControls.h"

#include "QtFonts.h"

#include <QEvent>

bool CFocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && callbacks_.focus) {
        callbacks_.focus();
    } else if (event->type() == QEvent::FocusOut && callbacks_.loseFocus) {
        callbacks_.loseFocus();
    }
    return QObject::eventFilter(watched, event);
}

namespace {
void Place(QWidget* widget, const NativeControlStyle& style) {
    widget->setGeometry(style.x, style.y, style.width, style.height);
    widget->setFont(ResolveFont(style.fontName, style.fontSize));
}

QString ColourName(std::uint32_t rgb) {
    return QColor(QRgb(rgb & 0xFFFFFF)).name();
}
} // namespace

CQtTextEdit::CQtTextEdit(QWidget* parent, const std::string& name)
    : edit_(new QLineEdit(parent)), watcher_(callbacks_) {
    edit_->setObjectName(QString::fromStdString(name));
    edit_->setFrame(false);
    edit_->installEventFilter(&watcher_);
    // Every change counts, typed or set by the program, as the native edit control reports.
    QObject::connect(edit_.data(), &QLineEdit::textChanged, edit_.data(), [this] {
        if (callbacks_.changed) {
            callbacks_.changed();
        }
    });
    ApplyStyleSheet();
}

CQtTextEdit::~CQtTextEdit() {
    if (edit_) {
        edit_->removeEventFilter(&watcher_);
        delete edit_.data();
    }
}

void CQtTextEdit::ApplyStyleSheet() {
    edit_->setStyleSheet(QString("QLineEdit { background: transparent; border: none; color: %1;"
                                 " padding-left: %2px; padding-top: %3px; }")
                             .arg(ColourName(style_.textColor))
                             .arg(style_.leftMargin)
                             .arg(style_.topMargin));
}

void CQtTextEdit::SetStyle(const NativeControlStyle& style) {
    style_ = style;
    Place(edit_, style);
    ApplyStyleSheet();
}

void CQtTextEdit::SetVisible(bool visible) {
    edit_->setVisible(visible);
}

bool CQtTextEdit::IsVisible() const {
    return edit_->isVisible();
}

void CQtTextEdit::SetFocus() {
    edit_->setFocus(Qt::OtherFocusReason);
}

bool CQtTextEdit::HasFocus() const {
    return edit_->hasFocus();
}

void CQtTextEdit::Invalidate() {
    edit_->update();
}

void CQtTextEdit::SetText(const std::string& utf8) {
    edit_->setText(QString::fromStdString(utf8));
}

std::string CQtTextEdit::GetText() const {
    return edit_->text().toStdString();
}

void CQtTextEdit::SetReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
}

void CQtTextEdit::SetTextColor(std::uint32_t rgb) {
    style_.textColor = rgb;
    ApplyStyleSheet();
}

CQtComboBox::CQtComboBox(QWidget* parent, const std::string& name)
    : combo_(new QComboBox(parent)), watcher_(callbacks_) {
    combo_->setObjectName(QString::fromStdString(name));
    combo_->setFrame(false);
    combo_->installEventFilter(&watcher_);
    // Only a pick by the user counts, as with the native list's selection notice.
    QObject::connect(combo_.data(), &QComboBox::activated, combo_.data(), [this] {
        if (callbacks_.changed) {
            callbacks_.changed();
        }
    });
}

CQtComboBox::~CQtComboBox() {
    if (combo_) {
        combo_->removeEventFilter(&watcher_);
        delete combo_.data();
    }
}

void CQtComboBox::SetStyle(const NativeControlStyle& style) {
    Place(combo_, style);
    combo_->setStyleSheet(QString("QComboBox { color: %1; padding-left: %2px; }")
                              .arg(ColourName(style.textColor))
                              .arg(style.leftMargin));
}

void CQtComboBox::SetVisible(bool visible) {
    combo_->setVisible(visible);
}

bool CQtComboBox::IsVisible() const {
    return combo_->isVisible();
}

void CQtComboBox::SetFocus() {
    combo_->setFocus(Qt::OtherFocusReason);
}

bool CQtComboBox::HasFocus() const {
    return combo_->hasFocus();
}

void CQtComboBox::Invalidate() {
    combo_->update();
}

void CQtComboBox::SetItems(const std::vector<std::string>& items) {
    combo_->clear();
    for (const std::string& item : items) {
        combo_->addItem(QString::fromStdString(item));
    }
}

void CQtComboBox::SetCurrentIndex(int index) {
    combo_->setCurrentIndex(index);
}

int CQtComboBox::GetCurrentIndex() const {
    return combo_->currentIndex();
}

void CQtComboBox::SetPlaceholderText(const std::string& utf8) {
    combo_->setPlaceholderText(QString::fromStdString(utf8));
}
