#pragma once
// Runs the program from a script instead of a person: one command per line, fixed 1/60 s
// main-loop passes that never sleep, input as real window events through the platform's
// synthetic input. Used by the headless driver and by the program's headless demonstration.

#include "app/platform/ShownDialog.h"
#include "app/services/MainLoopTimer.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CApplication;
class IAutomation;

// A shell that answers instead of a person: message boxes and links are written out, and the
// dialogs that ask something take the answer the script left for their kind. A message box, or
// a dialog with no answer waiting, returns at once but stays "showing" (in screenshots and
// dumps) until the script's next input answers it.
class CDriverShell : public IShell {
public:
    explicit CDriverShell(std::ostream& out) : out_(out) {}
    // "message-box: TITLE | TEXT".
    void ShowMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    // The answer waiting for it, once; without one "file-dialog: TITLE" and cancelled.
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::filesystem::path& suggested,
                                                        const std::string& filter) override;
    void AnswerNextFileDialog(const std::filesystem::path& path) { fileAnswer_ = path; }
    // "open: URL"; nothing is opened. Without handlers: "cannot open: URL" and false.
    bool OpenUrl(const std::string& url) override;
    // "open: file://PATH" (or "cannot open: ..."), as above.
    bool OpenFile(const std::filesystem::path& path) override;

    // The dialogs that ask: each prints one line ("choice: TITLE | TEXT | [Save] [Cancel]",
    // "text: TITLE | PROMPT", "form: TITLE", "table: TITLE | N rows", "open-dialog: TITLE") and
    // takes the answer waiting for its kind, once, adding "| answered ..." to the line; without
    // one it is cancelled and stays showing (an open dialog is only printed, as a save dialog).
    std::optional<std::filesystem::path> ChooseOpenFile(const std::string& title,
                                                        const std::filesystem::path& folder,
                                                        const std::string& filter) override;
    std::optional<int> AskChoice(const std::string& title, const std::string& text,
                                 const std::vector<std::string>& buttons) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& text) override;
    // An answer its preview does not accept is refused as OK would be ("form refused: TITLE |
    // PREVIEW") and the form cancelled.
    std::optional<std::vector<std::string>> AskForm(const FormRequest& form) override;
    std::optional<int> ChooseRow(const TableRequest& table) override;

    // Answers for the next dialog of each kind; a new one replaces one still waiting.
    void AnswerNextOpenDialog(const std::filesystem::path& path) { openAnswer_ = path; }
    // A button's text, or its number from 1.
    void AnswerNextChoice(const std::string& button) { choiceAnswer_ = button; }
    void AnswerNextText(const std::string& text) { textAnswer_ = text; }
    // One text per field, in order.
    void AnswerNextForm(const std::vector<std::string>& texts) { formAnswer_ = texts; }
    // A row's number from 1.
    void AnswerNextTable(int row) { rowAnswer_ = row; }
    // An answer that did not fit the dialog it met (no such button, row or number of fields),
    // once; empty when there was none. The dialog was cancelled.
    std::string TakeScriptProblem() { return std::exchange(problem_, {}); }

    // Whether the desktop has programs for links and files (it has, at first).
    void SetHandlersAvailable(bool available) { handlersAvailable_ = available; }
    const std::vector<ShownDialog>& ShowingDialogs() const { return showing_; }
    // Answers the dialog on top; false when none is showing.
    bool AnswerTopDialog();
    void AnswerAllDialogs() { showing_.clear(); }

private:
    bool Open(const std::string& target);
    // Prints the dialog's line; without an answer the dialog stays showing.
    void Asked(const std::string& line, bool answered, const ShownDialog& dialog);

    std::ostream& out_;
    std::optional<std::filesystem::path> fileAnswer_;
    std::optional<std::filesystem::path> openAnswer_;
    std::optional<std::string> choiceAnswer_;
    std::optional<std::string> textAnswer_;
    std::optional<std::vector<std::string>> formAnswer_;
    std::optional<int> rowAnswer_;
    std::string problem_;
    bool handlersAvailable_ = true;
    std::vector<ShownDialog> showing_;
};

class CScriptDriver {
public:
    static constexpr double kStepSeconds = 1.0 / 60.0;
    static constexpr int kScriptErrorStatus = 2;

    CScriptDriver(CApplication& application, IAutomation& automation, std::ostream& err);

    // Runs the script against a started application, then ends the program as a user would
    // (unless the script chose "&Exit") and shuts it down. Returns 0, or 2 after a script
    // error, which is reported on `err` with the script name and line.
    int Run(std::istream& script, const std::string& scriptName);
    // Seconds of program time run so far.
    double ProgramTime() const { return passes_ * kStepSeconds; }

private:
    // Runs one command; false with `error` set on a script error.
    bool Execute(const std::string& command, const std::string& argument, std::string& error);
    bool RunFor(const std::string& argument, std::string& error);
    bool ClickView(const std::string& name, std::string& error);
    bool Dump(const std::string& file, std::string& error);
    bool Select(const std::string& argument, std::string& error);
    bool SaveClipboard(const std::string& file, std::string& error);
    bool AnswerFileDialog(const std::string& path, std::string& error);
    // answer-open, answer-choice, answer-text, answer-form and answer-row.
    bool AnswerDialog(const std::string& command, const std::string& argument, std::string& error);
    bool Wheel(const std::string& argument, std::string& error);
    bool Resize(const std::string& argument, std::string& error);
    bool SetHandlers(const std::string& argument, std::string& error);
    // A dialog showing takes the input: Return or Escape answers it; any other input answers it
    // first, as a user closes it before going on.
    bool AnsweredByKey(const std::string& command, const std::string& argument);
    // One main-loop pass; false once the program has ended.
    bool Pass();
    // Passes until the window manager stops (at most a few).
    void Finish();

    CApplication& application_;
    IAutomation& automation_;
    CDriverShell* shell_; // the installed shell when it is a driver shell
    std::ostream& err_;
    long long passes_ = 0;
    bool running_ = true;
    bool exitChosen_ = false;
    double clockMs_ = 0; // the timer's clock: program time in milliseconds
    CMainLoopTimer timer_;
};
