#pragma once
// Native controls as frameless children of the canvas. Each widget's object name is the view
// name, so the synthetic input can find it. The widgets paint the pictures their views give
// them, so they look like part of the window's picture.

#include "app/platform/NativeControl.h"
#include "app/platform/WindowFit.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

class QMimeData;

// Turns focus changes of a widget into the control's callbacks. Focus that only moves to an
// open popup (the list of a drop-down, a context menu) and back is not a change. Wheel input
// reaches the widget only while it has the focus.
class CFocusWatcher : public QObject {
public:
    explicit CFocusWatcher(const NativeControlCallbacks& callbacks) : callbacks_(callbacks) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const NativeControlCallbacks& callbacks_;
    bool awayToPopup_ = false;
};

// What both controls share on the Qt side: the widget, for the Tab order.
class CQtControl {
public:
    virtual ~CQtControl() = default;
    virtual QWidget* Widget() const = 0;
};

// A control placed by its rectangle in the scene's design pixels: the canvas places it again,
// its font and margins scaled, whenever the scene changes size.
class CScenePlaced {
public:
    virtual ~CScenePlaced() = default;
    virtual void PlaceInScene(const SceneMapping& mapping) = 0;
};

// The mapping of the canvas the widget is a child of; one design pixel per logical pixel on
// any other parent.
SceneMapping MappingOf(const QWidget* widget);

// The local files a drag brings, as paths; none for text, links or remote files.
std::vector<std::string> LocalFilesOf(const QMimeData* data);

// A line edit that paints its picture, tiled from its top-left corner, under the text. Files
// dragged over it go on to the window; text may be dropped into it.
class CPictureLineEdit : public QLineEdit, public CScenePlaced {
public:
    using QLineEdit::QLineEdit;
    void SetPicture(const QImage& picture);
    void SetDesignStyle(const NativeControlStyle& style);
    void SetTextColour(std::uint32_t rgb);
    void PlaceInScene(const SceneMapping& mapping) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Undo and Redo undo the box's own typing while it has some; otherwise they are the
    // window's, which step through the design (a box focused after a Tab has none).
    bool event(QEvent* event) override;

private:
    void ApplyStyleSheet();

    QImage picture_;
    NativeControlStyle style_;
    double scale_ = 1.0; // logical pixels per design pixel
};

// The three pictures of a drop-down list.
struct ComboPictures {
    QImage box;
    QImage dropdown;
    QImage selection;
};

// Draws the open list's rows: the row picture, or the selection picture behind the selected
// row, and the text in the normal or highlighted colour.
class CRowDelegate : public QStyledItemDelegate {
public:
    CRowDelegate(const ComboPictures& pictures, const int& rowHeight, const double& scale,
                 QObject* parent)
        : QStyledItemDelegate(parent), pictures_(pictures), rowHeight_(rowHeight), scale_(scale) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ComboPictures& pictures_;
    const int& rowHeight_;
    const double& scale_;
};

// A drop-down list that paints its closed box itself: the box picture, with the selected
// row's text in an inner field that shows the selection picture while the list has the focus.
class CPictureComboBox : public QComboBox, public CScenePlaced {
public:
    explicit CPictureComboBox(QWidget* parent);
    void SetPictures(ComboPictures pictures);
    const ComboPictures& Pictures() const { return pictures_; }
    void SetDesignStyle(const NativeControlStyle& style);
    void PlaceInScene(const SceneMapping& mapping) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ComboPictures pictures_;
    NativeControlStyle style_;
    int rowHeight_ = 0;
    double scale_ = 1.0; // logical pixels per design pixel
};

class CQtTextEdit : public INativeTextEdit, public CQtControl {
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
    void SetBackgroundImage(const ImageRef& image) override;
    void SetToolTip(const std::string& utf8) override;
    void SetTabOrderAfter(INativeControl& previous) override;
    void SetText(const std::string& utf8) override;
    std::string GetText() const override;
    void SetReadOnly(bool readOnly) override;
    void SetTextColor(std::uint32_t rgb) override;
    QWidget* Widget() const override { return edit_; }

private:
    QPointer<CPictureLineEdit> edit_;
    NativeControlCallbacks callbacks_;
    CFocusWatcher watcher_;
};

class CQtComboBox : public INativeComboBox, public CQtControl {
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
    void SetBackgroundImage(const ImageRef& image) override;
    void SetToolTip(const std::string& utf8) override;
    void SetTabOrderAfter(INativeControl& previous) override;
    void SetItems(const std::vector<std::string>& items) override;
    void SetCurrentIndex(int index) override;
    int GetCurrentIndex() const override;
    void SetPlaceholderText(const std::string& utf8) override;
    void InsertItem(int index, const std::string& utf8) override;
    void RemoveItem(int index) override;
    int ItemCount() const override;
    std::string ItemText(int index) const override;
    void SetPictures(const ImageRef& box, const ImageRef& dropdown,
                     const ImageRef& selection) override;
    bool IsListOpen() const override;
    QWidget* Widget() const override { return combo_; }

private:
    QPointer<CPictureComboBox> combo_;
    NativeControlCallbacks callbacks_;
    CFocusWatcher watcher_;
};
