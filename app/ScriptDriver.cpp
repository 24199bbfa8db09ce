#include "app/ScriptDriver.h"

#include "app/Application.h"
#include "app/StateDump.h"
#include "app/model/NumberFormat.h"
#include "app/platform/Automation.h"
#include "app/platform/Clipboard.h"
#include "app/platform/Platform.h"
#include "app/services/MainLoopTimer.h"
#include "app/tags/Button.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/ButtonView.h"
#include "app/window_manager/WindowManager.h"

#include <cmath>
#include <fstream>
#include <istream>
#include <ostream>
#include <set>
#include <sstream>
#include <utility>

namespace {
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The command word and the rest of the line after one separating blank. Only `type` keeps
// the text's own leading and trailing blanks.
void SplitCommand(const std::string& line, std::string& command, std::string& argument) {
    std::string text = line;
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    const auto start = text.find_first_not_of(" \t");
    const auto blank = text.find_first_of(" \t", start);
    command = text.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
    argument = blank == std::string::npos ? "" : text.substr(blank + 1);
    if (command != "type") {
        argument = Trim(argument);
    }
}

// Two whole numbers "X Y"; false when the text is anything else.
bool ParsePoint(const std::string& text, int& x, int& y) {
    std::istringstream in(text);
    std::string rest;
    return (in >> x >> y) && !(in >> rest);
}

// A number of digits alone ("3"); none for anything else.
std::optional<int> WholeNumber(const std::string& text) {
    constexpr size_t kMaxDigits = 9;
    if (text.empty() || text.size() > kMaxDigits ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// Three whole numbers "X Y STEPS"; false when the text is anything else.
bool ParseWheel(const std::string& text, int& x, int& y, int& steps) {
    std::istringstream in(text);
    std::string rest;
    return (in >> x >> y >> steps) && !(in >> rest);
}
} // namespace

void CDriverShell::ShowMessage(const std::string& title, const std::string& text,
                               MessageIcon icon) {
    out_ << "message-box: " << OneLine(title) << " | " << OneLine(text) << std::endl;
    showing_.push_back(MessageBoxContent{title, text, icon});
}

bool CDriverShell::Open(const std::string& target) {
    out_ << (handlersAvailable_ ? "open: " : "cannot open: ") << target << std::endl;
    return handlersAvailable_;
}

bool CDriverShell::OpenUrl(const std::string& url) {
    return Open(url);
}

bool CDriverShell::OpenFile(const std::filesystem::path& path) {
    return Open("file://" + std::filesystem::absolute(path).string());
}

bool CDriverShell::AnswerTopDialog() {
    if (showing_.empty()) {
        return false;
    }
    showing_.pop_back();
    return true;
}

std::optional<std::filesystem::path> CDriverShell::ChooseSaveFile(const std::string& title,
                                                                  const std::filesystem::path&,
                                                                  const std::string&) {
    if (!fileAnswer_) {
        out_ << "file-dialog: " << OneLine(title) << std::endl;
    }
    return std::exchange(fileAnswer_, std::nullopt);
}

namespace {
// A button's text without its keyboard mnemonic: "&Save" is "Save", "&&" is "&".
std::string PlainLabel(const std::string& label) {
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) {
            ++i;
        }
        plain += label[i];
    }
    return plain;
}

// The button an answer names: by its text, or by its number from 1.
std::optional<int> ButtonFor(const std::string& answer, const std::vector<std::string>& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == answer || PlainLabel(buttons[i]) == answer) {
            return static_cast<int>(i);
        }
    }
    const std::optional<int> number = WholeNumber(answer);
    if (number && *number >= 1 && *number <= static_cast<int>(buttons.size())) {
        return *number - 1;
    }
    return std::nullopt;
}

// The form as it stands when it is asked: the preview of its first texts is kept, since the
// caller's preview may not outlive the question.
FormRequest AsAsked(const FormRequest& form) {
    FormRequest asked = form;
    if (form.preview) {
        std::vector<std::string> texts;
        for (const FormField& field : form.fields) {
            texts.push_back(field.text);
        }
        bool acceptable = true;
        const std::string line = form.preview(texts, acceptable);
        asked.preview = [line, acceptable](const std::vector<std::string>&, bool& accepted) {
            accepted = acceptable;
            return line;
        };
    }
    return asked;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
} // namespace

void CDriverShell::Asked(const std::string& line, bool answered, const ShownDialog& dialog) {
    out_ << line << std::endl;
    if (!answered) {
        showing_.push_back(dialog);
    }
}

