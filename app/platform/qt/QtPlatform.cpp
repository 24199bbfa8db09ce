#include "app/platform/qt/QtPlatform.h"

#include "app/platform/Platform.h"
#include "app/platform/qt/PosixFileSystem.h"
#include "app/platform/qt/QtAutomation.h"
#include "app/platform/qt/QtClipboard.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/platform/qt/QtMedia.h"
#include "app/platform/qt/QtReportRenderer.h"
#include "app/platform/qt/QtShell.h"
#include "app/platform/qt/QtStyle.h"
#include "app/platform/qt/QtUserFolders.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>

#include <cstdlib>
#include <string>

namespace {
bool HasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Chooses the platform before the application object exists. Without a display the
// offscreen platform is used; with one, offscreen is the fallback should it fail to open.
void ChoosePlatform(CQtPlatform::Display display) {
    if (display == CQtPlatform::Display::Offscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    if (HasEnvironment("QT_QPA_PLATFORM")) {
        return; // the user's explicit choice
    }
    if (HasEnvironment("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "wayland;xcb;offscreen");
    } else if (HasEnvironment("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}
// The offscreen platform warns about window hints it cannot honour; nothing to act on.
QtMessageHandler gPreviousHandler = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("propagateSizeHints")) {
        return;
    }
    if (gPreviousHandler) {
        gPreviousHandler(type, context, text);
    }
}
} // namespace

namespace {
// The Qt that runs the program.
const char* Toolkit() {
    static const std::string name = std::string("Qt ") + qVersion();
    return name.c_str();
}
} // namespace

struct CQtPlatform::Impl {
    std::unique_ptr<QApplication> application;
    CQtMainWindow window;
    CQtShell shell{&window};
    CQtUserFolders userFolders;
    CPosixFileSystem fileSystem;
    CQtClipboard clipboard;
    CQtReportRenderer reportRenderer;
    std::unique_ptr<CQtAutomation> automation;
};

CQtPlatform::CQtPlatform(int& argc, char** argv, Display display) : impl_(new Impl) {
    IgnoreBrokenPipes(); // a closed standard output must not end the program unsaved
    ChoosePlatform(display);
    gPreviousHandler = qInstallMessageHandler(FilterMessages);
    impl_->application = std::make_unique<QApplication>(argc, argv);
    InstallAppStyle();
    // Wayland's app id, so the desktop shows the window under the menu entry's name and icon.
    QGuiApplication::setDesktopFileName(GS_APP_ID);
    // The main loop ends the program, not the last closed window.
    QApplication::setQuitOnLastWindowClosed(false);
}

CQtPlatform::~CQtPlatform() {
    Uninstall();
}

bool CQtPlatform::IsOffscreen() const {
    const QString name = QGuiApplication::platformName();
    return name == "offscreen" || name == "minimal";
}

void CQtPlatform::Install(bool withAutomation) {
    PlatformServices& services = Platform();
    services.mainWindow = &impl_->window;
    services.shell = &impl_->shell;
    services.userFolders = &impl_->userFolders;
    services.fileSystem = &impl_->fileSystem;
    services.clipboard = &impl_->clipboard;
    services.reportRenderer = &impl_->reportRenderer;
    services.toolkit = Toolkit();
    services.decimalComma = QLocale::system().decimalPoint() == QStringLiteral(",");
    InstallQtMediaServices();
    if (!withAutomation) {
        InstallQtFatalErrorHandler(); // nobody would answer a message box in a driver run
    }
    if (withAutomation) {
        impl_->automation = std::make_unique<CQtAutomation>(impl_->window);
        services.automation = impl_->automation.get();
    }
}

namespace {
// Clears a service slot only while it still holds this platform's object.
template <class Service, class Ours> void ClearIfOurs(Service*& slot, Ours& ours) {
    if (slot == &ours) {
        slot = nullptr;
    }
}
} // namespace

void CQtPlatform::Uninstall() {
    PlatformServices& services = Platform();
    ClearIfOurs(services.mainWindow, impl_->window);
    ClearIfOurs(services.shell, impl_->shell);
    ClearIfOurs(services.userFolders, impl_->userFolders);
    ClearIfOurs(services.fileSystem, impl_->fileSystem);
    ClearIfOurs(services.clipboard, impl_->clipboard);
    ClearIfOurs(services.reportRenderer, impl_->reportRenderer);
    if (impl_->automation && services.automation == impl_->automation.get()) {
        services.automation = nullptr;
    }
    if (services.toolkit == Toolkit()) {
        services.toolkit = nullptr;
    }
}
