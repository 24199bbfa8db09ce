#include "app/NumberFormat.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string FormatNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of `text` (after `start`) that is a decimal number.
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
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) {
        ++start;
    }
    const size_t end = DecimalNumberEnd(text, start);
    if (end == start) {
        return 0;
    }
    const std::string number(text.substr(start, end - start));
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return 0;
    }
    return RoundToThousandths(value);
}
