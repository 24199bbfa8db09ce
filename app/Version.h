#pragma once
// The one version of every program, set once in CMake's project(VERSION ...), and the answer
// every program gives to --version and --help before anything else reads its arguments (so
// both work without a display).

#include <iosfwd>
#include <optional>

// The version, for example "1.1.0".
const char* ProgramVersion();

// When an argument before "--" is --version, or --help (-h), writes "NAME VERSION" or `usage`
// to `out` and returns the exit status (0); the first such argument wins. Otherwise nothing.
std::optional<int> AnswerVersionOrHelp(int argc, const char* const* argv, const char* name,
                                       const char* usage, std::ostream& out);
