#include "app/NumberFormat.h"

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
} // namespace

double RoundToThousandths(double value) {
    // Beyond 2^53 / 1000 every double is already a whole number; scaling would overflow.
    if (std::fabs(value) >= 9.0e12) {
        return value;
    }
    return std::floor(value * 1000 + 0.5) / 1000;
}

double ParseNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    const size_t end = DecimalNumberEnd(text, start);
    if (end == start) {
        return 0;
    }
    const double value = ConvertDecimal(text.substr(start, end - start));
    return std::isfinite(value) ? RoundToThousandths(value) : 0.0;
}

std::optional<double> ReadNumber(std::string_view text) {
    if (text.empty() || DecimalNumberEnd(text, 0) != text.size()) {
        return std::nullopt;
    }
    return ConvertDecimal(text);
}
