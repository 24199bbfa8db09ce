#pragma once
// The number rules shared by every field, label and file. Every conversion here is free of the
// C library's locale: numbers are read and written with a point whatever the user's locale.

#include <optional>
#include <string>
#include <string_view>

// General format with 6 significant digits and no trailing zeros, as a default-formatted
// output stream writes a double: 4.5 -> "4.5", 42 -> "42", 0.8377580409572781 -> "0.837758".
// Seven or more integer digits, or a magnitude below 0.0001, use the exponent form with at
// least two exponent digits ("1.23457e+06", "1e-05"), which ParseNumber reads back.
std::string FormatNumber(double value);

// Fractions as oilfield sizes are written are numbers too, with an optional sign: "7/8", a whole
// number and a fraction below 1 apart by blanks or one hyphen ("3 1/2", "3-1/2"), and the
// characters ½ ¼ ¾ ⅓ ⅔ ⅕ ⅖ ⅗ ⅘ ⅙ ⅚ ⅛ ⅜ ⅝ ⅞ alone or after a whole number ("3½", "3 ½").
// "⁄" (the fraction slash) may stand for "/". A zero denominator, or a mixed number whose
// fraction is not below 1 ("3 7/2"), is no number.

// The leading number of `text` as the C library's atof reads decimal numbers in the "C" locale
// (leading blanks, an optional sign, digits, an optional fraction and exponent; conversion
// stops at the first character that does not fit), or the leading fraction, rounded to three
// decimals. No number gives 0. Unlike atof, "inf", "nan" and hexadecimal forms are not numbers
// here, and a number too large for a double gives 0, so typed text never produces a non-finite
// value.
double ParseNumber(std::string_view text);

// The leading number of `text` as ParseNumber finds it, not rounded: its value (0 when there is
// none, or it is no finite number) and where it ends (`begin` when there is none). `begin` is
// the first character after the leading blanks.
struct LeadingNumber {
    double value = 0;
    size_t begin = 0;
    size_t end = 0;
    bool tooLarge = false; // digits beyond a double's range ("1e400"): the value is then 0
    bool Found() const { return end > begin; }
};
LeadingNumber ScanLeadingNumber(std::string_view text);

// The whole of `text` as a decimal number of that form (no blanks around it): "2.5", "-1e3",
// "+7", ".5", or as a fraction ("3 1/2"). A decimal number too large for a double reads as an
// infinity of its sign and one too small as zero, as strtod reads them. Null for anything else:
// other characters, "inf", "nan", hexadecimal, a decimal comma, a fraction that is no number.
std::optional<double> ReadNumber(std::string_view text);

// `text` without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text);

// `text` on one line: each ASCII control character (a line break, a tab) becomes `instead`.
std::string OneLineText(std::string text, char instead = ' ');

// An ASCII letter in the other case, whatever the user's locale (under a Turkish one C's
// tolower leaves 'I' as it is, so "IN" was no unit); any other byte as it is.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Rounds half up to three decimals: floor(x * 1000 + 0.5) / 1000.
double RoundToThousandths(double value);
// Rounds half up to `decimals` decimals (0 to 9); values too large to hold a fraction stay.
double RoundToDecimals(double value, int decimals);

// `value` to `digits` significant digits (1 to 17), the nearest double to its decimal text.
double ToSignificantDigits(double value, int digits);

// `value` rounded half up to `decimals` decimals and written without an exponent and without
// trailing zeros: FormatDecimals(1234.5678, 3) is "1234.568", (1234567, 3) "1234567", (-0.0001,
// 3) "0". Values of 10^15 and more (and infinities, not-a-number) are written as FormatNumber.
std::string FormatDecimals(double value, int decimals);

// The shortest text that reads back as exactly `value` ("4.09", "3.937007874015748"): how the
// program's files keep numbers, so nothing changes on a save and a load.
std::string FormatExact(double value);
