#include "tools/calc/QuotedText.h"

#include <cstdio>

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string ByteEscape(unsigned char byte) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    return escape;
}

// The length of the UTF-8 sequence at `i` and its code point; 0 when the bytes there are not
// one (a stray continuation byte, a cut or overlong sequence, a surrogate).
size_t Utf8At(std::string_view text, size_t i, char32_t& point) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) {
        return 0;
    }
    point = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        point >= least[length] && point <= 0x10FFFF && !(point >= 0xD800 && point <= 0xDFFF);
    return valid ? length : 0;
}

// Code points a terminal acts on or that hide or reorder text: C1 controls, line and paragraph
// separators, bidirectional controls, the byte-order mark (a zero-width space inside text).
bool IsHiddenControl(char32_t point) {
    return (point >= 0x80 && point <= 0x9F) || point == 0x2028 || point == 0x2029 ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069) ||
           point == 0xFEFF;
}

// Appends the character at `i` to `out`, escaped when it must be; returns its length in bytes.
size_t AppendVisible(std::string_view text, size_t i, std::string& out) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
        out += ByteEscape(byte);
        return 1;
    }
    if (byte < 0x80) {
        out += text[i];
        return 1;
    }
    char32_t point = 0;
    const size_t length = Utf8At(text, i, point);
    if (length == 0) {
        out += ByteEscape(byte);
        return 1;
    }
    if (IsHiddenControl(point)) {
        char escape[12];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(point));
        out += escape;
    } else {
        out += text.substr(i, length);
    }
    return length;
}

// `text` with every character made visible, cut after `most` characters with "…".
std::string Visible(std::string_view text, size_t most) {
    std::string out;
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++characters) {
        if (characters == most) {
            return out + "\u2026";
        }
        i += AppendVisible(text, i, out);
    }
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `i`; returns the position after them.
size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i;
}

// A sign, digits with at most one point (some digits), and an optional exponent: what every
// spreadsheet reads as a number.
bool IsPlainDecimal(std::string_view text) {
    size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const size_t whole = SkipDigits(text, i);
    size_t end = whole;
    if (end < text.size() && text[end] == '.') {
        end = SkipDigits(text, end + 1);
    }
    if (end - i - (end > whole ? 1 : 0) == 0) {
        return false; // no digit at all
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        exponent += exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-');
        end = SkipDigits(text, exponent);
        if (end == exponent) {
            return false;
        }
    }
    return end == text.size();
}
} // namespace

std::string QuoteInput(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        return "a byte-order mark (U+FEFF) before " +
               QuoteInput(text.substr(kByteOrderMark.size()));
    }
    return "'" + Visible(text, kMostQuotedCharacters) + "'";
}

std::string Printable(std::string_view message) {
    return Visible(message, std::string_view::npos);
}

std::string SpreadsheetSafe(std::string_view cell) {
    const bool formulaStart =
        !cell.empty() && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos;
    return formulaStart && !IsPlainDecimal(cell) ? "'" + std::string(cell) : std::string(cell);
}
