#include "app/platform/qt/QtMainWindow.h"

#include "app/files/AtomicFile.h"
#include "app/platform/FatalError.h"
#include "app/platform/UserFolders.h"
#include "app/platform/qt/QtFonts.h"
#include "app/platform/qt/QtNativeControls.h"

#include <QAction>
#include <QActionGroup>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolTip>
#include <QUrl>
#include <QWindow>

#include "common/log_manager/Log_Manager.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A widget below a menu bar of odd height lies half a device pixel down at 150 %: the painter
// draws images there whole device pixels further, the half rounded up.
QPoint PainterImageOffset(const QTransform& transform) {
    return {static_cast<int>(std::floor(transform.dx() + 0.5)),
            static_cast<int>(std::floor(transform.dy() + 0.5))};
}

namespace {
// The smallest window: a quarter of the design size, still a picture of the whole scene.
constexpr int kSmallestShare = 4;
// The remembered place and size, in the user's settings folder.
constexpr const char* kGeometryFile = "window.yml";
constexpr std::size_t kMaxGeometryBytes = 4096;
} // namespace

CCanvasWidget::CCanvasWidget(CQtMainWindow& owner, WindowSize design, std::uint32_t background)
    : owner_(owner), design_(design), background_(QRgb(background & 0xFFFFFF)) {
    resize(design.width, design.height);
    setMinimumSize(std::max(design.width / kSmallestShare, 1),
                   std::max(design.height / kSmallestShare, 1));
    setMouseTracking(true); // moves without a button pressed drive the hover
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // the back buffer covers everything
}

SceneMapping CCanvasWidget::Mapping() const {
    return MapScene(design_, {width(), height()}, devicePixelRatioF());
}

QPoint CCanvasWidget::DesignPoint(const QPointF& point) const {
    int x = 0;
    int y = 0;
    Mapping().ToDesignPixel(point.x(), point.y(), x, y);
    return {x, y};
}

// The native controls follow the scene.
void CCanvasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const SceneMapping mapping = Mapping();
    for (QObject* child : children()) {
        if (auto* placed = dynamic_cast<CScenePlaced*>(child)) {
            placed->PlaceInScene(mapping);
        }
    }
    update();
}

bool CCanvasWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const IWindowListener* listener = owner_.Listener();
    const QPoint at = DesignPoint(help->pos());
    const std::string text = listener ? listener->TooltipAt(at.x(), at.y()) : "";
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

// The window's surface when the painter draws into it at `scale`, and where the widget's device
// pixel (0, 0) is in it (PainterImageOffset). Null for anything else (a grab, a widget rendered
// into a picture).
QImage* SurfaceOf(QPainter& painter, const QImage* surface, double scale, QPoint& offset) {
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    const QTransform transform = painter.deviceTransform();
    if (!device || device != surface || transform.type() > QTransform::TxScale ||
        transform.m11() != scale || transform.m22() != scale) {
        return nullptr;
    }
    offset = PainterImageOffset(transform);
    return static_cast<QImage*>(device);
}

QRect LogicalOf(const QRect& device, double scale) {
    return QRectF(device.x() / scale, device.y() / scale, device.width() / scale,
                  device.height() / scale)
        .toAlignedRect();
}

// The client's logical pixels over a frame pending in `canvas`: what the window repaints for
// it, and what its paint then draws straight into the surface.
QRect PendingInClient(const CQtCanvas& canvas, const SceneMapping& mapping) {
    return LogicalOf(canvas.PendingArea().translated(mapping.offsetX, mapping.offsetY),
                     mapping.deviceRatio);
}

QRect ToQRect(const WindowRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}
} // namespace

