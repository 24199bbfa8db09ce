#pragma once
// A decimal-comma locale for the tests, as German, French or Russian users run the program:
// de_DE.UTF-8, generated once with localedef (Debian package "locales") into a cache folder.

#include <string>

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";
inline constexpr const char* kNoCommaLocale =
    "no decimal-comma locale: `localedef -i de_DE -f UTF-8` failed (Debian package \"locales\")";

// The folder to put into LOCPATH for kCommaLocale; empty when it cannot be made.
std::string CommaLocalePath();

// The same for another locale ("tr_TR.UTF-8"), generated once into a cache folder of its own.
std::string TestLocalePath(const std::string& locale);
