#pragma once
// The user's folders: where the defaults file, the user's presets and documents, and the logs
// live.

#include <filesystem>

class IUserFolders {
public:
    virtual ~IUserFolders() = default;
    // The user's application settings folder, or an empty path when the system has none.
    virtual std::filesystem::path SettingsRoot() const = 0;
    // The user's documents folder, or an empty path when the system has none.
    virtual std::filesystem::path DocumentsRoot() const = 0;
    // The user's folder for state that outlives a run but is no document (logs); empty when
    // the system has none.
    virtual std::filesystem::path StateRoot() const { return {}; }
};

// A root folder followed by "Quillmore" and "Gas Separator", created when missing; empty
// when the root is empty. Found anew each time it is needed.
std::filesystem::path SettingsFolder();
std::filesystem::path DocumentsFolder();
// The state root followed by "Quillmore", "Gas Separator" and "logs"; empty when the root is.
// Not created here: the log manager makes it.
std::filesystem::path LogFolder();
