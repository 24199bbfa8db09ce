#include "app/platform/qt/QtUserFolders.h"

#include <QStandardPaths>

namespace {
std::filesystem::path Location(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? std::filesystem::path() : std::filesystem::path(path.toStdString());
}
} // namespace

std::filesystem::path CQtUserFolders::SettingsRoot() const {
    return Location(QStandardPaths::GenericConfigLocation);
}

std::filesystem::path CQtUserFolders::DocumentsRoot() const {
    return Location(QStandardPaths::DocumentsLocation);
}
