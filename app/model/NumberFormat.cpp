#include "app/model/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string FormatNumber(double value) {
    // std::to_chars writes as printf does in the "C" locale: "%.6g".
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, written.ptr);
}

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// End of the longest prefix of `text` (after `start`) that is a decimal number; `start` when
// there is none.
size_t DecimalNumberEnd(std::string_view text, size_t start) {
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return start;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i;
}

// Whether a decimal number that a double cannot hold is too large (rather than too small): the
// decimal exponent of its first significant digit is positive.
bool BeyondTheLargestDouble(std::string_view number) {
    const size_t e = std::min(number.find_first_of("eE"), number.size());
    long long exponent = 0;
    if (e < number.size()) {
        std::string_view digits = number.substr(e + 1);
        if (digits.front() == '+') {
            digits.remove_prefix(1);
        }
        const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (read.ec != std::errc()) {
            return digits.front() != '-'; // an exponent beyond any long long decides alone
        }
    }
    const std::string_view mantissa = number.substr(0, e);
    const auto point = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const auto first = static_cast<long long>(mantissa.find_first_of("123456789"));
    const long long leading = first < point ? point - first - 1 : point - first;
    return leading + exponent > 0;
}

// A complete decimal number (as DecimalNumberEnd accepts it) as a double.
double ConvertDecimal(std::string_view number) {
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative) {
        number.remove_prefix(1); // from_chars takes a minus sign only; the sign is added below
    }
    double value = 0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range) {
        value = BeyondTheLargestDouble(number) ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}
// A fraction as oilfield sizes are written: "7/8", "3 1/2", "3-1/2", "3½", "3 ½", "½" (with an
// optional sign; "⁄", the fraction slash, may stand for "/"). `value` is null for the shape of a
// fraction that is no number: a zero denominator, a mixed number whose fraction is not below 1,
// or a value too large for a double.
struct Fraction {
    size_t end = 0;
    std::optional<double> value;
};

struct VulgarFraction {
    std::string_view utf8;
    double numerator, denominator;
};

constexpr VulgarFraction kVulgarFractions[] = {
    {"\u00BD", 1, 2}, {"\u00BC", 1, 4}, {"\u00BE", 3, 4}, {"\u2153", 1, 3}, {"\u2154", 2, 3},
    {"\u2155", 1, 5}, {"\u2156", 2, 5}, {"\u2157", 3, 5}, {"\u2158", 4, 5}, {"\u2159", 1, 6},
    {"\u215A", 5, 6}, {"\u215B", 1, 8}, {"\u215C", 3, 8}, {"\u215D", 5, 8}, {"\u215E", 7, 8},
};

size_t DigitsEnd(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i;
}

// The end of a slash at `i`, or `i` when there is none.
size_t SlashEnd(std::string_view text, size_t i) {
    constexpr std::string_view kFractionSlash = "\u2044";
    if (text.substr(i, 1) == "/") {
        return i + 1;
    }
    return text.substr(i, kFractionSlash.size()) == kFractionSlash ? i + kFractionSlash.size() : i;
}

const VulgarFraction* VulgarFractionAt(std::string_view text, size_t i) {
    for (const VulgarFraction& fraction : kVulgarFractions) {
        if (text.substr(i, fraction.utf8.size()) == fraction.utf8) {
            return &fraction;
        }
    }
    return nullptr;
}

double ConvertDigits(std::string_view text, size_t begin, size_t end) {
    return begin == end ? 0.0 : ConvertDecimal(text.substr(begin, end - begin));
}

// "n/d" at `i` (digits both): its end, numerator and denominator; nothing when it is not there.
std::optional<Fraction> SlashedFraction(std::string_view text, size_t i, double& numerator,
                                        double& denominator) {
    const size_t numeratorEnd = DigitsEnd(text, i);
    const size_t slashEnd = numeratorEnd > i ? SlashEnd(text, numeratorEnd) : numeratorEnd;
    const size_t denominatorEnd = DigitsEnd(text, slashEnd);
    if (slashEnd == numeratorEnd || denominatorEnd == slashEnd) {
        return std::nullopt;
    }
    numerator = ConvertDigits(text, i, numeratorEnd);
    denominator = ConvertDigits(text, slashEnd, denominatorEnd);
    return Fraction{denominatorEnd, {}};
}

