#pragma once
// A decimal-comma locale (de_DE.UTF-8) for the tests that try the program the way a German,
// French or Russian user runs it: the machine's own when it has one, otherwise one generated
// with localedef (from the Debian package "locales") into a cache folder under the temporary
// directory.

#include <string>

struct CommaLocale {
    std::string name = "de_DE.UTF-8";
    std::string locpath; // the folder to put into LOCPATH; empty for a locale of the system
    std::string problem; // why there is none; empty when there is one
};

// Found or generated once per process.
const CommaLocale& FindCommaLocale();

// The environment assignments that select the locale for a child process, each followed by a
// blank: "LOCPATH='...' LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ".
std::string CommaLocaleEnvironment(const CommaLocale& locale);

// Makes the locale the C library's for the life of the object, as Qt does at start-up with
// setlocale(LC_ALL, ""); then back to "C".
class ScopedCommaLocale {
public:
    explicit ScopedCommaLocale(const CommaLocale& locale);
    ~ScopedCommaLocale();
    ScopedCommaLocale(const ScopedCommaLocale&) = delete;
    ScopedCommaLocale& operator=(const ScopedCommaLocale&) = delete;
    bool Active() const { return active_; }

private:
    bool active_ = false;
};
