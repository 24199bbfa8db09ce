#include "app/platform/qt/QtUserFolders.h"

#include <QDir>
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

// The XDG base directory rules: a relative XDG_STATE_HOME is ignored.
std::filesystem::path CQtUserFolders::StateRoot() const {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state)) {
        return std::filesystem::path(state.toStdString());
    }
    const QString home = QDir::homePath();
    return home.isEmpty() ? std::filesystem::path()
                          : std::filesystem::path(home.toStdString()) / ".local" / "state";
}
