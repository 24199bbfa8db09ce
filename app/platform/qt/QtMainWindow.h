#pragma once
// The main window: a resizable QMainWindow with a menu bar over a client canvas that shows the
// back buffer, the scene scaled to fit it with its aspect kept, and reports mouse input to
// the window listener in design pixels. On a window system it opens as large as fits the
// screen, up to the design size, and remembers its place and size between runs.

#include "app/platform/Window.h"
#include "app/platform/WindowFit.h"
#include "app/platform/qt/QtCanvas.h"

#include <QMainWindow>
#include <QWidget>

#include <map>
#include <memory>
#include <thread>

class CQtMainWindow;
class QAction;
class QActionGroup;
class QMenu;
class QTransform;

// Where QPainter puts an image's device pixel (0, 0) when it draws the image pixel for pixel
// under `transform`, a scale and a translation perhaps by a fraction of a device pixel.
QPoint PainterImageOffset(const QTransform& transform);

// The client area: paints the back buffer, scaled, and the background colour around it;
// native controls are its children, placed by its mapping.
class CCanvasWidget : public QWidget {
public:
    CCanvasWidget(CQtMainWindow& owner, WindowSize design, std::uint32_t background);
    // Where the scene lies in the widget as it is now.
    SceneMapping Mapping() const;
    QSize sizeHint() const override { return {design_.width, design_.height}; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The design point under a widget point.
    QPoint DesignPoint(const QPointF& point) const;
    void PaintLetterbox(QPainter& painter, const QRegion& region, const SceneMapping& mapping);
    // Whether a native control shows over `area` (as childrenRegion, without building it).
    bool ControlOver(const QRect& area) const;

    CQtMainWindow& owner_;
    WindowSize design_;
    QColor background_;
};

// The frame around the menu bar and the canvas: asks before it closes, and hands the local files
// dropped anywhere on it, text boxes included, to the listener.
class CFrameWindow : public QMainWindow {
public:
    explicit CFrameWindow(CQtMainWindow& owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    CQtMainWindow& owner_;
};

class CQtMainWindow : public IMainWindow {
public:
    CQtMainWindow();
    ~CQtMainWindow() override;

    void Open(const WindowDescription& description, IWindowListener* listener) override;
    void PumpMessages() override;
    ICanvas& BackBuffer() override;
    void Present(const PixelRect& changed) override;
    bool IsShowing() const override;
    void Destroy() override;
    void FocusMainWindow() override;
    bool IsDestroyed() const override { return destroyed_; }
    PixelBuffer GrabClient(int x, int y, int w, int h) override;
    void CheckMenuItem(int command) override;
    void SetMenuItemChecked(int command, bool checked) override;
    void SetTitle(const std::string& title) override;
    void SetCommandEnabled(int command, bool enabled) override;
    void SetSubmenu(int command, const std::vector<MenuItem>& items) override;
    std::unique_ptr<INativeTextEdit> CreateTextEdit(const std::string& name) override;
    std::unique_ptr<INativeComboBox> CreateComboBox(const std::string& name) override;

    // For the canvas widget, the frame and the synthetic input.
    IWindowListener* Listener() const { return destroyed_ ? nullptr : listener_; }
    const CQtCanvas* Canvas() const { return backBuffer_.get(); }
    CQtCanvas* Canvas() { return backBuffer_.get(); }
    // The image the window's widgets are painted into, when the platform paints into one.
    const QImage* Surface() const;
    // Resizes the client canvas to `width` x `height` logical pixels (the scene scales to it).
    void ResizeClient(int width, int height);
    // The client point (logical) in the middle of a design pixel.
    QPointF ClientPoint(int designX, int designY) const;
    CCanvasWidget* CanvasWidget() const { return canvas_; }
    QMainWindow* Frame() const { return frame_.get(); }
    void OnFrameClosed();
    // Whether a close of the frame may go ahead: the program's own, or one the listener allows.
    bool MayClose();
    // Waits for the window's surface to be faulted in; before anything paints into it.
    void FinishWarmingSurface();
    // A new window paints nothing until its first frame is presented, or until a dialog is
    // about to cover it: its widgets would otherwise paint into the surface while it is being
    // warmed, and the scene's area once more when the frame comes. Paints as usual from now.
    void PaintFromNow();

private:
    double DevicePixelRatio() const;
    // The scale of the back buffer the window needs now: device pixels per design pixel.
    double SceneScale() const;
    // The client's logical pixels to repaint for a frame that changed `changed` of the scene.
    QRect ClientAreaOf(const PixelRect& changed) const;
    // On a window system: the size that fits the screen, or the remembered place and size.
    void PlaceOnScreen();
    static bool IsOffscreenPlatform();
    void RememberGeometry() const;
    // The back buffer draws its frames straight into the window's surface.
    void AttachSurface();
    // Gives the shown window its surface now and touches its pages on another thread, while
    // this one builds and draws the first frame.
    void WarmSurface();
    void BuildMenu(const WindowDescription& description);
    void AddItem(QMenu& menu, const MenuItem& item);
    // Sends the action's command to the listener; a non-empty shortcut works window-wide.
    void ConnectCommand(QAction* action, int command, const std::string& shortcut);

    std::unique_ptr<CFrameWindow> frame_;
    CCanvasWidget* canvas_ = nullptr; // owned by the frame
    std::unique_ptr<CQtCanvas> backBuffer_;
    IWindowListener* listener_ = nullptr;
    bool destroyed_ = false;
    std::map<int, QActionGroup*> menuGroups_; // the exclusive choices, owned by the frame
    bool destroying_ = false;                 // Destroy is closing the frame
    std::map<int, QAction*> actions_;         // owned by the frame's menus
    std::map<int, bool> checked_;             // what the checkable items say
    std::map<int, QMenu*> submenus_;
    bool remembersGeometry_ = false; // a window system's window, not the headless one
    bool opensMaximized_ = false;    // it was left maximised last time
    std::thread surfaceWarmer_;
    bool awaitingFirstFrame_ = false; // the frame's updates are off until PaintFromNow
};
