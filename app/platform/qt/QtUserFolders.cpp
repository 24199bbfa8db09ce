#include "app/platform/qt/QtUserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {
std::filesystem::path Location(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? std::filesystem::path() : std::filesystem::path(path.toStdString());
}

// XDG_DOCUMENTS_DIR as the XDG user directories read it: an absolute path, or one that starts
// with "$HOME/" (the only variable the user-dirs file has). Empty for anything else, which is
// ignored; Qt reads the user-dirs file itself, but not the environment.
std::filesystem::path DocumentsFromEnvironment() {
    QString documents = qEnvironmentVariable("XDG_DOCUMENTS_DIR");
    const QString home = qEnvironmentVariable("HOME");
    if (documents == "$HOME" || documents.startsWith("$HOME/")) {
        if (home.isEmpty()) {
            return {};
        }
        documents.replace(0, 5, home);
    }
    return QDir::isAbsolutePath(documents) ? std::filesystem::path(documents.toStdString())
                                           : std::filesystem::path();
}
} // namespace

std::filesystem::path CQtUserFolders::SettingsRoot() const {
    return Location(QStandardPaths::GenericConfigLocation);
}

std::filesystem::path CQtUserFolders::DocumentsRoot() const {
    const std::filesystem::path documents = DocumentsFromEnvironment();
    return documents.empty() ? Location(QStandardPaths::DocumentsLocation) : documents;
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
