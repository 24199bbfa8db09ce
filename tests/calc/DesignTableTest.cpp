// Many designs at once: --batch and --sweep tables, their CSV reading, and the sweep's chart.
#include "tools/calc/DesignTable.h"
#include "tools/calc/CsvTable.h"
#include "tools/calc/DesignCalculator.h"

#include "app/files/AtomicFile.h"
#include "app/model/ParameterTable.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

namespace {
const std::string kShipped = "Casing Size: 4.09\nPreset Name: ''\nSeparator OD: 3\n"
                             "Separator ID: 2.75\nDip Tube OD: 1.35\nDip Tube ID: 1.05\n"
                             "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                             "Production Rate: 200\nSPM: 8\n";

using Row = std::map<std::string, std::string>;

struct CalcRun {
    int status;
    std::string out, err;
};

CalcRun Calc(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunDesignCalculator(args, kShipped, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// The table's rows by column name (the calculator writes no quoted fields for numbers).
std::vector<Row> Rows(const std::string& csv) {
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> header = Split(line);
    std::vector<Row> rows;
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = Split(line);
        EXPECT_EQ(fields.size(), header.size()) << line;
        Row row;
        for (size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            row[header[i]] = fields[i];
        }
        rows.push_back(row);
    }
    return rows;
}

// A file in the test binary's own temporary folder.
std::filesystem::path TempFile(const std::string& name, const std::string& contents = "") {
    static const TestFolder folder("calc-tables");
    const auto path = folder / name;
    if (!contents.empty()) {
        EXPECT_TRUE(WriteFileAtomically(path, contents));
    }
    return path;
}

std::string ReadText(const std::filesystem::path& path) {
    std::string text;
    std::error_code error;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 24, text, error)) << path << error.message();
    return text;
}
} // namespace

TEST(CsvTable, QuotesLineEndsAndEmptyLinesAsRfc4180) {
    const auto records = ReadCsv("\xEF\xBB\xBF"
                                 "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                                 "\r\n"
                                 "  \n"
                                 "\"two\nlines\",x\r"
                                 "last,\"open");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(records[1].line, 4);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"two\nlines", "x"}));
    EXPECT_EQ(records[2].line, 6); // after a quoted line end and a lone CR
    EXPECT_NE(records[2].error.find("not closed"), std::string::npos);
    EXPECT_NE(ReadCsv("a\"b\n")[0].error, "");
    EXPECT_EQ(CsvRow({"1", "a,b", "q\""}), "1,\"a,b\",\"q\"\"\"\n");
}

// Read from a stream one record at a time: the same records as the whole text gives, and a
// record too long to keep is an error of its own that leaves the next one as it was.
TEST(CsvTable, AStreamIsReadRecordByRecordWithinALimit) {
    const std::string text = "\xEF\xBB\xBF"
                             "a,b\r\n\"" +
                             std::string(kMostRecordBytes, 'x') + "\n\",2\n\n3,\"c\nd\"\r4,5";
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<CsvRecord> records;
    for (CsvRecord record; reader.Next(record);) {
        records.push_back(record);
    }
    EXPECT_FALSE(reader.Failed());
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[1].error, "the row is longer than 1 MiB");
    EXPECT_LE(records[1].fields.at(0).size(), kMostRecordBytes);
    EXPECT_EQ(records[2].line, 5); // after the line end inside the long field and an empty line
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"3", "c\nd"}));
    EXPECT_EQ(records[3].line, 7);
    EXPECT_EQ(records[3].fields, (std::vector<std::string>{"4", "5"}));
    const auto whole = ReadCsv(text);
    ASSERT_EQ(whole.size(), records.size());
    for (size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(whole[i].fields, records[i].fields);
        EXPECT_EQ(whole[i].line, records[i].line);
    }
}

