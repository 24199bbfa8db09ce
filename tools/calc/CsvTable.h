#pragma once
// Comma-separated tables as RFC 4180 describes them, read leniently: CRLF, LF or CR line ends,
// a UTF-8 byte order mark at the start, fields in double quotes (with "" for a quote, and line
// ends inside), empty lines skipped.

#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    int line = 0; // the line the record begins on, from 1
    std::vector<std::string> fields;
    std::string error; // why the record is malformed (its fields are then incomplete)
};

// Every record of `text` that is not an empty line (no fields but one of blanks).
std::vector<CsvRecord> ReadCsv(std::string_view text);

// One row as written: fields quoted when they hold a comma, a quote or a line end; "\n" after.
std::string CsvRow(const std::vector<std::string>& fields);
