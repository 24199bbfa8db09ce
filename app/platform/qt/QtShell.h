#pragma once
// Message boxes and the desktop's handlers for links and files.

#include "app/platform/Shell.h"

#include <QMessageBox>

class CQtMainWindow;

#include <memory>

// A message box with an OK button whose text can be selected and copied.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content, QWidget* parent);

class CQtShell : public IShell {
public:
    // The message boxes belong to `window` once it is open (may be null).
    explicit CQtShell(const CQtMainWindow* window = nullptr) : window_(window) {}

    void ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    bool OpenUrl(const std::string& url) override;
    bool OpenFile(const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::filesystem::path& suggested,
                                                        const std::string& filter) override;

private:
    const CQtMainWindow* window_;
};
