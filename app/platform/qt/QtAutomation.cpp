#include "app/platform/qt/QtAutomation.h"

#include "app/platform/qt/QtMainWindow.h"
#include "app/platform/qt/QtShell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWheelEvent>

#include <cmath>
#include <map>

// Offers a key press to the application's shortcuts first, as the window system's delivery
// does (exported by Qt GUI for its test library).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace {
struct Chord {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

bool ParseChord(const std::string& name, Chord& chord) {
    static const std::map<std::string, Chord> chords = {
        {"Tab", {Qt::Key_Tab, Qt::NoModifier, "\t"}},
        {"Backtab", {Qt::Key_Backtab, Qt::ShiftModifier, ""}},
        {"Return", {Qt::Key_Return, Qt::NoModifier, "\r"}},
        {"Escape", {Qt::Key_Escape, Qt::NoModifier, QString(QChar(27))}},
        {"Backspace", {Qt::Key_Backspace, Qt::NoModifier, QString(QChar(8))}},
        {"Delete", {Qt::Key_Delete, Qt::NoModifier, QString(QChar(127))}},
        {"Home", {Qt::Key_Home, Qt::NoModifier, ""}},
        {"End", {Qt::Key_End, Qt::NoModifier, ""}},
        {"Ctrl+A", {Qt::Key_A, Qt::ControlModifier, QString(QChar(1))}},
        {"Ctrl+R", {Qt::Key_R, Qt::ControlModifier, QString(QChar(18))}},
        {"Ctrl+E", {Qt::Key_E, Qt::ControlModifier, QString(QChar(5))}},
        {"Ctrl+Shift+C", {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(3))}},
        {"Up", {Qt::Key_Up, Qt::NoModifier, ""}},
        {"Down", {Qt::Key_Down, Qt::NoModifier, ""}},
        {"F4", {Qt::Key_F4, Qt::NoModifier, ""}},
        {"Alt+Down", {Qt::Key_Down, Qt::AltModifier, ""}},
        {"F1", {Qt::Key_F1, Qt::NoModifier, ""}},
        {"F5", {Qt::Key_F5, Qt::NoModifier, ""}},
        {"Ctrl+I", {Qt::Key_I, Qt::ControlModifier, QString(QChar(9))}},
        {"Ctrl+M", {Qt::Key_M, Qt::ControlModifier, QString(QChar(13))}},
        {"Ctrl+Q", {Qt::Key_Q, Qt::ControlModifier, QString(QChar(17))}},
        {"Ctrl+S", {Qt::Key_S, Qt::ControlModifier, QString(QChar(19))}},
        {"Ctrl+Z", {Qt::Key_Z, Qt::ControlModifier, QString(QChar(26))}},
        {"Ctrl+Shift+Z", {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(26))}},
        {"Ctrl+Y", {Qt::Key_Y, Qt::ControlModifier, QString(QChar(25))}},
        {"Ctrl+F", {Qt::Key_F, Qt::ControlModifier, QString(QChar(6))}},
        {"Ctrl+N", {Qt::Key_N, Qt::ControlModifier, QString(QChar(14))}},
        {"Ctrl+O", {Qt::Key_O, Qt::ControlModifier, QString(QChar(15))}},
        {"Ctrl+Shift+S", {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(19))}},
    };
    const auto it = chords.find(name);
    if (it == chords.end()) {
        return false;
    }
    chord = it->second;
    return true;
}

// The logical pixel a point lies in.
QPoint PixelOf(const QPointF& point) {
    return {static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y()))};
}

// The key code a keyboard would report for a typed character.
int KeyFor(QChar c) {
    if (c.isLetter() && c.unicode() < 128) {
        return c.toUpper().unicode();
    }
    return c == ' ' ? int(Qt::Key_Space) : int(c.unicode());
}

void SendKey(QWidget* target, const Chord& chord) {
    QPointer<QWidget> guard(target);
    if (qt_sendShortcutOverrideEvent(target, 0, chord.key, chord.modifiers, chord.text, false, 1)) {
        return; // a shortcut took it
    }
    QKeyEvent press(QEvent::KeyPress, chord.key, chord.modifiers, chord.text);
    QApplication::sendEvent(target, &press);
    if (guard) {
        QKeyEvent release(QEvent::KeyRelease, chord.key, chord.modifiers, chord.text);
        QApplication::sendEvent(guard, &release);
    }
}
} // namespace

QWidget* CQtAutomation::FindControl(const std::string& name, std::string& error) const {
    QWidget* canvas = window_.CanvasWidget();
    QWidget* control = canvas ? canvas->findChild<QWidget*>(QString::fromStdString(name)) : nullptr;
    if (!control) {
        error = "no text box or list named \"" + name + "\"";
    } else if (!control->isVisible() || !control->isEnabled()) {
        error = "the control \"" + name + "\" is hidden or disabled";
        control = nullptr;
    }
    return control;
}

