#pragma once
// Text from the input as the calculator's messages quote it and its tables carry it: safe on a
// terminal (no escape sequence or NUL reaches it, no field floods it) and in a spreadsheet (no
// cell is read as a formula).

#include <string>
#include <string_view>

// How many characters of a value a message quotes before it is cut with an ellipsis.
inline constexpr size_t kMostQuotedCharacters = 60;

// `text` in single quotes for a message: control characters, C1 controls, bidirectional
// controls and bytes that are not UTF-8 as visible escapes ("\x1b", "\x00", "\u202e"), cut
// after kMostQuotedCharacters characters with "…", and a byte-order mark at the start named as
// such: "a byte-order mark (U+FEFF) before 'separator_id'".
std::string QuoteInput(std::string_view text);

// A whole message with the same escapes and no cut: a last guard for text from other layers
// (file names, the system's reasons).
std::string Printable(std::string_view message);

// A text cell as a CSV table carries it: one that starts with '=', '+', '-', '@', a tab or a
// carriage return gets a leading apostrophe, so a spreadsheet shows it instead of running it
// as a formula, unless it is a plain decimal number ("-3", "+1.5e3"), which stays a number.
std::string SpreadsheetSafe(std::string_view cell);
