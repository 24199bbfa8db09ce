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
int RunDesignCalculator(const std::vector<std::string>& args, const std::string& shippedDefaults,
                        std::ostream& out, std::ostream& err);

// The text --help prints.
const std::string& DesignCalculatorUsage();
