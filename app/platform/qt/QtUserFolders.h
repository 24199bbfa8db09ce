#pragma once

#include "app/platform/UserFolders.h"

// The user's folders from QStandardPaths: the generic configuration folder (XDG_CONFIG_HOME,
// normally ~/.config) and the Documents folder (XDG_DOCUMENTS_DIR, normally ~/Documents).
class CQtUserFolders : public IUserFolders {
public:
    std::filesystem::path SettingsRoot() const override;
    std::filesystem::path DocumentsRoot() const override;
};