std::optional<std::filesystem::path> CDriverShell::ChooseOpenFile(const std::string& title,
                                                                  const std::filesystem::path&,
                                                                  const std::string&) {
    const std::string line = "open-dialog: " + OneLine(title);
    if (!openAnswer_) {
        out_ << line << std::endl;
        return std::nullopt;
    }
    out_ << line << " | answered " << openAnswer_->string() << std::endl;
    return std::exchange(openAnswer_, std::nullopt);
}

std::optional<int> CDriverShell::AskChoice(const std::string& title, const std::string& text,
                                           const std::vector<std::string>& buttons) {
    std::string line = "choice: " + OneLine(title) + " | " + OneLine(text) + " |";
    for (const std::string& button : buttons) {
        line += " [" + PlainLabel(button) + "]";
    }
    const ChoiceRequest request{title, text, buttons};
    if (!choiceAnswer_) {
        Asked(line, false, request);
        return std::nullopt;
    }
    const std::string answer = *std::exchange(choiceAnswer_, std::nullopt);
    const std::optional<int> chosen = ButtonFor(answer, buttons);
    if (!chosen) {
        problem_ = "answer-choice " + Quoted(answer) + " names no button of " + Quoted(title);
        Asked(line, true, request);
        return std::nullopt;
    }
    Asked(line + " | answered " + PlainLabel(buttons[*chosen]), true, request);
    return chosen;
}

std::optional<std::string> CDriverShell::AskText(const std::string& title,
                                                 const std::string& prompt,
                                                 const std::string& text) {
    const std::string line = "text: " + OneLine(title) + " | " + OneLine(prompt);
    const TextRequest request{title, prompt, text};
    if (!textAnswer_) {
        Asked(line, false, request);
        return std::nullopt;
    }
    Asked(line + " | answered " + Quoted(OneLine(*textAnswer_)), true, request);
    return std::exchange(textAnswer_, std::nullopt);
}

std::optional<std::vector<std::string>> CDriverShell::AskForm(const FormRequest& form) {
    const std::string line = "form: " + OneLine(form.title);
    if (!formAnswer_) {
        Asked(line, false, AsAsked(form));
        return std::nullopt;
    }
    std::vector<std::string> texts = *std::exchange(formAnswer_, std::nullopt);
    if (form.fields.empty() && texts == std::vector<std::string>{""}) {
        texts.clear(); // a bare "answer-form" for a form without fields
    }
    if (texts.size() != form.fields.size()) {
        problem_ = "answer-form gives " + std::to_string(texts.size()) + " texts for the " +
                   std::to_string(form.fields.size()) + " fields of " + Quoted(form.title);
        Asked(line, true, form);
        return std::nullopt;
    }
    bool acceptable = true;
    const std::string preview = form.preview ? form.preview(texts, acceptable) : std::string();
    if (!acceptable) {
        out_ << "form refused: " << OneLine(form.title) << " | " << OneLine(preview) << std::endl;
        return std::nullopt;
    }
    Asked(line + " | answered", true, form);
    return texts;
}

std::optional<int> CDriverShell::ChooseRow(const TableRequest& table) {
    const size_t rows = table.rows.size();
    const std::string line = "table: " + OneLine(table.title) + " | " + std::to_string(rows) +
                             (rows == 1 ? " row" : " rows");
    if (!rowAnswer_) {
        Asked(line, false, table);
        return std::nullopt;
    }
    const int row = *std::exchange(rowAnswer_, std::nullopt);
    if (row < 1 || row > static_cast<int>(rows)) {
        problem_ = "answer-row " + std::to_string(row) + " is no row of " + Quoted(table.title);
        Asked(line, true, table);
        return std::nullopt;
    }
    Asked(line + " | answered row " + std::to_string(row), true, table);
    return row - 1;
}

CScriptDriver::CScriptDriver(CApplication& application, IAutomation& automation, std::ostream& err)
    : application_(application), automation_(automation),
      shell_(dynamic_cast<CDriverShell*>(Platform().shell)), err_(err),
      timer_([this] { return clockMs_; }, [](int) {}, ReportAveragePeriod) {}

bool CScriptDriver::Pass() {
    if (!running_) {
        return false;
    }
    timer_.BeginPass();
    running_ = application_.Pass(kStepSeconds);
    clockMs_ += kStepSeconds * 1000.0; // the pass took exactly one step: nothing to sleep
    timer_.EndPass();
    ++passes_;
    return running_;
}

void CScriptDriver::Finish() {
    // The quit is seen by the next pump; that pass still runs to its end.
    for (int i = 0; i < 10 && Pass(); ++i) {
    }
}