void CQtAutomation::SendMouse(int type, int x, int y) {
    QWidget* canvas = window_.CanvasWidget();
    if (!canvas) {
        return;
    }
    // The press goes to the child under the pointer; moves and the release follow the
    // widget that took the press, as the window system's implicit grab does.
    const QPointF point = window_.ClientPoint(x, y);
    QWidget* target = grabber_;
    if (!target) {
        QWidget* child = canvas->childAt(PixelOf(point));
        target = child ? child : canvas;
    }
    const QPointF local = target->mapFrom(canvas, point);
    const QPointF global = canvas->mapToGlobal(point);
    const auto eventType = static_cast<QEvent::Type>(type);
    const Qt::MouseButton button = eventType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = buttonDown_ ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(eventType, local, global, button, buttons, Qt::NoModifier);
    if (eventType == QEvent::MouseButtonPress && target != canvas &&
        (target->focusPolicy() & Qt::ClickFocus)) {
        target->setFocus(Qt::MouseFocusReason);
    }
    QApplication::sendEvent(target, &event);
    grabber_ = buttonDown_ ? target : nullptr;
}

void CQtAutomation::MouseMove(int x, int y) {
    SendMouse(QEvent::MouseMove, x, y);
}

void CQtAutomation::MouseDown(int x, int y) {
    buttonDown_ = true;
    grabber_ = nullptr;
    SendMouse(QEvent::MouseButtonPress, x, y);
}

void CQtAutomation::MouseUp(int x, int y) {
    buttonDown_ = false;
    SendMouse(QEvent::MouseButtonRelease, x, y);
    grabber_ = nullptr;
}

