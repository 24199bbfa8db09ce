#include "app/platform/qt/QtNativeControls.h"

#include "app/platform/qt/QtCanvas.h"
#include "app/platform/qt/QtFonts.h"
#include "app/platform/qt/QtMainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include <cmath>

namespace {
// The closed box's edge and the strip at its right that shows the arrow of the picture.
constexpr int kEdge = 2;
constexpr int kArrowStrip = 25;
// Rows and the closed box write their text this far in from the left of their rectangle.
constexpr int kTextInset = 4;
// Rows the open list shows before it scrolls.
constexpr int kVisibleRows = 15;

int Scaled(int designPixels, double scale) {
    return static_cast<int>(std::lround(designPixels * scale));
}

// Places the widget at its design rectangle through the mapping, its font scaled; returns the
// scale (logical pixels per design pixel).
double Place(QWidget* widget, const NativeControlStyle& style, const SceneMapping& mapping) {
    const WindowRect area = mapping.ToClientRect({style.x, style.y, style.width, style.height});
    widget->setGeometry(area.x, area.y, area.width, area.height);
    const double scale = mapping.deviceScale / mapping.deviceRatio;
    widget->setFont(ResolveFont(style.fontName, Scaled(style.fontSize, scale)));
    return scale;
}

QString ColourName(std::uint32_t rgb) {
    return QColor(QRgb(rgb & 0xFFFFFF)).name();
}

QImage CopyOf(const ImageRef& image) {
    return WrapImage(image).copy();
}

// Fills `rect` with the picture (design pixels) tiled from `origin` at `scale` logical pixels
// per design pixel, or with `fallback` when there is none.
void FillWithPicture(QPainter& painter, const QRect& rect, const QImage& picture,
                     const QPoint& origin, const QColor& fallback, double scale) {
    if (picture.isNull()) {
        painter.fillRect(rect, fallback);
        return;
    }
    painter.save();
    QBrush brush(picture);
    if (scale != 1.0) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        brush.setTransform(QTransform::fromTranslate(origin.x(), origin.y()).scale(scale, scale));
    } else {
        painter.setBrushOrigin(origin);
    }
    painter.fillRect(rect, brush);
    painter.restore();
}

void DrawRowText(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour,
                 double scale) {
    painter.save();
    painter.setClipRect(rect);
    painter.setPen(colour);
    painter.drawText(rect.adjusted(Scaled(kTextInset, scale), 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}
} // namespace

SceneMapping MappingOf(const QWidget* widget) {
    const auto* canvas =
        widget ? dynamic_cast<const CCanvasWidget*>(widget->parentWidget()) : nullptr;
    return canvas ? canvas->Mapping() : SceneMapping{};
}

bool CFocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // A box that never takes the focus (a read-only result) still takes it from the field
        // being edited, as a click on the window does: the canvas beneath gets it.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->focusPolicy() == Qt::NoFocus && widget->parentWidget()) {
            widget->parentWidget()->setFocus(Qt::MouseFocusReason);
        }
    }
    if (event->type() == QEvent::Wheel) {
        // A wheel turn or a scroll passing over a control the user has not focused must not
        // change it; it goes on to the window beneath.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && !widget->hasFocus()) {
            event->ignore();
            return true;
        }
    }
    const bool in = event->type() == QEvent::FocusIn;
    const bool out = event->type() == QEvent::FocusOut;
    if (out && (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason ||
                QApplication::activePopupWidget())) {
        awayToPopup_ = true; // the focus comes back when the popup closes
    } else if (in && awayToPopup_) {
        awayToPopup_ = false;
    } else if (in && callbacks_.focus) {
        callbacks_.focus();
    } else if (out && callbacks_.loseFocus) {
        callbacks_.loseFocus();
    }
    return QObject::eventFilter(watched, event);
}

void CPictureLineEdit::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void CPictureLineEdit::paintEvent(QPaintEvent* event) {
    if (!picture_.isNull()) {
        QPainter painter(this);
        FillWithPicture(painter, rect(), picture_, QPoint(0, 0), Qt::transparent, scale_);
    }
    QLineEdit::paintEvent(event);
}

std::vector<std::string> LocalFilesOf(const QMimeData* data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data ? data->urls() : QList<QUrl>()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    return paths;
}