// Hand-worked, as the model computes them:
// annulus = pi/4 (ID^2 - dip tube OD^2); capacity = round(rise x annulus / 0.112) bbl/day;
// recommended length = rise x (60 / SPM / 2) x 1.23333333333; bore = pi/4 x dip tube ID^2.
// Row 1: ID 4, OD 1 1/2: pi/4 x (16 - 2.25) = 10.7992 in2; 6 x 10.7992 / 0.112 = 578.5 -> 579;
//        bore pi/4 x 1.25^2 = 1.22718 in2; 6 x 3.75 x 1.2333 = 27.75 in.
// Row 2: ID 2 7/8, OD 1-1/2: pi/4 x (8.265625 - 2.25) = 4.72466 in2; 6 x 4.72466 / 0.112 =
//        253.1 -> 253; at 10 SPM 6 x 3 x 1.2333 = 22.2 in.
TEST(DesignTable, ABatchGivesTheHandWorkedFiguresForEachRow) {
    const auto batch = TempFile("good.csv", "\xEF\xBB\xBF"
                                            "Casing_Size,separator_od,\"separator_id\",dip-tube-od,"
                                            "dip_tube_id,spm\r\n"
                                            "6.276,4 1/2,4,1-1/2,1 1/4,8\r\n"
                                            "\r\n"
                                            "6.276,3 1/2,2 7/8,1\u00BD,1.05,10\r\n"
                                            "6.276,3 1/2,2 7/8,1\u00BD,,10\r\n");
    const auto out = TempFile("good-out.csv");
    const CalcRun run = Calc({"--batch", batch.string(), "--out", out.string()});
    EXPECT_EQ(run.status, 1) << run.err; // an empty input field: its row is left out
    EXPECT_NE(run.err.find("line 5: error: dip_tube_id: the field is empty\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("column 'dip_tube_length' not given: every row uses 42 in\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
    const std::vector<Row> rows = Rows(ReadText(out));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("annulus_area_in2"), "10.7992");
    EXPECT_EQ(rows[0].at("maximum_capacity_bbl_per_day"), "579");
    EXPECT_EQ(rows[0].at("dip_tube_bore_area_in2"), "1.22718");
    EXPECT_EQ(rows[0].at("recommended_dip_tube_length_in"), "27.75");
    EXPECT_EQ(rows[1].at("separator_id"), "2.875");
    EXPECT_EQ(rows[1].at("dip_tube_id"), "1.05");
    EXPECT_EQ(rows[1].at("production_rate"), "200");
    EXPECT_EQ(rows[1].at("annulus_area_in2"), "4.72466");
    EXPECT_EQ(rows[1].at("maximum_capacity_bbl_per_day"), "253");
    EXPECT_EQ(rows[1].at("recommended_dip_tube_length_in"), "22.2");
    for (const Row& row : rows) { // 200 bbl/day is below both capacities
        EXPECT_EQ(row.at("time_to_dip_tube_inlet_s"), "never");
        EXPECT_EQ(row.count("gas_limit_production_rate_bbl_per_day"), 1u);
        EXPECT_EQ(row.count("long_run_peak_gas_penetration_in"), 1u);
    }
    std::filesystem::remove(batch);
    std::filesystem::remove(out);
}

TEST(DesignTable, BadRowsAreNamedByLineAndSkippedWithStatusOne) {
    const auto batch = TempFile("bad.csv", "spm,production_rate\n"
                                           "8,200\n"
                                           "12abc,200\n"
                                           "31,200\n" // beyond 30 SPM
                                           "8,7/0\n"
                                           "8\n"
                                           "\"8\"x,200\n"
                                           "10,250\n");
    const CalcRun run = Calc({"--batch", batch.string()});
    EXPECT_EQ(run.status, 1);
    const std::vector<Row> rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].at("spm"), "10");
    for (const char* message :
         {"line 3: error: spm: '12abc' is not a number", "line 4: error: pump speed must be",
          "line 5: error: production_rate: '7/0'", "line 6: error: 1 fields where the header has 2",
          "line 7: error: text after the closing quote"}) {
        EXPECT_NE(run.err.find(message), std::string::npos) << message << "\n" << run.err;
    }
    std::filesystem::remove(batch);
}

TEST(DesignTable, UnusableHeadersAndOutputsAreRefusedBeforeAnyWork) {
    const auto batch = TempFile("header.csv", "spm,SPM\n8,9\n");
    EXPECT_NE(Calc({"--batch", batch.string()}).err.find("'spm' appears twice"), std::string::npos);

    WriteFileAtomically(batch, "spm\n8\n");
    const TestFolder folder("calc-outputs");
    const CalcRun toFolder = Calc({"--batch", batch.string(), "--out", folder.Path().string()});
    EXPECT_EQ(toFolder.status, 2);
    EXPECT_NE(toFolder.err.find("it is a folder"), std::string::npos) << toFolder.err;
    const auto device = folder / "null";
    if (!MakeDevice(device, DeviceKind::Null)) {
        ASSERT_TRUE(MakeFifo(device));
    }
    const CalcRun toDevice = Calc({"--sweep", "spm=8:9:1", "--plot", device.string()});
    EXPECT_EQ(toDevice.status, 2);
    EXPECT_NE(toDevice.err.find("not a regular file"), std::string::npos) << toDevice.err;
    EXPECT_EQ(toDevice.out, "");
    EXPECT_EQ(Calc({"--batch", batch.string(), "--plot", "x.png"}).status, 2); // sweeps only
    std::filesystem::remove(batch);
}

