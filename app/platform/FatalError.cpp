#include "app/platform/FatalError.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
FatalErrorHandler fatalHandler = nullptr;
DebugTraceSink traceSink = nullptr;

void PrintFatalError(const std::string& title, const std::string& message, int) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
}

void PrintTrace(const std::string& line) {
    std::fputs(line.c_str(), stderr);
}
} // namespace

void SetFatalErrorHandler(FatalErrorHandler handler) {
    fatalHandler = handler;
}

void SetDebugTraceSink(DebugTraceSink sink) {
    traceSink = sink;
}

int LastPlatformError() {
    return errno;
}

void ReportFatalError(const std::string& operation) {
    ReportFatalError(operation, LastPlatformError());
}

void ReportFatalError(const std::string& operation, int code) {
    char text[512];
    std::snprintf(text, sizeof text, "%s failed with error %d: %s", operation.c_str(), code,
                  std::strerror(code));
    const int exitCode = code != 0 ? code : 1;
    (fatalHandler ? fatalHandler : PrintFatalError)("Error", text, exitCode);
    std::exit(exitCode);
}

void CheckOrFail(bool condition) {
    if (!condition) {
        ReportFatalError("");
    }
}

void DebugTrace(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, 255, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
    }
    buffer[254] = '\0'; // keep at most 254 characters, then the line feed
    std::string line(buffer);
    line += '\n';
    (traceSink ? traceSink : PrintTrace)(line);
}