void CQtAutomation::Wheel(int x, int y, int steps) {
    QWidget* canvas = window_.CanvasWidget();
    if (!canvas) {
        return;
    }
    const QPointF point = window_.ClientPoint(x, y);
    QWidget* child = canvas->childAt(PixelOf(point));
    QWidget* target = child ? child : canvas;
    const QPointF local = target->mapFrom(canvas, point);
    const QPointF global = canvas->mapToGlobal(point);
    constexpr int kNotch = 120; // one notch of a standard mouse wheel, in eighths of a degree
    QWheelEvent event(local, global, QPoint(), QPoint(0, steps * kNotch), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

bool CQtAutomation::Focus(const std::string& name, std::string& error) {
    QWidget* control = FindControl(name, error);
    if (!control) {
        return false;
    }
    // A control that refuses the focus (a read-only box) passes the click to the window.
    QWidget* target = control;
    while (target && !(target->focusPolicy() & Qt::ClickFocus)) {
        target = target->parentWidget();
    }
    if (target) {
        // A click in the main window makes it the active window again (see Select).
        if (QApplication::activeWindow() != target->window()) {
            QApplication::setActiveWindow(target->window());
        }
        target->setFocus(Qt::MouseFocusReason);
    }
    return true;
}

bool CQtAutomation::TypeText(const std::string& utf8, std::string& error) {
    for (const QChar c : QString::fromStdString(utf8)) {
        QWidget* target = QApplication::focusWidget();
        if (!target || target == window_.CanvasWidget()) {
            error = "no text box or list has the keyboard focus";
            return false;
        }
        SendKey(target, {KeyFor(c), Qt::NoModifier, QString(c)});
    }
    return true;
}

bool CQtAutomation::Key(const std::string& name, std::string& error) {
    Chord chord;
    if (!ParseChord(name, chord)) {
        error = "unknown key \"" + name + "\"";
        return false;
    }
    // Keys go to the main window unless a list is open. The offscreen platform can leave a
    // closed list as the active window, where a window system gives the activation back.
    QMainWindow* frame = window_.Frame();
    if (frame && !QApplication::activePopupWidget() && QApplication::activeWindow() != frame) {
        QApplication::setActiveWindow(frame);
    }
    QWidget* target = QApplication::focusWidget();
    if (!target) {
        target = window_.CanvasWidget();
    }
    if (!target) {
        error = "the window is not open";
        return false;
    }
    SendKey(target, chord);
    return true;
}

bool CQtAutomation::Select(const std::string& name, const std::string& row, std::string& error) {
    auto* combo = qobject_cast<QComboBox*>(FindControl(name, error));
    if (!combo) {
        if (error.empty() || error.rfind("no ", 0) == 0) {
            error = "no list named \"" + name + "\"";
        }
        return false;
    }
    const int index = combo->findText(QString::fromStdString(row), Qt::MatchExactly);
    if (index < 0) {
        error = "the list \"" + name + "\" has no row \"" + row + "\"";
        return false;
    }
    combo->setFocus(Qt::MouseFocusReason); // the click that opens the list
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex item = combo->model()->index(index, combo->modelColumn());
    view->scrollTo(item);
    const QPoint centre = view->visualRect(item).center();
    QWidget* viewport = view->viewport();
    QMouseEvent move(QEvent::MouseMove, centre, viewport->mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QMouseEvent press(QEvent::MouseButtonPress, centre, viewport->mapToGlobal(centre),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, viewport->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    // A pick closes the list; when the list's rows change under the pick (the default row
    // goes away) Qt can leave the popup up, holding the keyboard.
    if (combo->view()->isVisible()) {
        combo->hidePopup();
    }
    // The offscreen platform can leave the hidden popup as the active window (its activation
    // arrives late), which would keep later focus changes from taking effect; a window system
    // gives the activation back to the main window, and so does Focus.
    // The row's index may shift as the list reacts to the pick; its text does not.
    if (combo->currentText() != QString::fromStdString(row)) {
        combo->hidePopup();
        error = "the list \"" + name + "\" did not take the row \"" + row + "\"";
        return false;
    }
    return true;
}

namespace {
// The item of that text in the menu or its submenus.
QAction* FindMenuItem(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (action->menu()) {
            if (QAction* found = FindMenuItem(action->menu()->actions(), text)) {
                return found;
            }
        } else if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}
} // namespace

// A greyed item is found but does nothing, as a user's click on it.
bool CQtAutomation::ChooseMenu(const std::string& text, std::string& error) {
    QMainWindow* frame = window_.Frame();
    QAction* item =
        frame ? FindMenuItem(frame->menuBar()->actions(), QString::fromStdString(text)) : nullptr;
    if (!item) {
        error = "no menu item \"" + text + "\"";
        return false;
    }
    if (item->isEnabled()) {
        item->trigger();
    }
    return true;
}

bool CQtAutomation::ResizeWindow(int width, int height, std::string& error) {
    QWidget* canvas = window_.CanvasWidget();
    if (!canvas) {
        error = "the window is not open";
        return false;
    }
    const QSize smallest = canvas->minimumSize();
    if (width < smallest.width() || height < smallest.height() || width > kLargestSide ||
        height > kLargestSide) {
        error = "resize needs a size from " + std::to_string(smallest.width()) + " x " +
                std::to_string(smallest.height()) + " to " + std::to_string(kLargestSide) + " x " +
                std::to_string(kLargestSide) + ", not " + std::to_string(width) + " x " +
                std::to_string(height);
        return false;
    }
    window_.ResizeClient(width, height);
    return true;
}

bool CQtAutomation::DropFiles(const std::vector<std::string>& paths, std::string& error) {
    QMainWindow* frame = window_.Frame();
    if (!frame) {
        error = "the window is not open";
        return false;
    }
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    QMimeData data;
    data.setUrls(urls);
    const QPointF middle(frame->width() / 2.0, frame->height() / 2.0);
    QDragEnterEvent enter(middle.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    if (!enter.isAccepted()) {
        error = "the window takes no such drop";
        return false;
    }
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    return true;
}

void CQtAutomation::CloseWindow() {
    if (QMainWindow* frame = window_.Frame()) {
        frame->close();
    }
}

namespace {
// A dialog as the shell shows it, with a plain title bar above it, as a window manager would
// frame it.
QPixmap PictureOf(const ShownDialog& shown, QWidget* parent) {
    const std::unique_ptr<QDialog> dialog = MakeDialog(shown, parent);
    dialog->setAttribute(Qt::WA_DontShowOnScreen);
    dialog->show(); // lays the dialog out at its own size
    const QPixmap body = dialog->grab();
    dialog->hide();
    constexpr int kTitleBar = 26;
    // Laid out in logical pixels at the body's device pixel ratio (a scaled screen).
    const qreal ratio = body.devicePixelRatio();
    const QSize logical = body.deviceIndependentSize().toSize();
    QPixmap framed(QSize(logical.width() + 2, logical.height() + kTitleBar + 1) * ratio);
    framed.setDevicePixelRatio(ratio);
    framed.fill(QColor(0x2b, 0x3a, 0x4d));
    QPainter painter(&framed);
    painter.drawPixmap(1, kTitleBar, body);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, logical.width() - 14, kTitleBar), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromStdString(TitleOf(shown)));
    return framed;
}
} // namespace

bool CQtAutomation::SaveScreenshot(const std::string& file, const std::vector<ShownDialog>& dialogs,
                                   std::string& error) {
    QWidget* canvas = window_.CanvasWidget();
    if (!canvas) {
        error = "the window is not open";
        return false;
    }
    QPixmap shot = canvas->grab();
    QPainter painter(&shot);
    // An open drop-down list is a popup window of its own; it is drawn where it shows.
    if (QWidget* popup = QApplication::activePopupWidget(); popup && popup->isVisible()) {
        painter.drawPixmap(canvas->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    }
    for (const ShownDialog& dialog : dialogs) {
        const QPixmap box = PictureOf(dialog, window_.Frame());
        const QSize size = box.deviceIndependentSize().toSize();
        painter.drawPixmap((canvas->width() - size.width()) / 2,
                           (canvas->height() - size.height()) / 2, box);
    }
    painter.end();
    if (!shot.save(QString::fromStdString(file), "PNG")) {
        error = "cannot write \"" + file + "\"";
        return false;
    }
    return true;
}