// The shipped design (capacity 242, hand-worked in DesignCalculatorTest's terms:
// pi/4 x (2.75^2 - 1.35^2) = 4.50819 in2, 6 x 4.50819 / 0.112 = 241.5 -> 242).
TEST(DesignTable, ASweepGivesOneRowPerValueAndRefusesEndlessSteps) {
    const CalcRun run = Calc({"--sweep", "production_rate=200:300:50"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Row> rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("production_rate"), "200");
    EXPECT_EQ(rows[2].at("production_rate"), "300");
    EXPECT_EQ(rows[0].at("time_to_dip_tube_inlet_s"), "never");
    EXPECT_EQ(rows[1].at("time_to_dip_tube_inlet_s"), "70.4333");
    EXPECT_EQ(rows[1].at("long_run_peak_gas_penetration_in"), "42"); // the whole dip tube
    for (const Row& row : rows) {
        EXPECT_EQ(row.at("maximum_capacity_bbl_per_day"), "242");
        EXPECT_EQ(row.at("gas_limit_production_rate_bbl_per_day"), "242");
    }
    EXPECT_EQ(Rows(Calc({"--sweep", "dip-tube-od=1 1/4:1:-1/8"}).out).size(), 3u);
    EXPECT_EQ(Rows(Calc({"--sweep", "spm=8:8:1"}).out).size(), 1u);

    for (const char* sweep : {"spm=1:30:0", "spm=30:1:1", "spm=1:2:0.0001", "spm=1:1000000:1",
                              "colour=1:2:1", "spm=1:2", "spm=1:x:1"}) {
        const CalcRun bad = Calc({"--sweep", sweep});
        EXPECT_EQ(bad.status, 2) << sweep;
        EXPECT_NE(bad.err.find("--sweep"), std::string::npos) << sweep << bad.err;
    }
    // Values out of range are bad rows of the sweep: reported by their value.
    const CalcRun past = Calc({"--sweep", "spm=29:31:1"});
    EXPECT_EQ(past.status, 1);
    EXPECT_EQ(Rows(past.out).size(), 2u);
    EXPECT_NE(past.err.find("spm=31: error:"), std::string::npos) << past.err;
}

TEST(DesignTable, LongRunsReportTheirProgressEveryTenth) {
    const CalcRun run = Calc({"--sweep", "production_rate=100:300:1"}); // 201 designs
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("gas-separator-calc: 21 of 201 designs\n"), std::string::npos);
    EXPECT_NE(run.err.find("gas-separator-calc: 201 of 201 designs\n"), std::string::npos);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 10) << run.err;
    EXPECT_EQ(Calc({"--sweep", "production_rate=100:199:1"}).err, ""); // 100 designs
}

