#include "app/platform/qt/QtMainWindow.h"

#include "app/platform/FatalError.h"
#include "app/platform/qt/QtFonts.h"
#include "app/platform/qt/QtNativeControls.h"

#include <QAction>
#include <QActionGroup>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <QWindow>

#include <cmath>

CCanvasWidget::CCanvasWidget(CQtMainWindow& owner, int width, int height) : owner_(owner) {
    setFixedSize(width, height);
    setMouseTracking(true); // moves without a button pressed drive the hover
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // the back buffer covers everything
}

bool CCanvasWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const IWindowListener* listener = owner_.Listener();
    const std::string text = listener ? listener->TooltipAt(help->pos().x(), help->pos().y()) : "";
    if (text.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), WrappedToolTip(text), this);
    }
    return true;
}

// Text boxes pass on the Return and Escape they do not use, so these arrive here from them
// as well as from the window itself.
void CCanvasWidget::keyPressEvent(QKeyEvent* event) {
    IWindowListener* listener = owner_.Listener();
    const int key = event->key();
    if (listener && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        listener->OnDialogKey(DialogKey::Accept);
    } else if (listener && key == Qt::Key_Escape) {
        listener->OnDialogKey(DialogKey::Cancel);
    } else {
        QWidget::keyPressEvent(event);
    }
}

namespace {
// The back buffer's pixels seen in the format of the surface painted on, when that is RGB32
// (the offscreen and some X11 backing stores): drawing them in their own premultiplied format
// would make Qt convert every pixel, on its thread pool, every frame. The view is the same
// picture: an RGB32 surface keeps the colours and sets alpha to opaque either way.
QImage InFormatOf(QPainter& painter, const QImage& pixels) {
    const QPaintDevice* device =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image ||
        static_cast<const QImage*>(device)->format() != QImage::Format_RGB32) {
        return pixels;
    }
    return QImage(pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine(),
                  QImage::Format_RGB32);
}

// The window's surface when the painter draws into it, and where the widget's device pixel
// (0, 0) is in it: the painter must map the widget to it by whole device pixels at `scale`.
// Null for anything else (a grab, a widget rendered into a picture).
QImage* SurfaceOf(QPainter& painter, const QImage* surface, double scale, QPoint& offset) {
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const QTransform transform = painter.deviceTransform();
    if (!device || device != surface || transform.type() > QTransform::TxScale ||
        transform.m11() != scale || transform.m22() != scale ||
        transform.dx() != std::round(transform.dx()) ||
        transform.dy() != std::round(transform.dy())) {
        return nullptr;
    }
    offset = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    return static_cast<QImage*>(device);
}

QRect LogicalOf(const QRect& device, double scale) {
    return QRectF(device.x() / scale, device.y() / scale, device.width() / scale,
                  device.height() / scale)
        .toAlignedRect();
}
} // namespace

// A frame pending in the back buffer is drawn straight into the window's surface, where no
// native control lies over it (the controls paint over the surface, and the back buffer is
// brought up to date from it); anything else is copied from the back buffer, which holds
// device pixels: the logical rectangle to paint is taken from the matching device rectangle.
void CCanvasWidget::paintEvent(QPaintEvent* event) {
    CQtCanvas* canvas = owner_.Canvas();
    if (!canvas) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const double scale = canvas->Scale();
    QRegion rest = event->region();
    QPoint offset;
    const QRect pending = LogicalOf(canvas->PendingArea(), scale);
    if (canvas->HasPending() && (QRegion(pending) - rest).isEmpty() &&
        !childrenRegion().intersects(pending)) {
        QImage* surface = SurfaceOf(painter, owner_.Surface(), scale, offset);
        if (surface && canvas->DrawPendingInto(*surface, offset)) {
            rest -= pending;
        }
    }
    for (const QRect& area : rest) {
        const QRectF source(area.x() * scale, area.y() * scale, area.width() * scale,
                            area.height() * scale);
        painter.drawImage(QRectF(area), InFormatOf(painter, canvas->Image()), source);
        if (SurfaceOf(painter, owner_.Surface(), scale, offset)) {
            canvas->SurfaceShows(source.toAlignedRect());
        }
    }
}

void CCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (IWindowListener* listener = owner_.Listener()) {
        const QPoint p = event->position().toPoint();
        listener->OnMouseMove(p.x(), p.y());
    }
}

void CCanvasWidget::mousePressEvent(QMouseEvent* event) {
    IWindowListener* listener = owner_.Listener();
    if (listener && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        listener->OnLeftButtonDown(p.x(), p.y());
    }
}

void CCanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    IWindowListener* listener = owner_.Listener();
    if (listener && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        listener->OnLeftButtonUp(p.x(), p.y());
    }
}

// The user's close asks the listener first (unsaved changes); the program's own Destroy does not.
void CFrameWindow::closeEvent(QCloseEvent* event) {
    if (!owner_.MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    owner_.OnFrameClosed();
}

bool CQtMainWindow::MayClose() {
    IWindowListener* listener = Listener();
    return destroying_ || !listener || listener->OnCloseRequested();
}

CQtMainWindow::CQtMainWindow() = default;

CQtMainWindow::~CQtMainWindow() = default;

namespace {
QIcon IconFrom(const WindowDescription& description) {
    QIcon icon;
    for (const PixelBuffer* image : {&description.largeIcon, &description.smallIcon}) {
        if (!image->pixels.empty()) {
            icon.addPixmap(QPixmap::fromImage(WrapImage(RefOf(*image)).copy()));
        }
    }
    return icon;
}
} // namespace

void CQtMainWindow::Open(const WindowDescription& description, IWindowListener* listener) {
    listener_ = listener;
    destroyed_ = false;
    actions_.clear(); // the previous frame's menus go with it
    submenus_.clear();
    frame_ = std::make_unique<CFrameWindow>(*this);
    frame_->setWindowTitle(QString::fromStdString(description.title));
    frame_->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    canvas_ = new CCanvasWidget(*this, description.clientWidth, description.clientHeight);
    backBuffer_ = std::make_unique<CQtCanvas>(description.clientWidth, description.clientHeight,
                                              DevicePixelRatio());
    CheckOrFail(!backBuffer_->Image().isNull()); // no memory for the back buffer
    AttachSurface();
    frame_->setCentralWidget(canvas_);
    BuildMenu(description);
    frame_->layout()->setSizeConstraint(QLayout::SetFixedSize); // not resizable
    const QIcon icon = IconFrom(description);
    if (!icon.isNull()) {
        frame_->setWindowIcon(icon);
    }
    frame_->show();
    // The window itself starts with the keyboard focus, not its first native control.
    canvas_->setFocus(Qt::OtherFocusReason);
    frame_->activateWindow();
}

void CQtMainWindow::ConnectCommand(QAction* action, int command, const std::string& shortcut) {
    if (!shortcut.empty()) {
        action->setShortcut(
            QKeySequence(QString::fromStdString(shortcut), QKeySequence::PortableText));
        // One window: the chord works wherever the focus is, native controls included.
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    if (command != 0) {
        actions_[command] = action;
    }
    QObject::connect(action, &QAction::triggered, frame_.get(), [this, command] {
        if (IWindowListener* listener = Listener()) {
            listener->OnCommand(command);
        }
    });
}

void CQtMainWindow::BuildMenu(const WindowDescription& description) {
    menuGroups_.clear(); // a window opened again: the old groups went with the old frame
    for (const Menu& menuDescription : description.menus) {
        QMenu* menu = frame_->menuBar()->addMenu(QString::fromStdString(menuDescription.title));
        for (const MenuItem& item : menuDescription.items) {
            if (item.text.empty()) {
                menu->addSeparator();
                continue;
            }
            AddItem(*menu, item);
        }
    }
    for (const Accelerator& accelerator : description.accelerators) {
        auto* action = new QAction(frame_.get());
        ConnectCommand(action, accelerator.command, accelerator.shortcut);
        frame_->addAction(action);
    }
}

void CQtMainWindow::CheckMenuItem(int command) {
    for (const auto& [id, group] : menuGroups_) {
        for (QAction* action : group->actions()) {
            if (action->data().toInt() == command) {
                action->setChecked(true);
            }
        }
    }
}

void CQtMainWindow::AddItem(QMenu& menu, const MenuItem& item) {
    if (item.submenu) {
        QMenu* submenu = menu.addMenu(QString::fromStdString(item.text));
        submenu->setEnabled(false); // filled by SetSubmenu
        submenus_[item.command] = submenu;
        return;
    }
    QAction* action = menu.addAction(QString::fromStdString(item.text));
    ConnectCommand(action, item.command, item.shortcut);
    if (item.group > 0) {
        action->setCheckable(true);
        action->setData(item.command);
        QActionGroup*& group = menuGroups_[item.group];
        if (!group) {
            group = new QActionGroup(frame_.get());
            group->setExclusive(true);
        }
        group->addAction(action);
    }
    if (!item.secondShortcut.empty()) {
        action->setShortcuts(
            {action->shortcut(), QKeySequence(QString::fromStdString(item.secondShortcut),
                                              QKeySequence::PortableText)});
    }
}

void CQtMainWindow::SetTitle(const std::string& title) {
    if (frame_) {
        frame_->setWindowTitle(QString::fromStdString(title));
    }
}

void CQtMainWindow::SetCommandEnabled(int command, bool enabled) {
    if (const auto found = actions_.find(command); found != actions_.end()) {
        found->second->setEnabled(enabled);
    }
}

void CQtMainWindow::SetSubmenu(int command, const std::vector<MenuItem>& items) {
    const auto found = submenus_.find(command);
    if (found == submenus_.end()) {
        return;
    }
    QMenu* submenu = found->second;
    for (QAction* action : submenu->actions()) {
        actions_.erase(action->data().toInt());
        submenu->removeAction(action);
        action->deleteLater();
    }
    for (const MenuItem& item : items) {
        QAction* action = submenu->addAction(QString::fromStdString(item.text));
        action->setData(item.command);
        ConnectCommand(action, item.command, item.shortcut);
    }
    submenu->setEnabled(!items.empty());
}

void CQtMainWindow::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double CQtMainWindow::DevicePixelRatio() const {
    return canvas_ ? canvas_->devicePixelRatioF() : 1.0;
}

// A window moved to a screen of another scale gets a back buffer of that scale.
ICanvas& CQtMainWindow::BackBuffer() {
    if (!backBuffer_) { // before Open, drawing goes nowhere visible
        backBuffer_ = std::make_unique<CQtCanvas>(1, 1);
    } else if (canvas_ && backBuffer_->Scale() != DevicePixelRatio()) {
        auto resized = std::make_unique<CQtCanvas>(backBuffer_->Width(), backBuffer_->Height(),
                                                   DevicePixelRatio());
        CheckOrFail(!resized->Image().isNull());
        backBuffer_ = std::move(resized);
        AttachSurface();
    }
    return *backBuffer_;
}

void CQtMainWindow::Present(const PixelRect& changed) {
    if (canvas_ && !destroyed_ && !changed.IsEmpty()) {
        canvas_->repaint(changed.x, changed.y, changed.width, changed.height);
    }
    if (backBuffer_) {
        backBuffer_->FinishPending(); // the window did not paint it
    }
}

void CQtMainWindow::AttachSurface() {
    backBuffer_->AttachSurface([this] { return Surface(); });
}

const QImage* CQtMainWindow::Surface() const {
    QBackingStore* store = canvas_ && !destroyed_ ? canvas_->backingStore() : nullptr;
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    return device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
}

bool CQtMainWindow::IsShowing() const {
    if (!frame_ || destroyed_ || !frame_->isVisible() || frame_->isMinimized()) {
        return false;
    }
    const QWindow* handle = frame_->windowHandle();
    return handle && handle->isExposed();
}

void CQtMainWindow::Destroy() {
    if (frame_ && !destroyed_) {
        destroying_ = true;
        frame_->close(); // the close event reports the destruction
        destroying_ = false;
    }
    OnFrameClosed();
}

void CQtMainWindow::OnFrameClosed() {
    if (destroyed_) {
        return;
    }
    IWindowListener* listener = listener_;
    destroyed_ = true;
    if (listener) {
        listener->OnDestroy();
    }
}

void CQtMainWindow::FocusMainWindow() {
    if (canvas_) {
        canvas_->setFocus(Qt::OtherFocusReason);
    }
}

PixelBuffer CQtMainWindow::GrabClient(int x, int y, int w, int h) {
    if (!canvas_) {
        return {};
    }
    // The grab holds device pixels; the buffer says how many per logical pixel, so it is
    // drawn back at its logical size.
    const QRect rect = QRect(x, y, w, h).intersected(canvas_->rect());
    const QPixmap grab = canvas_->grab(rect);
    return ToPixelBuffer(grab.toImage(), grab.devicePixelRatio());
}

std::unique_ptr<INativeTextEdit> CQtMainWindow::CreateTextEdit(const std::string& name) {
    return std::make_unique<CQtTextEdit>(canvas_, name);
}

std::unique_ptr<INativeComboBox> CQtMainWindow::CreateComboBox(const std::string& name) {
    return std::make_unique<CQtComboBox>(canvas_, name);
}
