#pragma once
// The desktop: message boxes, the dialogs that ask the user something, and opening links and
// files with their usual programs. Every dialog is modal and returns when it is answered; a
// cancelled one returns nothing. The driver's shell answers them from its script.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class MessageIcon { None, Information, Exclamation, Error };

// What a message box shows.
struct MessageBoxContent {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

// One field of a form: its label, its unit (shown after the box), the text it starts with, and
// whether it takes several lines (notes).
struct FormField {
    std::string label;
    std::string unit;
    std::string text;
    bool multiline = false;
};

// Texts that fill a form's first fields at once, under a name ("Light oil and gas").
struct FormStart {
    std::string name;
    std::vector<std::string> texts;
};

// A form: its fields, a text above them (may be empty) and one below (may be empty). While the
// user types, `preview` (when given) turns the fields' texts into a line shown under the fields
// ("Rise velocity: 9.82 in/s"), and says whether OK may be pressed. `starts` (when given) are
// offered in a list labelled `startsLabel` above the fields; choosing one fills them.
struct FormRequest {
    std::string title;
    std::string intro;
    std::string startsLabel;
    std::vector<FormStart> starts;
    std::vector<FormField> fields;
    std::string note;
    std::function<std::string(const std::vector<std::string>&, bool& acceptable)> preview;
};

// A table to pick a row from: column headers, the rows that can be picked, and rows shown apart
// that cannot (with the same columns).
struct TableRequest {
    std::string title;
    std::string intro;
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    std::string apartHeading; // over the rows that cannot be picked
    std::vector<std::vector<std::string>> apart;
    std::string pickLabel; // the button that picks the selected row ("Apply")
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
    // A modal "open" dialog, as above; the chosen existing file, or none.
    virtual std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                                const std::filesystem::path& folder,
                                                                const std::string& filter) {
        (void)title, (void)folder, (void)filter;
        return std::nullopt;
    }
    // A question with buttons ("Save", "Discard", "Cancel"); the index of the button pressed, or
    // none when the dialog was closed (Escape, the window's close button): the same as the
    // last button, which callers make the cautious one.
    virtual std::optional<int> AskChoice(const std::string& title, const std::string& text,
                                         const std::vector<std::string>& buttons) {
        (void)title, (void)text, (void)buttons;
        return std::nullopt;
    }
    // One line of text ("the preset's new name"), starting with `text`; none when cancelled.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& text) {
        (void)title, (void)prompt, (void)text;
        return std::nullopt;
    }
    // A form; the fields' texts as the user left them, or none when cancelled.
    virtual std::optional<std::vector<std::string>> AskForm(const FormRequest& form) {
        (void)form;
        return std::nullopt;
    }
    // A table; the index of the row picked (in `rows`), or none.
    virtual std::optional<int> ChooseRow(const TableRequest& table) {
        (void)table;
        return std::nullopt;
    }
};