bool CPictureLineEdit::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) &&
        !LocalFilesOf(static_cast<QDropEvent*>(event)->mimeData()).empty()) {
        event->ignore(); // a file goes on to the window, which opens it, not into the text
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Undo) && !isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !isRedoAvailable())) {
            event->ignore(); // the window's shortcut takes it
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CPictureLineEdit::SetDesignStyle(const NativeControlStyle& style) {
    style_ = style;
    PlaceInScene(MappingOf(this));
}

void CPictureLineEdit::SetTextColour(std::uint32_t rgb) {
    style_.textColor = rgb;
    ApplyStyleSheet();
}

void CPictureLineEdit::PlaceInScene(const SceneMapping& mapping) {
    scale_ = Place(this, style_, mapping);
    ApplyStyleSheet();
}

void CPictureLineEdit::ApplyStyleSheet() {
    setStyleSheet(QString("QLineEdit { background: transparent; border: none; color: %1;"
                          " padding-left: %2px; padding-top: %3px; }")
                      .arg(ColourName(style_.textColor))
                      .arg(Scaled(style_.leftMargin, scale_))
                      .arg(Scaled(style_.topMargin, scale_)));
}

void CRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QRect& rect = option.rect;
    const QPalette& palette = option.palette;
    // Each row shows its picture from the picture's top, whatever the rows' height.
    FillWithPicture(*painter, rect, selected ? pictures_.selection : pictures_.dropdown,
                    rect.topLeft(), palette.color(selected ? QPalette::Highlight : QPalette::Base),
                    scale_);
    const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter->save();
    if (const auto* combo = qobject_cast<const QComboBox*>(parent())) {
        painter->setFont(combo->font()); // scaled with the box, whatever the list inherited
    }
    DrawRowText(*painter, rect, index.data(Qt::DisplayRole).toString(), text, scale_);
    painter->restore();
    if (option.state & QStyle::State_HasFocus) {
        painter->save();
        painter->setPen(QPen(text, 1, Qt::DotLine));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

QSize CRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize hint = QStyledItemDelegate::sizeHint(option, index);
    return {hint.width(), rowHeight_ > 0 ? rowHeight_ : hint.height()};
}

CPictureComboBox::CPictureComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new CRowDelegate(pictures_, rowHeight_, scale_, this));
    setMaxVisibleItems(kVisibleRows);
}

void CPictureComboBox::SetPictures(ComboPictures pictures) {
    pictures_ = std::move(pictures);
    update();
}

void CPictureComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    // The border and the arrow strip show the box picture; the inner field shows the selected
    // row as the open list draws it, highlighted while the list has the focus.
    FillWithPicture(painter, client, pictures_.box, QPoint(0, 0), palette().color(QPalette::Base),
                    scale_);
    const int edge = Scaled(kEdge, scale_);
    const QRect inner = client.adjusted(edge, edge, -edge - Scaled(kArrowStrip, scale_), -edge);
    // The open list keeps the box focused, as the native list does.
    const bool focused = hasFocus() || (view() && view()->isVisible());
    if (focused) {
        FillWithPicture(painter, inner, pictures_.selection, QPoint(0, 0),
                        palette().color(QPalette::Highlight), scale_);
    }
    const QColor text = palette().color(focused ? QPalette::HighlightedText : QPalette::Text);
    DrawRowText(painter, inner, currentIndex() >= 0 ? currentText() : placeholderText(), text,
                scale_);
}

void CPictureComboBox::SetDesignStyle(const NativeControlStyle& style) {
    style_ = style;
    // The list drops below the box, as a drop-down list does, with a thin dark border.
    setStyleSheet(QString("QComboBox { combobox-popup: 0; color: %1; }"
                          " QComboBox QAbstractItemView { border: 1px solid #2b3a4d;"
                          " outline: 0; padding: 0px; margin: 0px; }")
                      .arg(ColourName(style.textColor)));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PlaceInScene(MappingOf(this));
}

void CPictureComboBox::PlaceInScene(const SceneMapping& mapping) {
    scale_ = Place(this, style_, mapping);
    rowHeight_ = height();
    view()->setFont(font());
    update();
}

namespace {
// A box's caption is drawn by the program, so no label names it to a screen reader: its name
// is the tooltip's subject ("Pump speed in strokes per minute"), its description the whole
// tooltip, and until there is one the view's name ("SPM").
void SetToolTipAndAccessibleText(QWidget* widget, const std::string& utf8) {
    widget->setToolTip(WrappedToolTip(utf8));
    const QString tip = QString::fromStdString(utf8);
    const qsizetype subjectEnd = tip.indexOf(": ");
    widget->setAccessibleName(tip.isEmpty() ? widget->objectName() : tip.left(subjectEnd));
    widget->setAccessibleDescription(tip);
}
} // namespace

