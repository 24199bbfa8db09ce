#include "tools/calc/CsvTable.h"

#include <algorithm>

namespace {
bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Reads the quoted field whose opening quote is before `i`; returns the position after the
// closing quote, or the text's end with `error` set.
size_t ReadQuoted(std::string_view text, size_t i, int& line, std::string& field,
                  std::string& error) {
    while (i < text.size()) {
        const char c = text[i++];
        if (c != '"') {
            line += c == '\n' || (c == '\r' && (i == text.size() || text[i] != '\n'));
            field += c;
        } else if (i < text.size() && text[i] == '"') {
            field += '"';
            ++i;
        } else {
            return i;
        }
    }
    error = "a quoted field is not closed";
    return i;
}

// Reads one field at `i`; returns the position of what follows it (a comma, a line end, the
// end).
size_t ReadField(std::string_view text, size_t i, int& line, CsvRecord& record) {
    std::string field;
    if (i < text.size() && text[i] == '"') {
        i = ReadQuoted(text, i + 1, line, field, record.error);
        if (i < text.size() && text[i] != ',' && !IsLineEnd(text[i]) && record.error.empty()) {
            record.error =
                "text after the closing quote of field " + std::to_string(record.fields.size() + 1);
        }
    }
    while (i < text.size() && text[i] != ',' && !IsLineEnd(text[i])) {
        if (text[i] == '"' && record.error.empty()) {
            record.error =
                "a quote inside unquoted field " + std::to_string(record.fields.size() + 1);
        }
        field += text[i++];
    }
    record.fields.push_back(std::move(field));
    return i;
}

bool IsEmptyLine(const CsvRecord& record) {
    return record.error.empty() && record.fields.size() == 1 &&
           record.fields[0].find_first_not_of(" \t") == std::string::npos;
}
} // namespace

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<CsvRecord> records;
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        i = ReadField(text, i, line, record);
        while (i < text.size() && text[i] == ',') {
            i = ReadField(text, i + 1, line, record);
        }
        if (i < text.size() && text[i] == '\r') {
            ++i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++i;
        }
        ++line;
        if (!IsEmptyLine(record)) {
            records.push_back(std::move(record));
        }
    }
    return records;
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        row += i ? "," : "";
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            row += field;
            continue;
        }
        row += '"';
        for (char c : field) {
            row += c == '"' ? "\"\"" : std::string(1, c);
        }
        row += '"';
    }
    return row + "\n";
}
