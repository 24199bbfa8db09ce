#include "app/platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void CQtClipboard::SetText(const std::string& utf8) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(utf8));
    }
}

std::string CQtClipboard::Text() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text().toStdString() : std::string();
}
