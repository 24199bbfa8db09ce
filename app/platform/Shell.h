#pragma once
// The desktop: message boxes and opening links and files with their usual programs.

#include <filesystem>
#include <optional>
#include <string>

enum class MessageIcon { None, Information, Exclamation, Error };

// What a message box shows.
struct MessageBoxContent {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

class IShell {
public:
    virtual ~IShell() = default;
    // A modal message box with an OK button; returns when it is dismissed. Its text can be
    // selected and copied.
    virtual void ShowMessage(const std::string& title, const std::string& text,
                             MessageIcon icon) = 0;
    // Opens a web or "mailto:" link with the desktop's handler; false when it has none or the
    // handler could not be started.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Opens a local file with the program the desktop associates with it; false as above.
    virtual bool OpenFile(const std::filesystem::path& path) = 0;
    // A modal "save as" dialog titled `title`, starting at `suggested`, offering files that
    // match `filter` (e.g. "PDF files (*.pdf)"); the chosen path, or none when cancelled.
    virtual std::optional<std::filesystem::path>
    ChooseSaveFile(const std::string& title, const std::filesystem::path& suggested,
                   const std::string& filter) = 0;
};
