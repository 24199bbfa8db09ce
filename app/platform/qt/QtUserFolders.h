#pragma once

#include "app/platform/UserFolders.h"

// The user's folders from QStandardPaths: the generic configuration folder (XDG_CONFIG_HOME,
// normally ~/.config) and the Documents folder (~/Documents, or as the user-dirs file says),
// unless XDG_DOCUMENTS_DIR names it; the state folder from XDG_STATE_HOME, normally
// ~/.local/state (Qt 6.4 has no location for it).
class CQtUserFolders : public IUserFolders {
public:
    std::filesystem::path SettingsRoot() const override;
    std::filesystem::path DocumentsRoot() const override;
    std::filesystem::path StateRoot() const override;
};