bool CScriptDriver::RunFor(const std::string& argument, std::string& error) {
    const std::optional<double> seconds = ReadNumber(argument);
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0) {
        error = "run needs a number of seconds, not \"" + argument + "\"";
        return false;
    }
    const long long target = passes_ + static_cast<long long>(std::ceil(*seconds * 60.0 - 1e-9));
    while (passes_ < target && Pass()) {
    }
    return true;
}

bool CScriptDriver::ClickView(const std::string& name, std::string& error) {
    const auto* button = FindViewOf<CButtonView>(name);
    const TButton* tag = button ? GetTagAs<TButton>(button->GetTagHandle()) : nullptr;
    const TMouseRegion* region = tag ? GetTagAs<TMouseRegion>(tag->mouseRegion) : nullptr;
    if (!region) {
        error = "no button view named \"" + name + "\"";
        return false;
    }
    const int x = region->absX + region->width / 2;
    const int y = region->absY + region->height / 2;
    automation_.MouseMove(x, y);
    automation_.MouseDown(x, y);
    automation_.MouseUp(x, y);
    return true;
}

namespace {
bool WriteTextFile(const std::string& file, const std::string& text, std::string& error) {
    std::ofstream out(file, std::ios::binary);
    if (!out || !(out << text).flush()) {
        error = "cannot write \"" + file + "\"";
        return false;
    }
    return true;
}
} // namespace

bool CScriptDriver::Dump(const std::string& file, std::string& error) {
    return WriteTextFile(
        file,
        DumpProgramState(application_.Model(), application_.WindowManager(),
                         shell_ ? shell_->ShowingDialogs() : std::vector<ShownDialog>{}),
        error);
}

bool CScriptDriver::SaveClipboard(const std::string& file, std::string& error) {
    const IClipboard* clipboard = Platform().clipboard;
    return WriteTextFile(file, clipboard ? clipboard->Text() : std::string(), error);
}

bool CScriptDriver::AnswerFileDialog(const std::string& path, std::string& error) {
    if (!shell_ || path.empty()) {
        error = path.empty() ? "answer-file needs a path" : "no driver shell to answer dialogs";
        return false;
    }
    shell_->AnswerNextFileDialog(path);
    return true;
}

namespace {
// "A | B |  | C": the texts between the bars, trimmed; one text when there is no bar.
std::vector<std::string> SplitAtBars(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1) {
        parts.push_back(Trim(text.substr(start, bar - start)));
    }
    parts.push_back(Trim(text.substr(start)));
    return parts;
}
} // namespace

bool CScriptDriver::AnswerDialog(const std::string& command, const std::string& argument,
                                 std::string& error) {
    if (!shell_) {
        error = "no driver shell to answer dialogs";
        return false;
    }
    if (command == "answer-open") {
        if (argument.empty()) {
            error = "answer-open needs a path";
            return false;
        }
        shell_->AnswerNextOpenDialog(argument);
    } else if (command == "answer-choice") {
        if (argument.empty()) {
            error = "answer-choice needs a button's text or its number from 1";
            return false;
        }
        shell_->AnswerNextChoice(argument);
    } else if (command == "answer-text") {
        shell_->AnswerNextText(argument);
    } else if (command == "answer-form") {
        shell_->AnswerNextForm(SplitAtBars(argument));
    } else {
        const std::optional<int> row = WholeNumber(argument);
        if (!row || *row < 1) {
            error = "answer-row needs a row number from 1, not " + Quoted(argument);
            return false;
        }
        shell_->AnswerNextTable(*row);
    }
    return true;
}

bool CScriptDriver::Wheel(const std::string& argument, std::string& error) {
    int x = 0, y = 0, steps = 0;
    if (!ParseWheel(argument, x, y, steps)) {
        error = "wheel needs three whole numbers X Y STEPS";
        return false;
    }
    automation_.MouseMove(x, y); // the pointer is where the wheel turns
    automation_.Wheel(x, y, steps);
    return true;
}

bool CScriptDriver::Resize(const std::string& argument, std::string& error) {
    int width = 0;
    int height = 0;
    if (!ParsePoint(argument, width, height)) {
        error = "resize needs two whole numbers W H";
        return false;
    }
    if (!automation_.ResizeWindow(width, height, error)) {
        return false;
    }
    if (CWindowManager* windowManager = application_.WindowManager()) {
        windowManager->Redraw(); // shots show the scene drawn at the new size
    }
    return true;
}

bool CScriptDriver::SetHandlers(const std::string& argument, std::string& error) {
    if (argument != "on" && argument != "off") {
        error = "handlers needs on or off, not \"" + argument + "\"";
        return false;
    }
    if (shell_) {
        shell_->SetHandlersAvailable(argument == "on");
    }
    return true;
}

