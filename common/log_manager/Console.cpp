#include "common/log_manager/Log_Manager.h"

#include <unistd.h>

// The console listener. The Windows design sets the console's foreground attribute for the
// level (keeping the background), writes the line and sets the foreground back. Here the same
// colours are ANSI escape sequences, written only when the output is a terminal, so a log
// piped to a file or another program stays plain text; the foreground is set back to the
// terminal's default colour (the counterpart of keeping the console's own attributes).
CConsole::CConsole() : out_(stdout), colour_(isatty(fileno(stdout)) != 0) {}

CConsole::CConsole(std::FILE* out, bool colour) : out_(out), colour_(colour) {}

const char* CConsole::ColourSequence(int level) {
    switch (level) {
    case 1:
        return "\x1b[97m"; // 0xF bright white
    case 2:
        return "\x1b[95m"; // 0xD light magenta
    case 3:
        return "\x1b[92m"; // 0xA light green
    case 4:
        return "\x1b[93m"; // 0xE yellow
    case 5:
        return "\x1b[91m"; // 0xC light red
    case 6:
        return "\x1b[95m"; // 0xD light magenta
    default:
        return "";
    }
}

// An output that fails (its reader has gone: EPIPE) is given up for good: the program goes on,
// the lines go on to the file.
void CConsole::OnLog(int level, const std::string& text) {
    if (broken_)
        return;
    const char* colour = colour_ ? ColourSequence(level) : "";
    if (*colour != '\0')
        std::fputs(colour, out_);
    std::fwrite(text.data(), 1, text.size(), out_);
    if (*colour != '\0')
        std::fputs(kResetColour, out_);
    broken_ = std::fflush(out_) != 0 || std::ferror(out_) != 0;
}