CQtTextEdit::CQtTextEdit(QWidget* parent, const std::string& name)
    : edit_(new CPictureLineEdit(parent)), watcher_(callbacks_) {
    edit_->setObjectName(QString::fromStdString(name));
    edit_->setAccessibleName(edit_->objectName());
    edit_->setFrame(false);
    edit_->SetTextColour(NativeControlStyle{}.textColor);
    edit_->installEventFilter(&watcher_);
    // Every change counts, typed or set by the program, as the native edit control reports.
    QObject::connect(edit_.data(), &QLineEdit::textChanged, edit_.data(), [this] {
        if (callbacks_.changed) {
            callbacks_.changed();
        }
    });
}

CQtTextEdit::~CQtTextEdit() {
    if (edit_) {
        edit_->removeEventFilter(&watcher_);
        delete edit_.data();
    }
}

void CQtTextEdit::SetStyle(const NativeControlStyle& style) {
    edit_->SetDesignStyle(style);
}

namespace {
// A hidden control hands its focus to the window rather than along the Tab order, so hiding
// a row of controls does not pass the focus from one to the next.
void HideKeepingFocusStill(QWidget* widget) {
    if (widget->hasFocus() && widget->parentWidget()) {
        widget->parentWidget()->setFocus(Qt::OtherFocusReason);
    }
    widget->hide();
}
} // namespace

void CQtTextEdit::SetVisible(bool visible) {
    if (!visible) {
        HideKeepingFocusStill(edit_);
        return;
    }
    edit_->show();
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

void CQtTextEdit::SetBackgroundImage(const ImageRef& image) {
    edit_->SetPicture(CopyOf(image));
}

void CQtTextEdit::SetToolTip(const std::string& utf8) {
    SetToolTipAndAccessibleText(edit_, utf8);
}

void CQtTextEdit::SetTabOrderAfter(INativeControl& previous) {
    if (auto* control = dynamic_cast<CQtControl*>(&previous); control && control->Widget()) {
        QWidget::setTabOrder(control->Widget(), edit_);
    }
}

void CQtTextEdit::SetText(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (text == edit_->text()) {
        // The native edit control reports a change even when the text stays the same.
        if (callbacks_.changed) {
            callbacks_.changed();
        }
        return;
    }
    edit_->setText(text);
}

std::string CQtTextEdit::GetText() const {
    return edit_->text().toStdString();
}

void CQtTextEdit::SetReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
    edit_->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
    if (readOnly && edit_->hasFocus()) {
        edit_->clearFocus();
    }
}

void CQtTextEdit::SetTextColor(std::uint32_t rgb) {
    edit_->SetTextColour(rgb);
}

CQtComboBox::CQtComboBox(QWidget* parent, const std::string& name)
    : combo_(new CPictureComboBox(parent)), watcher_(callbacks_) {
    combo_->setObjectName(QString::fromStdString(name));
    combo_->setAccessibleName(combo_->objectName());
    combo_->setFrame(false);
    combo_->setFocusPolicy(Qt::StrongFocus); // the wheel never takes the focus
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
    combo_->SetDesignStyle(style);
}

void CQtComboBox::SetVisible(bool visible) {
    if (!visible) {
        combo_->hidePopup();
        HideKeepingFocusStill(combo_);
        return;
    }
    combo_->show();
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

void CQtComboBox::SetBackgroundImage(const ImageRef& image) {
    ComboPictures pictures = combo_->Pictures();
    pictures.box = CopyOf(image);
    combo_->SetPictures(std::move(pictures));
}

void CQtComboBox::SetToolTip(const std::string& utf8) {
    SetToolTipAndAccessibleText(combo_, utf8);
}

void CQtComboBox::SetTabOrderAfter(INativeControl& previous) {
    if (auto* control = dynamic_cast<CQtControl*>(&previous); control && control->Widget()) {
        QWidget::setTabOrder(control->Widget(), combo_);
    }
}

void CQtComboBox::SetItems(const std::vector<std::string>& items) {
    combo_->hidePopup(); // an open list of the old rows would stay up and deaf
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

void CQtComboBox::InsertItem(int index, const std::string& utf8) {
    combo_->insertItem(index, QString::fromStdString(utf8));
}

void CQtComboBox::RemoveItem(int index) {
    combo_->removeItem(index);
}

int CQtComboBox::ItemCount() const {
    return combo_->count();
}

std::string CQtComboBox::ItemText(int index) const {
    return combo_->itemText(index).toStdString();
}

void CQtComboBox::SetPictures(const ImageRef& box, const ImageRef& dropdown,
                              const ImageRef& selection) {
    combo_->SetPictures({CopyOf(box), CopyOf(dropdown), CopyOf(selection)});
}

bool CQtComboBox::IsListOpen() const {
    return combo_->view() && combo_->view()->isVisible();
}