bool CScriptDriver::AnsweredByKey(const std::string& command, const std::string& argument) {
    static const std::set<std::string> kInput = {"mouse-move", "mouse-down", "mouse-up", "click",
                                                 "wheel",      "click-view", "focus",    "type",
                                                 "key",        "select",     "menu",     "drop"};
    if (!shell_ || !kInput.count(command)) {
        return false;
    }
    if (command == "key" && (argument == "Return" || argument == "Escape")) {
        return shell_->AnswerTopDialog();
    }
    shell_->AnswerAllDialogs();
    return false;
}

bool CScriptDriver::Select(const std::string& argument, std::string& error) {
    const auto bar = argument.find('|');
    if (bar == std::string::npos) {
        error = "select needs \"NAME | TEXT\"";
        return false;
    }
    return automation_.Select(Trim(argument.substr(0, bar)), Trim(argument.substr(bar + 1)), error);
}

bool CScriptDriver::Execute(const std::string& command, const std::string& argument,
                            std::string& error) {
    int x = 0;
    int y = 0;
    const bool isPoint = command == "mouse-move" || command == "mouse-down" ||
                         command == "mouse-up" || command == "click";
    if (isPoint && !ParsePoint(argument, x, y)) {
        error = command + " needs two whole numbers X Y";
        return false;
    }
    if (AnsweredByKey(command, argument)) {
        return true;
    }
    if (command == "run") {
        return RunFor(argument, error);
    } else if (command == "wheel") {
        return Wheel(argument, error);
    } else if (command == "mouse-move") {
        automation_.MouseMove(x, y);
    } else if (command == "mouse-down") {
        automation_.MouseDown(x, y);
    } else if (command == "mouse-up") {
        automation_.MouseUp(x, y);
    } else if (command == "click") {
        automation_.MouseDown(x, y);
        automation_.MouseUp(x, y);
    } else if (command == "click-view") {
        return ClickView(argument, error);
    } else if (command == "focus") {
        return automation_.Focus(argument, error);
    } else if (command == "type") {
        return automation_.TypeText(argument, error);
    } else if (command == "key") {
        return automation_.Key(argument, error);
    } else if (command == "select") {
        return Select(argument, error);
    } else if (command == "menu") {
        exitChosen_ = argument == "&Exit";
        return automation_.ChooseMenu(argument, error);
    } else if (command == "drop") {
        if (argument.empty()) {
            error = "drop needs a path";
            return false;
        }
        return automation_.DropFiles({std::filesystem::absolute(argument).string()}, error);
    } else if (command == "handlers") {
        return SetHandlers(argument, error);
    } else if (command == "resize") {
        return Resize(argument, error);
    } else if (command == "shot") {
        return automation_.SaveScreenshot(
            argument, shell_ ? shell_->ShowingDialogs() : std::vector<ShownDialog>{}, error);
    } else if (command == "dump") {
        return Dump(argument, error);
    } else if (command == "clipboard") {
        return SaveClipboard(argument, error);
    } else if (command == "answer-file") {
        return AnswerFileDialog(argument, error);
    } else if (command == "answer-open" || command == "answer-choice" || command == "answer-text" ||
               command == "answer-form" || command == "answer-row") {
        return AnswerDialog(command, argument, error);
    } else {
        error = "unknown command \"" + command + "\"";
        return false;
    }
    return true;
}

int CScriptDriver::Run(std::istream& script, const std::string& scriptName) {
    int status = 0;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (Trim(line).empty() || Trim(line)[0] == '#') {
            continue;
        }
        std::string command;
        std::string argument;
        SplitCommand(line, command, argument);
        std::string error;
        bool done = Execute(command, argument, error);
        if (done && shell_) {
            error = shell_->TakeScriptProblem(); // an answer that did not fit its dialog
            done = error.empty();
        }
        if (!done) {
            err_ << scriptName << ":" << number << ": " << error << std::endl;
            status = kScriptErrorStatus;
            break;
        }
        // After Exit the next pass shows whether the program ends; a quit refused (Cancel in
        // the question about unsaved changes) goes on with the script.
        if (exitChosen_ && Pass()) {
            exitChosen_ = false;
        }
        if (exitChosen_ || !running_) {
            break; // the program ends after the current pass; further lines are ignored
        }
    }
    if (!exitChosen_ && running_) {
        automation_.CloseWindow(); // as a user closes the window
    }
    Finish();
    application_.Shutdown();
    return status;
}
