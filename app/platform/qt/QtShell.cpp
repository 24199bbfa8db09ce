#include "app/platform/qt/QtShell.h"

#include "app/platform/qt/QtMainWindow.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {
QMessageBox::Icon ToQt(MessageIcon icon) {
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

void CQtShell::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) {
    QMessageBox box(ToQt(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok,
                    window_ && !window_->IsDestroyed() ? window_->Frame() : nullptr);
    box.exec();
}

void CQtShell::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void CQtShell::OpenFile(const std::filesystem::path& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
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
