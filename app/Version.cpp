#include "app/Version.h"

#include <ostream>
#include <string_view>

const char* ProgramVersion() {
    return GS_VERSION; // from CMake's PROJECT_VERSION
}

std::optional<int> AnswerVersionOrHelp(int argc, const char* const* argv, const char* name,
                                       const char* usage, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "--version") {
            out << name << ' ' << ProgramVersion() << '\n';
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            out << usage;
            return 0;
        }
    }
    return std::nullopt;
}
