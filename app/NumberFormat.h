#pragma once
// The two number rules shared by every field, label and file.

#include <string>
#include <string_view>

// General format with 6 significant digits and no trailing zeros, as a default-formatted
// output stream writes a double: 4.5 -> "4.5", 42 -> "42", 0.8377580409572781 -> "0.837758".
// Seven or more integer digits, or a magnitude below 0.0001, use the exponent form with at
// least two exponent digits ("1.23457e+06", "1e-05"), which ParseNumber reads back.
std::string FormatNumber(double value);

// The leading number of `text` as the C library's atof reads decimal numbers (leading blanks,
// an optional sign, digits, an optional fraction and exponent; conversion stops at the first
// character that does not fit), rounded to three decimals. No number gives 0. Unlike atof,
// "inf", "nan" and hexadecimal forms are not numbers here, and a number too large for a
// double gives 0, so typed text never produces a non-finite value.
double ParseNumber(std::string_view text);

// Rounds half up to three decimals: floor(x * 1000 + 0.5) / 1000.
double RoundToThousandths(double value);
