#pragma once
// The programs' command lines: options by name ("--dir"), some taking the next argument as their
// value, in the order given; "--" ends the options. Every program (the simulator, the calculator,
// the driver, the tags tool and the benchmark) parses with this one reader and words its own
// messages from what it reports.

#include <span>
#include <string>
#include <vector>

struct CommandLineOption {
    const char* name; // "--dir", "-h"
    bool takesValue;
};

struct CommandLineArgument {
    std::string option; // empty for a positional argument
    std::string value;  // the option's value, or the positional argument
};

struct CommandLine {
    std::vector<CommandLineArgument> arguments; // in the order given
    // What stopped the reading, when something did: an unknown option, an option without its
    // value, a positional argument where none is taken. Empty when the whole line was read.
    enum class Problem { None, UnknownOption, MissingValue, UnexpectedArgument };
    Problem problem = Problem::None;
    std::string culprit; // the argument at fault

    bool Has(const std::string& option) const;
    // The value given last for `option`; null when it was not given.
    const std::string* Last(const std::string& option) const;
    std::vector<std::string> Positional() const;
};

// Reads `args` (without the program's name). An option's value is the next argument, or follows
// in the same one: "--spm=8", "-j4". An argument that starts with "-" and is not one of `options`
// is an unknown option, unless it is "-" alone (standard input, a positional argument).
CommandLine ReadCommandLine(const std::vector<std::string>& args,
                            std::span<const CommandLineOption> options, bool takesPositional);
