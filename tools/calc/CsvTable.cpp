#include "tools/calc/CsvTable.h"

#include <sstream>

namespace {
constexpr size_t kReadChunk = 1 << 16;

bool IsEmptyLine(const CsvRecord& record) {
    return record.error.empty() && record.fields.size() == 1 &&
           record.fields[0].find_first_not_of(" \t") == std::string::npos;
}
} // namespace

CsvReader::CsvReader(std::istream& in) : in_(in), buffer_(kReadChunk) {}

int CsvReader::Peek() {
    if (position_ == end_) {
        if (!in_.good()) {
            return EOF;
        }
        in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        position_ = 0;
        end_ = static_cast<size_t>(in_.gcount());
        if (end_ == 0) {
            return EOF;
        }
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

int CsvReader::Get() {
    const int c = Peek();
    position_ += c != EOF;
    return c;
}

bool CsvReader::AtLineEnd() {
    const int c = Peek();
    return c == EOF || c == '\n' || c == '\r';
}

// Adds `c` to `field`, unless the record has grown too long: then it becomes an error and
// nothing more of it is kept.
void CsvReader::Keep(CsvRecord& record, std::string& field, char c) {
    if (++recordBytes_ <= kMostRecordBytes) {
        field += c;
    } else if (record.error.empty()) {
        record.error = "the row is longer than " + std::to_string(kMostRecordBytes >> 20) + " MiB";
    }
}

// Reads the quoted field whose opening quote has been read; sets the error if it is not closed.
void CsvReader::ReadQuoted(CsvRecord& record, std::string& field) {
    for (int c = Get(); c != EOF; c = Get()) {
        if (c != '"') {
            line_ += c == '\n' || (c == '\r' && Peek() != '\n');
            Keep(record, field, static_cast<char>(c));
        } else if (Peek() == '"') {
            Keep(record, field, static_cast<char>(Get()));
        } else {
            return;
        }
    }
    if (record.error.empty()) {
        record.error = "a quoted field is not closed";
    }
}

// Reads one field, up to what follows it (a comma, a line end, the end).
void CsvReader::ReadField(CsvRecord& record) {
    std::string field;
    if (Peek() == '"') {
        Get();
        ReadQuoted(record, field);
        if (!AtLineEnd() && Peek() != ',' && record.error.empty()) {
            record.error =
                "text after the closing quote of field " + std::to_string(record.fields.size() + 1);
        }
    }
    while (!AtLineEnd() && Peek() != ',') {
        const char c = static_cast<char>(Get());
        if (c == '"' && record.error.empty()) {
            record.error =
                "a quote inside unquoted field " + std::to_string(record.fields.size() + 1);
        }
        Keep(record, field, c);
    }
    record.fields.push_back(std::move(field));
}

bool CsvReader::Next(CsvRecord& record) {
    if (!started_) { // a byte order mark at the very start is no part of the first field
        started_ = true;
        if (Peek() != EOF &&
            std::string_view(buffer_.data(), end_).substr(0, 3) == "\xEF\xBB\xBF") {
            position_ += 3;
        }
    }
    while (Peek() != EOF) {
        record = CsvRecord{line_, {}, {}};
        recordBytes_ = 0;
        ReadField(record);
        while (Peek() == ',') {
            Get();
            ReadField(record);
        }
        if (Peek() == '\r') {
            Get();
        }
        if (Peek() == '\n') {
            Get();
        }
        ++line_;
        if (!IsEmptyLine(record)) {
            return true;
        }
    }
    return false;
}

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    std::istringstream in{std::string(text)};
    CsvReader reader(in);
    std::vector<CsvRecord> records;
    for (CsvRecord record; reader.Next(record);) {
        records.push_back(std::move(record));
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
