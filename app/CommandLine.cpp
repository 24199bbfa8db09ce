#include "app/CommandLine.h"

namespace {
const CommandLineOption* Find(std::span<const CommandLineOption> options, const std::string& arg) {
    for (const CommandLineOption& option : options) {
        if (arg == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// An option with its value in the same argument, as GNU tools take it: "--spm=8" or "-j4".
struct AttachedValue {
    const CommandLineOption* option = nullptr;
    std::string value;
};

AttachedValue FindWithAttachedValue(std::span<const CommandLineOption> options,
                                    const std::string& arg) {
    const size_t equals = arg.find('=');
    if (arg.starts_with("--") && equals != std::string::npos) {
        const CommandLineOption* option = Find(options, arg.substr(0, equals));
        return option && option->takesValue ? AttachedValue{option, arg.substr(equals + 1)}
                                            : AttachedValue{};
    }
    if (!arg.starts_with("--") && arg.size() > 2) {
        const CommandLineOption* option = Find(options, arg.substr(0, 2));
        return option && option->takesValue ? AttachedValue{option, arg.substr(2)}
                                            : AttachedValue{};
    }
    return {};
}

CommandLine Stopped(CommandLine line, CommandLine::Problem problem, const std::string& culprit) {
    line.problem = problem;
    line.culprit = culprit;
    return line;
}
} // namespace

bool CommandLine::Has(const std::string& option) const {
    return Last(option) != nullptr;
}

const std::string* CommandLine::Last(const std::string& option) const {
    const std::string* last = nullptr;
    for (const CommandLineArgument& argument : arguments) {
        if (argument.option == option) {
            last = &argument.value;
        }
    }
    return last;
}

std::vector<std::string> CommandLine::Positional() const {
    std::vector<std::string> positional;
    for (const CommandLineArgument& argument : arguments) {
        if (argument.option.empty()) {
            positional.push_back(argument.value);
        }
    }
    return positional;
}

CommandLine ReadCommandLine(const std::vector<std::string>& args,
                            std::span<const CommandLineOption> options, bool takesPositional) {
    CommandLine line;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        const bool looksLikeOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!looksLikeOption) {
            if (!takesPositional) {
                return Stopped(line, CommandLine::Problem::UnexpectedArgument, arg);
            }
            line.arguments.push_back({"", arg});
            continue;
        }
        const CommandLineOption* option = Find(options, arg);
        if (!option) {
            const AttachedValue attached = FindWithAttachedValue(options, arg);
            if (!attached.option) {
                return Stopped(line, CommandLine::Problem::UnknownOption, arg);
            }
            line.arguments.push_back({attached.option->name, attached.value});
            continue;
        }
        if (!option->takesValue) {
            line.arguments.push_back({arg, ""});
            continue;
        }
        if (i + 1 >= args.size()) {
            return Stopped(line, CommandLine::Problem::MissingValue, arg);
        }
        line.arguments.push_back({arg, args[++i]});
    }
    return line;
}
