#include "app/platform/qt/QtMainWindow.h"

#include "app/platform/FatalError.h"
#include "app/platform/qt/QtFonts.h"
#include "app/platform/qt/QtNativeControls.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <QWindow>

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
} // namespace

// The back buffer holds device pixels: the logical rectangle to paint is taken from the
// matching device rectangle.
void CCanvasWidget::paintEvent(QPaintEvent* event) {
    if (const CQtCanvas* canvas = owner_.Canvas()) {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect area = event->rect();
        const double scale = canvas->Scale();
        const QRectF source(area.x() * scale, area.y() * scale, area.width() * scale,
                            area.height() * scale);
        painter.drawImage(QRectF(area), InFormatOf(painter, canvas->Image()), source);
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

void CFrameWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    owner_.OnFrameClosed();
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
    frame_ = std::make_unique<CFrameWindow>(*this);
    frame_->setWindowTitle(QString::fromStdString(description.title));
    frame_->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    canvas_ = new CCanvasWidget(*this, description.clientWidth, description.clientHeight);
    backBuffer_ = std::make_unique<CQtCanvas>(description.clientWidth, description.clientHeight,
                                              DevicePixelRatio());
    CheckOrFail(!backBuffer_->Image().isNull()); // no memory for the back buffer
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
    QObject::connect(action, &QAction::triggered, frame_.get(), [this, command] {
        if (IWindowListener* listener = Listener()) {
            listener->OnCommand(command);
        }
    });
}

void CQtMainWindow::BuildMenu(const WindowDescription& description) {
    for (const Menu& menuDescription : description.menus) {
        QMenu* menu = frame_->menuBar()->addMenu(QString::fromStdString(menuDescription.title));
        for (const MenuItem& item : menuDescription.items) {
            if (item.text.empty()) {
                menu->addSeparator();
                continue;
            }
            ConnectCommand(menu->addAction(QString::fromStdString(item.text)), item.command,
                           item.shortcut);
        }
    }
    for (const Accelerator& accelerator : description.accelerators) {
        auto* action = new QAction(frame_.get());
        ConnectCommand(action, accelerator.command, accelerator.shortcut);
        frame_->addAction(action);
    }
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
    }
    return *backBuffer_;
}

void CQtMainWindow::Present(const PixelRect& changed) {
    if (canvas_ && !destroyed_ && !changed.IsEmpty()) {
        canvas_->repaint(changed.x, changed.y, changed.width, changed.height);
    }
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
        frame_->close(); // the close event reports the destruction
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