// The fraction part after a whole number (or alone): a vulgar fraction, or "n/d".
std::optional<Fraction> FractionPart(std::string_view text, size_t i, bool mixed, double whole) {
    double numerator = 0, denominator = 0;
    std::optional<Fraction> part;
    if (const VulgarFraction* vulgar = VulgarFractionAt(text, i)) {
        numerator = vulgar->numerator, denominator = vulgar->denominator;
        part = Fraction{i + vulgar->utf8.size(), {}};
    } else {
        part = SlashedFraction(text, i, numerator, denominator);
    }
    if (!part) {
        return std::nullopt;
    }
    const double value = whole + numerator / denominator;
    if (denominator > 0 && (!mixed || numerator < denominator) && std::isfinite(value)) {
        part->value = value;
    }
    return part;
}

std::optional<Fraction> ScanFraction(std::string_view text, size_t start) {
    size_t i = start;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || negative)) {
        ++i;
    }
    const size_t wholeEnd = DigitsEnd(text, i);
    std::optional<Fraction> fraction;
    if (wholeEnd > i) {
        size_t next = wholeEnd; // the separator between the whole number and the fraction
        while (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
            ++next;
        }
        if (next == wholeEnd && next < text.size() && text[next] == '-') {
            ++next;
        }
        const double whole = ConvertDigits(text, i, wholeEnd);
        fraction = FractionPart(text, next, true, whole);
        if (!fraction && next == wholeEnd) { // no whole number: "7/8"
            fraction = FractionPart(text, i, false, 0);
        }
    } else {
        fraction = FractionPart(text, i, false, 0); // "½"; a slash needs digits before it
    }
    if (fraction && fraction->value && negative) {
        *fraction->value = -*fraction->value;
    }
    return fraction;
}
} // namespace

double RoundToThousandths(double value) {
    return RoundToDecimals(value, 3);
}

double RoundToDecimals(double value, int decimals) {
    const double scale = std::pow(10.0, std::clamp(decimals, 0, 9));
    // Beyond 2^53 / scale every double is already a whole number of steps; scaling would lose it.
    if (!(std::fabs(value) < 9.0e15 / scale)) {
        return value;
    }
    return std::floor(value * scale + 0.5) / scale;
}

double ToSignificantDigits(double value, int digits) {
    if (!std::isfinite(value)) {
        return value;
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                      std::clamp(digits, 1, 17) - 1);
    double result = value;
    std::from_chars(buffer, written.ptr, result);
    return result;
}

std::string FormatDecimals(double value, int decimals) {
    const double rounded = RoundToDecimals(value, decimals);
    if (!(std::fabs(rounded) < 1e15)) {
        return FormatNumber(value);
    }
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, rounded,
                                       std::chars_format::fixed, std::clamp(decimals, 0, 9));
    std::string text(buffer, written.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::string FormatExact(double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

LeadingNumber ScanLeadingNumber(std::string_view text) {
    LeadingNumber number;
    while (number.begin < text.size() && IsBlank(text[number.begin])) {
        ++number.begin;
    }
    number.end = number.begin;
    if (const std::optional<Fraction> fraction = ScanFraction(text, number.begin)) {
        number.value = fraction->value.value_or(0.0);
        number.end = fraction->end;
        return number;
    }
    number.end = DecimalNumberEnd(text, number.begin);
    if (number.end > number.begin) {
        const double value = ConvertDecimal(text.substr(number.begin, number.end - number.begin));
        number.tooLarge = !std::isfinite(value);
        number.value = number.tooLarge ? 0.0 : value;
    }
    return number;
}

double ParseNumber(std::string_view text) {
    return RoundToThousandths(ScanLeadingNumber(text).value);
}

std::optional<double> ReadNumber(std::string_view text) {
    if (const std::optional<Fraction> fraction = ScanFraction(text, 0)) {
        return fraction->end == text.size() ? fraction->value : std::nullopt;
    }
    if (text.empty() || DecimalNumberEnd(text, 0) != text.size()) {
        return std::nullopt;
    }
    return ConvertDecimal(text);
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string OneLineText(std::string text, char instead) {
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }, instead);
    return text;
}
