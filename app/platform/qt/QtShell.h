#pragma once
// Message boxes, the dialogs that ask the user something, and the desktop's handlers for links
// and files.

#include "app/platform/Shell.h"
#include "app/platform/qt/QtDialogs.h"

class CQtMainWindow;
class QWidget;

class CQtShell : public IShell {
public:
    // The dialogs belong to `window` once it is open (may be null).
    explicit CQtShell(CQtMainWindow* window = nullptr) : window_(window) {}

    void ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    bool OpenUrl(const std::string& url) override;
    bool OpenFile(const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::filesystem::path& suggested,
                                                        const std::string& filter) override;
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                        const std::filesystem::path& folder,
                                                        const std::string& filter) override;
    std::optional<int> AskChoice(const std::string& title, const std::string& text,
                                 const std::vector<std::string>& buttons) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& text) override;
    std::optional<std::vector<std::string>> AskForm(const FormRequest& form) override;
    std::optional<int> ChooseRow(const TableRequest& table) override;

private:
    // The main window while it is open, which the dialogs are modal over.
    QWidget* Parent() const;

    CQtMainWindow* window_;
};
