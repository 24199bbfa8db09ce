#include "app/platform/qt/QtShell.h"

#include "app/platform/qt/QtMainWindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QProcess>
#include <QUrl>

QWidget* CQtShell::Parent() const {
    if (!window_ || window_->IsDestroyed()) {
        return nullptr;
    }
    window_->PaintFromNow(); // a dialog over a window not painted yet would show it blank
    return window_->Frame();
}

void CQtShell::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) {
    MakeMessageBox({title, text, icon}, Parent())->exec();
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
    const QString chosen = QFileDialog::getSaveFileName(Parent(), QString::fromStdString(title),
                                                        QString::fromStdString(suggested.string()),
                                                        QString::fromStdString(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

std::optional<std::filesystem::path> CQtShell::ChooseOpenFile(const std::string& title,
                                                              const std::filesystem::path& folder,
                                                              const std::string& filter) {
    const QString chosen = QFileDialog::getOpenFileName(Parent(), QString::fromStdString(title),
                                                        QString::fromStdString(folder.string()),
                                                        QString::fromStdString(filter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.toStdString());
}

std::optional<int> CQtShell::AskChoice(const std::string& title, const std::string& text,
                                       const std::vector<std::string>& buttons) {
    CChoiceBox box({title, text, buttons}, Parent());
    box.exec();
    return box.Chosen();
}

std::optional<std::string> CQtShell::AskText(const std::string& title, const std::string& prompt,
                                             const std::string& text) {
    const std::unique_ptr<QInputDialog> dialog = MakeTextDialog({title, prompt, text}, Parent());
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog->textValue().toStdString();
}

std::optional<std::vector<std::string>> CQtShell::AskForm(const FormRequest& form) {
    CFormDialog dialog(form, Parent());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Texts();
}

std::optional<int> CQtShell::ChooseRow(const TableRequest& table) {
    CTableDialog dialog(table, Parent());
    dialog.exec();
    return dialog.PickedRow();
}
