#pragma once
// Comma-separated tables as RFC 4180 describes them, read leniently: CRLF, LF or CR line ends,
// a UTF-8 byte order mark at the start, fields in double quotes (with "" for a quote, and line
// ends inside), empty lines skipped. Read one record at a time, so a table of any length takes
// the memory of one record.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line = 0; // the line the record begins on, from 1
    std::vector<std::string> fields;
    std::string error; // why the record is malformed (its fields are then incomplete)
};

// The longest record kept: a longer one is an error and its fields are dropped as they come.
inline constexpr size_t kMostRecordBytes = 1 << 20;

// The records of a stream, one at a time.
class CsvReader {
public:
    explicit CsvReader(std::istream& in);
    // The next record that is not an empty line (no fields but one of blanks); false at the
    // end of the stream, or when a read failed (Failed()).
    bool Next(CsvRecord& record);
    bool Failed() const { return in_.bad(); }

private:
    int Peek();
    int Get();
    bool AtLineEnd();
    void ReadField(CsvRecord& record);
    void ReadQuoted(CsvRecord& record, std::string& field);
    void Keep(CsvRecord& record, std::string& field, char c);

    std::istream& in_;
    std::vector<char> buffer_;
    size_t position_ = 0, end_ = 0;
    int line_ = 1;
    size_t recordBytes_ = 0;
    bool started_ = false;
};

// Every record of `text` that is not an empty line.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// One row as written: fields quoted when they hold a comma, a quote or a line end; "\n" after.
std::string CsvRow(const std::vector<std::string>& fields);
