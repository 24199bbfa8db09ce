#include "app/platform/qt/QtShell.h"

#include "app/platform/qt/QtMainWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace {
QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(
        ToQtIcon(content.icon), QString::fromStdString(content.title),
        QString::fromStdString(content.text), QMessageBox::Ok, parent);
    // Paths and addresses in the text can be selected and copied.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

void CQtShell::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) {
    MakeMessageBox({title, text, icon},
                   window_ && !window_->IsDestroyed() ? window_->Frame() : nullptr)
        ->exec();
}

namespace {
// How long the desktop's launcher may take to say whether it found a program. Launchers hand the
// target to a program and return at once; one still running after this is taken as having
// found one (it keeps running on its own).
constexpr int kLauncherVerdictMs = 5000;

// Opens the target with the desktop's launcher (xdg-open) and judges by its exit status: a
// launcher that runs but finds no program for the target fails, and the caller says so. Without
// the launcher, Qt's own way is tried.
bool OpenWithDesktop(const QUrl& target) {
    auto* launcher = new QProcess(QCoreApplication::instance());
    QObject::connect(launcher, &QProcess::finished, launcher, &QObject::deleteLater);
    QObject::connect(launcher, &QProcess::errorOccurred, launcher, &QObject::deleteLater);
    launcher->setProcessChannelMode(QProcess::ForwardedChannels);
    launcher->start("xdg-open", {target.toString(QUrl::FullyEncoded)});
    if (!launcher->waitForStarted(kLauncherVerdictMs)) {
        return QDesktopServices::openUrl(target);
    }
    if (!launcher->waitForFinished(kLauncherVerdictMs)) {
        return true;
    }
    return launcher->exitStatus() == QProcess::NormalExit && launcher->exitCode() == 0;
}
} // namespace

bool CQtShell::OpenUrl(const std::string& url) {
    return OpenWithDesktop(QUrl(QString::fromStdString(url)));
}

bool CQtShell::OpenFile(const std::filesystem::path& path) {
    return OpenWithDesktop(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

std::optional<std::filesystem::path>
CQtShell::ChooseSaveFile(const std::string& title, const std::filesystem::path& suggested,
                         const std::string& filter) {
    const QString chosen = QFileDialog::getSaveFileName(
        window_ && !window_->IsDestroyed() ? window_->Frame() : nullptr,
        QString::fromStdString(title), QString::fromStdString(suggested.string()),
        QString::fromStdString(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}