TEST(DesignTable, ASweepPlotIsAPngOfTheChart) {
    const auto png = TempFile("sweep.png");
    const CalcRun run = Calc({"--sweep", "production_rate=100:300:10", "--plot", png.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = ReadText(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto bigEndian = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) |
               (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) |
               static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(bigEndian(16), 1000); // the IHDR's width and height
    EXPECT_EQ(bigEndian(20), 620);
    std::filesystem::remove(png);
}

namespace {
// The single run's "key: value" lines.
Row YamlFigures(const std::string& yaml) {
    Row figures;
    std::istringstream lines(yaml);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos) {
            figures[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return figures;
}
} // namespace

// Every row of a sweep, whatever it varies, gives the figures of its design run alone: the rows
// share what they can (the gas limit of one design at any rate), never more.
TEST(DesignTable, EveryRowOfASweepIsTheLoneRunOfItsDesign) {
    for (const char* sweep : {"spm=4:12:4", "dip_tube_length=24:72:24", "rise_velocity=4:8:2",
                              "separator_id=2.5:2.75:0.25", "production_rate=150:350:100"}) {
        SCOPED_TRACE(sweep);
        const std::vector<Row> rows = Rows(Calc({"--sweep", sweep}).out);
        ASSERT_GE(rows.size(), 2u);
        for (const Row& row : rows) {
            std::vector<std::string> args = {"--gas-limit"};
            for (const ParameterSpec& parameter : Parameters()) {
                args.push_back(parameter.Flag());
                args.push_back(row.at(parameter.column));
            }
            const CalcRun lone = Calc(args);
            ASSERT_EQ(lone.status, 0) << lone.err;
            for (const auto& [key, value] : YamlFigures(lone.out)) {
                EXPECT_EQ(row.at(key), value) << key;
            }
        }
    }
}

namespace {
// The fields of each row of a table (header first), quoted fields read as CSV.
std::vector<std::vector<std::string>> Records(const std::string& csv) {
    std::vector<std::vector<std::string>> records;
    for (const CsvRecord& record : ReadCsv(csv)) {
        records.push_back(record.fields);
    }
    return records;
}
} // namespace

// An engineer's batch: a well name and notes carried through after the inputs, unchanged but
// for what a spreadsheet would run as a formula; what it does not give is said once.
TEST(DesignTable, TextColumnsAreCarriedThroughAndDisarmedForSpreadsheets) {
    const CalcRun run = Calc({"--batch", "-"}, "well,spm,Notes,production_rate\n"
                                               "W-1,8,\"pump, new\",200\n"
                                               "\"=HYPERLINK(\"\"http://x\"\")\",10,-3,250\n"
                                               "@SUM(A1),8,+1 555,200\n"
                                               "-W2,8,-1.5e3,200\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto records = Records(run.out);
    ASSERT_EQ(records.size(), 5u);
    const std::vector<std::string> carried[] = {{"well", "Notes"},
                                                {"W-1", "pump, new"},
                                                {"'=HYPERLINK(\"http://x\")", "-3"},
                                                {"'@SUM(A1)", "'+1 555"},
                                                {"'-W2", "-1.5e3"}};
    for (size_t i = 0; i < records.size(); ++i) {
        ASSERT_GT(records[i].size(), 11u);
        EXPECT_EQ(records[i][8], i == 0 ? "spm" : records[i][8]); // the inputs come first
        EXPECT_EQ(std::vector<std::string>(records[i].begin() + 9, records[i].begin() + 11),
                  carried[i]);
    }
    EXPECT_EQ(records[0][11], "annulus_area_in2");
    EXPECT_EQ(records[2][8], "10");
    const std::string notice = "gas-separator-calc: columns 'well', 'Notes' are not inputs of the "
                               "design: carried through to the table unchanged\n";
    EXPECT_EQ(run.err.find(notice), run.err.rfind(notice)); // once
    EXPECT_NE(run.err.find(notice), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("column 'casing_size' not given: every row uses 4.09 in\n"),
              std::string::npos);
    EXPECT_EQ(run.err.find("column 'spm' not given"), std::string::npos);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 8) << run.err;
}

// Input quoted in a message cannot act on the terminal or flood it, and a file saved twice
// with a byte-order mark is said to be so, not taken for a misspelt column.
TEST(DesignTable, MessagesQuoteInputVisiblyAndBriefly) {
    const std::string batch = "\xEF\xBB\xBF\xEF\xBB\xBFseparator_id,spm\n"
                              "2.75,\x1b[31m8\n"
                              "2.75,8" +
                              std::string(1, '\0') + "x\n2.75," + std::string(100000, '9') +
                              "x\n2.75,\"" + std::string(2 << 20, 'y') + "\"\n2.7,8\n";
    const CalcRun run = Calc({"--batch", "-"}, batch);
    EXPECT_EQ(run.status, 1);
    for (const std::string& message :
         {std::string("a byte-order mark (U+FEFF) before 'separator_id'"),
          std::string("line 2: error: spm: '\\x1b[31m8' is not a number\n"),
          std::string("line 3: error: spm: '8\\x00x' is not a number\n"),
          "line 4: error: spm: '" + std::string(60, '9') + "\u2026' is not a number\n",
          std::string("line 5: error: the row is longer than 1 MiB\n")}) {
        EXPECT_NE(run.err.find(message), std::string::npos) << message << "\n" << run.err;
    }
    EXPECT_EQ(run.err.find_first_of(std::string("\x1b\0", 2)), std::string::npos);
    EXPECT_LT(run.err.size(), 2000u);
    EXPECT_EQ(run.err.find("separator_id' not given"), std::string::npos) << run.err;
    const std::vector<Row> rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("separator_id"), "2.7");
}

namespace {
// A few hundred designs of every kind, in the order of an "id" column: several pump speeds,
// rises, annuli and dip tube lengths (short ones fail below capacity), rates on both sides of
// capacity, designs that return with other rates, and rows that are bad or out of range.
std::string VariedBatch(int rows) {
    std::string csv = "id,separator_id,dip_tube_od,dip_tube_length,rise_velocity,"
                      "production_rate,spm\n";
    unsigned state = 7;
    auto pick = [&](std::initializer_list<const char*> values) {
        state = state * 1103515245u + 12345u;
        return *(values.begin() + (state >> 16) % values.size());
    };
    for (int i = 0; i < rows; ++i) {
        csv += std::to_string(i) + "," + pick({"2.75", "2.5", "2.2"}) + "," +
               pick({"1.35", "1.5", "1.9"}) + "," + pick({"12", "18", "42", "120"}) + "," +
               pick({"2", "6", "11.5"}) + "," + pick({"40", "150", "240", "300", "900"}) + "," +
               pick({"3", "7.5", "8", "16", "31", "x"}) + "\n";
    }
    return csv;
}
} // namespace

// Rows computed side by side are the rows computed one at a time, byte for byte, messages
// included, and come out in the order they went in.
TEST(DesignTable, RowsComputedSideBySideAreTheLoneRowsInInputOrder) {
    const std::string batch = VariedBatch(300);
    const CalcRun lone = Calc({"--batch", "-", "-j", "1"}, batch);
    const CalcRun sideBySide = Calc({"--batch", "-", "-j", "4"}, batch);
    EXPECT_EQ(lone.status, 1); // some rows are bad
    EXPECT_EQ(sideBySide.status, lone.status);
    EXPECT_EQ(sideBySide.out, lone.out);
    EXPECT_EQ(sideBySide.err, lone.err);
    int last = -1;
    std::map<std::string, int> verdicts;
    for (const Row& row : Rows(sideBySide.out)) {
        EXPECT_GT(std::stoi(row.at("id")), last);
        last = std::stoi(row.at("id"));
        ++verdicts[row.at("verdict") + ", " + row.at("verdict_cause")];
    }
    EXPECT_GT(last, 250);
    EXPECT_EQ(verdicts.size(), 3u); // works, and fails for either cause
}

namespace {
// The shipped design at production rates from 1 up, noting how much of the table had been
// handed on when each row was read.
class RateRows : public RowSource {
public:
    RateRows(size_t count, const std::string& written) : count_(count), written_(written) {}
    bool Next(DesignRow& row) override {
        if (next_ == count_) {
            return false;
        }
        writtenWhenRead_.push_back(std::count(written_.begin(), written_.end(), '\n'));
        row = DesignRow{"row " + std::to_string(next_), {}, {}, {}};
        row.design.SetProductionRate(static_cast<double>(++next_));
        return true;
    }
    size_t Count() const override { return count_; }
    const std::vector<std::string>& CarriedColumns() const override { return none_; }
    std::vector<long> writtenWhenRead_;

private:
    size_t count_, next_ = 0;
    const std::string& written_;
    std::vector<std::string> none_;
};
} // namespace

// However many rows there are, only a window of them is held at once, and the table is handed
// on while rows are still being read.
TEST(DesignTable, ATableStreamsWithABoundedWindowOfRows) {
    std::string written;
    RateRows rows(400, written);
    TableRun run;
    run.workers = 2;
    run.write = [&](std::string_view text) { written += text; };
    std::ostringstream err;
    const TableResult result = ComputeTable(rows, RunSettings{}, run, err);
    EXPECT_LE(result.mostRowsInFlight, 16u); // eight rows for each worker
    EXPECT_GE(result.mostRowsInFlight, 2u);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 401);
    EXPECT_EQ(rows.writtenWhenRead_.front(), 1); // the header, before any row
    EXPECT_GT(rows.writtenWhenRead_.back(), 150);
}
