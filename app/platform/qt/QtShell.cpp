#include "app/platform/qt/QtShell.h"

#include "app/platform/qt/QtMainWindow.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
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

bool CQtShell::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool CQtShell::OpenFile(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
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
