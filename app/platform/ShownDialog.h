#pragma once
// A dialog of the shell as one value, for what pictures or lists dialogs after they were asked:
// the driver's shell keeps a dialog it could not answer "showing" for screenshots and dumps.

#include "app/platform/Shell.h"

#include <string>
#include <variant>
#include <vector>

// A question with buttons, as IShell::AskChoice asks it.
struct ChoiceRequest {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
};

// One line of text, as IShell::AskText asks for it.
struct TextRequest {
    std::string title;
    std::string prompt;
    std::string text;
};

using ShownDialog =
    std::variant<MessageBoxContent, ChoiceRequest, TextRequest, FormRequest, TableRequest>;

inline const std::string& TitleOf(const ShownDialog& dialog) {
    return std::visit([](const auto& shown) -> const std::string& { return shown.title; }, dialog);
}