// A frame pending in the back buffer is drawn straight into the window's surface, where no
// native control lies over it (the controls paint over the surface, and the back buffer is
// brought up to date from it); anything else is copied from the back buffer, which holds the
// scene's device pixels at the scene's place. Around the scene goes the background colour.
void CCanvasWidget::paintEvent(QPaintEvent* event) {
    CQtCanvas* canvas = owner_.Canvas();
    if (!canvas) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const SceneMapping mapping = Mapping();
    const double ratio = mapping.deviceRatio;
    const QPoint sceneOffset(mapping.offsetX, mapping.offsetY);
    QRegion rest = event->region();
    PaintLetterbox(painter, rest, mapping);
    if (canvas->Scale() != mapping.deviceScale) {
        // Resized since the last frame: the old frame stretched until the next one is drawn.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(ToQRect(mapping.SceneInClient()), canvas->Image());
        return;
    }
    rest &= LogicalOf(
        QRect(sceneOffset, QSize(mapping.sceneDevice.width, mapping.sceneDevice.height)), ratio);
    QPoint offset;
    const QRect pending = PendingInClient(*canvas, mapping);
    if (canvas->HasPending() && (QRegion(pending) - rest).isEmpty() && !ControlOver(pending)) {
        QImage* surface = SurfaceOf(painter, owner_.Surface(), ratio, offset);
        if (surface && canvas->DrawPendingInto(*surface, offset + sceneOffset)) {
            rest -= pending;
        }
    }
    for (const QRect& area : rest) {
        const QRectF source(area.x() * ratio - sceneOffset.x(), area.y() * ratio - sceneOffset.y(),
                            area.width() * ratio, area.height() * ratio);
        painter.drawImage(QRectF(area),
                          InFormatOf(painter, canvas->ImageFor(source.toAlignedRect())), source);
        if (SurfaceOf(painter, owner_.Surface(), ratio, offset)) {
            canvas->SurfaceShows(source.toAlignedRect());
        }
    }
}

bool CCanvasWidget::ControlOver(const QRect& area) const {
    for (const QObject* child : children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (control && !control->isWindow() && !control->isHidden() &&
            control->geometry().intersects(area)) {
            return true;
        }
    }
    return false;
}

void CCanvasWidget::PaintLetterbox(QPainter& painter, const QRegion& region,
                                   const SceneMapping& mapping) {
    const QRegion around = region - ToQRect(mapping.SceneInClient());
    for (const QRect& area : around) {
        painter.fillRect(area, background_);
    }
}

void CCanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (IWindowListener* listener = owner_.Listener()) {
        const QPoint p = DesignPoint(event->position());
        listener->OnMouseMove(p.x(), p.y());
    }
}

void CCanvasWidget::mousePressEvent(QMouseEvent* event) {
    IWindowListener* listener = owner_.Listener();
    if (listener && event->button() == Qt::LeftButton) {
        const QPoint p = DesignPoint(event->position());
        listener->OnLeftButtonDown(p.x(), p.y());
    }
}

void CCanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    IWindowListener* listener = owner_.Listener();
    if (listener && event->button() == Qt::LeftButton) {
        const QPoint p = DesignPoint(event->position());
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

CQtMainWindow::~CQtMainWindow() {
    FinishWarmingSurface();
}

CFrameWindow::CFrameWindow(CQtMainWindow& owner) : owner_(owner) {
    setAcceptDrops(true); // a case dragged from a file manager
}

bool CFrameWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::UpdateRequest:
        owner_.FinishWarmingSurface(); // the widgets are about to paint into the surface
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!LocalFilesOf(drag->mimeData()).empty()) {
            drag->acceptProposedAction();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::vector<std::string> paths = LocalFilesOf(drop->mimeData());
        IWindowListener* listener = owner_.Listener();
        if (!paths.empty() && listener) {
            drop->acceptProposedAction();
            listener->OnFilesDropped(paths);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::event(event);
}

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
    FinishWarmingSurface(); // the old frame and its surface go below
    listener_ = listener;
    destroyed_ = false;
    actions_.clear(); // the previous frame's menus go with it
    submenus_.clear();
    frame_ = std::make_unique<CFrameWindow>(*this);
    frame_->setWindowTitle(QString::fromStdString(description.title));
    frame_->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    canvas_ = new CCanvasWidget(*this, {description.clientWidth, description.clientHeight},
                                description.backgroundColour);
    backBuffer_ = std::make_unique<CQtCanvas>(description.clientWidth, description.clientHeight,
                                              DevicePixelRatio());
    CheckOrFail(backBuffer_->HasPixels()); // no memory for the back buffer
    AttachSurface();
    frame_->setCentralWidget(canvas_);
    BuildMenu(description);
    // The headless window (driver, tests) opens at the design size, whatever its screen.
    remembersGeometry_ = !IsOffscreenPlatform();
    frame_->resize(description.clientWidth,
                   description.clientHeight + frame_->menuBar()->sizeHint().height());
    if (remembersGeometry_) {
        PlaceOnScreen();
    }
    const QIcon icon = IconFrom(description);
    if (!icon.isNull()) {
        frame_->setWindowIcon(icon);
    }
    frame_->setUpdatesEnabled(false); // until the first frame: see PaintFromNow
    awaitingFirstFrame_ = true;
    if (opensMaximized_) {
        frame_->showMaximized(); // as it was left; its normal place and size are kept under it
    } else {
        frame_->show();
    }
    WarmSurface();
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
    QObject::connect(action, &QAction::triggered, frame_.get(), [this, command, action] {
        if (IWindowListener* listener = Listener()) {
            listener->OnCommand(command);
        }
        if (action->isCheckable() && !action->actionGroup()) {
            action->setChecked(checked_[command]); // Qt toggled it; the command decides
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
    if (item.checkable) {
        action->setCheckable(true);
        action->setChecked(checked_[item.command]);
    }
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

void CQtMainWindow::SetMenuItemChecked(int command, bool checked) {
    checked_[command] = checked;
    if (const auto found = actions_.find(command); found != actions_.end()) {
        found->second->setChecked(checked);
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
    if (!awaitingFirstFrame_) { // else nothing paints: the warming goes on
        FinishWarmingSurface();
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double CQtMainWindow::DevicePixelRatio() const {
    return canvas_ ? canvas_->devicePixelRatioF() : 1.0;
}

double CQtMainWindow::SceneScale() const {
    return canvas_ ? canvas_->Mapping().deviceScale : 1.0;
}

// A window resized, or moved to a screen of another scale, gets a back buffer of the scale
// its scene is shown at: drawn at the window's device pixels, never stretched.
ICanvas& CQtMainWindow::BackBuffer() {
    if (!backBuffer_) { // before Open, drawing goes nowhere visible
        backBuffer_ = std::make_unique<CQtCanvas>(1, 1);
    } else if (canvas_ && backBuffer_->Scale() != SceneScale()) {
        auto resized =
            std::make_unique<CQtCanvas>(backBuffer_->Width(), backBuffer_->Height(), SceneScale());
        CheckOrFail(resized->HasPixels());
        backBuffer_ = std::move(resized);
        AttachSurface();
    }
    return *backBuffer_;
}

void CQtMainWindow::Present(const PixelRect& changed) {
    PaintFromNow();
    FinishWarmingSurface();
    if (canvas_ && !destroyed_ && !changed.IsEmpty()) {
        canvas_->repaint(ClientAreaOf(changed));
    }
    if (backBuffer_) {
        backBuffer_->FinishPending(); // the window did not paint it
    }
}

// A frame pending in the back buffer is repainted over exactly its device pixels, which the
// paint then draws straight into the surface and nothing else. Otherwise the changed rectangle
// rounded to logical pixels, at another scale than the screen's with one more on each side: a
// changed device pixel may straddle two logical ones.
QRect CQtMainWindow::ClientAreaOf(const PixelRect& changed) const {
    const SceneMapping mapping = canvas_->Mapping();
    if (backBuffer_ && backBuffer_->HasPending() && backBuffer_->Scale() == mapping.deviceScale) {
        return PendingInClient(*backBuffer_, mapping);
    }
    const WindowRect area =
        mapping.ToClientRect({changed.x, changed.y, changed.width, changed.height});
    const int margin = mapping.deviceScale == mapping.deviceRatio ? 0 : 1;
    return QRect(area.x, area.y, area.width, area.height)
        .adjusted(-margin, -margin, margin, margin);
}

// A first touch of a page costs far more on some systems (virtual machines) than copying into
// it; the first frame would otherwise fault in the whole surface page by page as it is copied.
void CQtMainWindow::WarmSurface() {
    FinishWarmingSurface();
    QBackingStore* store = frame_->backingStore();
    if (!store) {
        return;
    }
    store->resize(frame_->size()); // what the first paint asks for: the surface is made now
    QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image) {
        return;
    }
    auto* image = static_cast<QImage*>(device);
    uchar* bits = image->bits();
    const auto bytes = static_cast<std::size_t>(image->sizeInBytes());
    // Nothing is shown yet: the first frame paints all of it.
    surfaceWarmer_ = std::thread([bits, bytes] { PixelMemory::FaultIn(bits, bytes); });
}

void CQtMainWindow::PaintFromNow() {
    if (!awaitingFirstFrame_) {
        return;
    }
    awaitingFirstFrame_ = false;
    FinishWarmingSurface();
    if (frame_) {
        frame_->setUpdatesEnabled(true); // the whole window is painted at the next update
    }
}

void CQtMainWindow::FinishWarmingSurface() {
    if (surfaceWarmer_.joinable()) {
        surfaceWarmer_.join();
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
    FinishWarmingSurface();
    if (destroyed_) {
        return;
    }
    IWindowListener* listener = listener_;
    RememberGeometry();
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
    // The grab holds device pixels; the buffer says how many per design pixel, so it is
    // drawn back at its design size.
    const WindowRect area = canvas_->Mapping().ToClientRect({x, y, w, h});
    const QRect rect = QRect(area.x, area.y, area.width, area.height).intersected(canvas_->rect());
    const QPixmap grab = canvas_->grab(rect);
    double scale = w > 0 && !grab.isNull() ? static_cast<double>(grab.width()) / w : 1.0;
    if (std::abs(grab.width() - w * SceneScale()) <= 1.0) {
        scale = SceneScale(); // drawn back pixel for pixel, not resampled
    }
    return ToPixelBuffer(grab.toImage(), scale);
}

void CQtMainWindow::ResizeClient(int width, int height) {
    FinishWarmingSurface();
    if (!frame_ || !canvas_) {
        return;
    }
    frame_->resize(frame_->size() + (QSize(width, height) - canvas_->size()));
    // The layout gives the canvas its new size at once, so the next frame is drawn at it.
    frame_->layout()->activate();
}

QPointF CQtMainWindow::ClientPoint(int designX, int designY) const {
    if (!canvas_) {
        return {static_cast<double>(designX), static_cast<double>(designY)};
    }
    double x = 0;
    double y = 0;
    canvas_->Mapping().ToClient(designX, designY, x, y);
    return {x, y};
}

namespace {
// The frame a window manager puts around the window (title bar and borders), a guess that
// errs on the large side: it is unknown until the window is shown.
constexpr WindowSize kFrameGuess{8, 40};

WindowRect ToWindowRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

std::filesystem::path GeometryFile() {
    const std::filesystem::path folder = SettingsFolder();
    return folder.empty() ? folder : folder / kGeometryFile;
}

// The remembered window's file, empty when there is none or it cannot be read.
std::string RememberedWindowText() {
    const std::filesystem::path file = GeometryFile();
    std::string text;
    std::error_code error;
    if (file.empty() || !std::filesystem::exists(file, error) ||
        !ReadRegularFile(file, kMaxGeometryBytes, text, error)) {
        return {};
    }
    if (!ParseWindowGeometry(text)) {
        LOG_WARNING("Window", "Ignoring the window's place and size in %s: not four numbers",
                    file.string().c_str());
    }
    return text;
}
} // namespace

bool CQtMainWindow::IsOffscreenPlatform() {
    const QString name = QGuiApplication::platformName();
    return name == "offscreen" || name == "minimal";
}

// As large as fits the screen's free area with the aspect kept, up to the design size, or as
// it was last time when that still fits and lies on a screen.
void CQtMainWindow::PlaceOnScreen() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    screen = screen ? screen : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const double ratio = screen->devicePixelRatio();
    const int menu = frame_->menuBar()->sizeHint().height();
    const WindowSize design =
        canvas_->sizeHint().isValid()
            ? WindowSize{canvas_->sizeHint().width(), canvas_->sizeHint().height()}
            : WindowSize{canvas_->width(), canvas_->height()};
    const WindowSize client = FitClientSize(
        design,
        {static_cast<int>(available.width() * ratio), static_cast<int>(available.height() * ratio)},
        ratio, {kFrameGuess.width, kFrameGuess.height + menu});
    std::vector<WindowRect> screens;
    for (const QScreen* each : QGuiApplication::screens()) {
        screens.push_back(ToWindowRect(each->availableGeometry()));
    }
    const std::string remembered = RememberedWindowText();
    const WindowRect placed =
        PlaceWindow(ParseWindowGeometry(remembered), {client.width, client.height + menu},
                    ToWindowRect(available), kFrameGuess, screens);
    frame_->setGeometry(placed.x, placed.y, placed.width, placed.height);
    opensMaximized_ = ParseWindowMaximized(remembered);
}

void CQtMainWindow::RememberGeometry() const {
    if (!remembersGeometry_ || !frame_) {
        return;
    }
    const QRect normal = frame_->isMaximized() || frame_->isMinimized() || frame_->isFullScreen()
                             ? frame_->normalGeometry()
                             : frame_->geometry();
    const std::filesystem::path file = GeometryFile();
    std::error_code error;
    if (normal.isValid() && !file.empty() &&
        !WriteFileAtomically(
            file, FormatWindowGeometry(ToWindowRect(normal), frame_->isMaximized()), error)) {
        LOG_WARNING("Window", "Cannot remember the window's place and size: %s",
                    WriteFailureReason(file, error).c_str());
    }
}

std::unique_ptr<INativeTextEdit> CQtMainWindow::CreateTextEdit(const std::string& name) {
    return std::make_unique<CQtTextEdit>(canvas_, name);
}

std::unique_ptr<INativeComboBox> CQtMainWindow::CreateComboBox(const std::string& name) {
    return std::make_unique<CQtComboBox>(canvas_, name);
}
