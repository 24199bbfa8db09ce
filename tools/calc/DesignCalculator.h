#pragma once
// gas-separator-calc: the separator's numbers without the animation, from the same model and
// simulator the program uses.

#include <iosfwd>
#include <string>
#include <vector>

// Runs the calculator on the command-line arguments (without the program name). Results go to
// `out`, messages to `err`. `shippedDefaults` is the text of the shipped defaults file.
// Returns the exit status: 0; 1 when a row of a batch or a sweep was bad (and left out); 2 for
// bad input.
// A write to `out` that fails (a full disk, a closed pipe) ends the run with exit status 2 and
// the system's reason on `err`. `in` is read for "--batch -"; without it, it is empty.
int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::istream& in, std::ostream& out, std::ostream& err);
int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::ostream& out, std::ostream& err);

// Flushes `out` after the rest of the program wrote to it: `status`, or 2 with the reason on
// `err` when anything written was lost.
int FlushOutput(std::ostream& out, std::ostream& err, int status);

// The text --help prints.
const std::string& DesignCalculatorUsage();
