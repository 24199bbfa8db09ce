#pragma once
// Message boxes and the desktop's handlers for links and files.

#include "Shell.h"

class QWidget;

class CQtShell : public IShell {
public:
    // `owner` (may be null) is the window the message boxes belong to.
    explicit CQtShell(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    void OpenUrl(const std::string& url) override;
    void OpenFile(const std::filesystem::path& path) override;

private:
    QWidget* owner_;
};
