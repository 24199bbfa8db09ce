#pragma once
// Runs the program from a script instead of a person: one command per line, fixed 1/60 s
// main-loop passes that never sleep, input as real window events through the platform's
// synthetic input. Used by the headless driver and by the program's headless demonstration.

#include "app/platform/Shell.h"
#include "app/services/MainLoopTimer.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class CApplication;
class IAutomation;

// A shell that answers instead of a person: message boxes and links are written out. A
// message box returns at once, but stays "showing" (in screenshots and dumps) until the
// script answers it.
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

    // Whether the desktop has programs for links and files (it has, at first).
    void SetHandlersAvailable(bool available) { handlersAvailable_ = available; }
    const std::vector<MessageBoxContent>& ShowingMessageBoxes() const { return showing_; }
    // Answers the message box on top; false when none is showing.
    bool AnswerMessageBox();
    void AnswerAllMessageBoxes() { showing_.clear(); }

private:
    bool Open(const std::string& target);

    std::ostream& out_;
    std::optional<std::filesystem::path> fileAnswer_;
    bool handlersAvailable_ = true;
    std::vector<MessageBoxContent> showing_;
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
    bool Wheel(const std::string& argument, std::string& error);
    bool SetHandlers(const std::string& argument, std::string& error);
    // A message box showing takes the input: Return or Escape answers it; any other input
    // answers it first, as a user clicks OK before going on.
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
