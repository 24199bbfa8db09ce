#pragma once
// Fatal platform failures and debug output. Both go through installable handlers so the
// program can show a message box while tools and tests print instead.

#include <string>

// Receives the ready message ("%s failed with error %d: %s") and the exit code. It may show
// the message and end the process itself; if it returns, ReportFatalError ends the process
// with the code. Tests install a handler that throws instead.
using FatalErrorHandler = void (*)(const std::string& title, const std::string& message, int code);
// Receives one finished debug line (with its line feed).
using DebugTraceSink = void (*)(const std::string& line);

// Installs a handler; nullptr restores the default (print to standard error, then exit).
void SetFatalErrorHandler(FatalErrorHandler handler);
// Installs a sink; nullptr restores the default (standard error).
void SetDebugTraceSink(DebugTraceSink sink);

// The current error code of the C library (errno), the platform's "last error".
int LastPlatformError();

// Shows "<operation> failed with error <code>: <system message>" titled "Error" and ends the
// process with that code. A code of 0 would end the process as if it had succeeded, so the
// process then ends with 1 instead (the message still shows 0).
[[noreturn]] void ReportFatalError(const std::string& operation);
[[noreturn]] void ReportFatalError(const std::string& operation, int code);

// ReportFatalError with an empty operation name when `condition` is false.
void CheckOrFail(bool condition);

// printf-style text into a 256-byte buffer, cut to 254 characters, followed by a line feed,
// to the debug output. Never fails.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
