// The calculator's outputs: refused before any work when they cannot be written, never cut off
// or lost with exit status 0; a batch from standard input; the chart of a one-value sweep.
#include "tools/calc/DesignCalculator.h"

#include "app/files/AtomicFile.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <QImage>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <sstream>

namespace fs = std::filesystem;

namespace {
const std::string kShipped = "Casing Size: 4.09\nPreset Name: ''\nSeparator OD: 3\n"
                             "Separator ID: 2.75\nDip Tube OD: 1.35\nDip Tube ID: 1.05\n"
                             "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                             "Production Rate: 200\nSPM: 8\n";

struct CalcResult {
    int status = -1;
    std::string out, err;
};

CalcResult Calc(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunDesignCalculator(args, kShipped, in, out, err);
    return {status, out.str(), err.str()};
}

// 201 designs: a run that does its work reports its progress on standard error.
std::vector<std::string> LongSweep(const std::vector<std::string>& outputs) {
    std::vector<std::string> args = {"--sweep", "production_rate=100:300:1"};
    args.insert(args.end(), outputs.begin(), outputs.end());
    return args;
}
} // namespace

TEST(CalculatorOutput, UnwritableOutputsAreRefusedBeforeAnyWork) {
    TestFolder folder("calc-refused");
    const std::string kept = folder / "kept.csv", special = folder / "special";
    ASSERT_TRUE(WriteFileAtomically(kept, "old"));
    fs::permissions(kept, fs::perms::owner_read);
    const bool device = MakeDevice(special, DeviceKind::Null);
    ASSERT_TRUE(device || MakeFifo(special));
    fs::create_symlink("special", folder / "special-link");
    const std::string link = folder / "special-link",
                      linked = "it is a link to \"" + special + "\", which is not a regular file";
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {LongSweep({"--out", kept}), "cannot write output '" + kept + "': it is read-only"},
        {LongSweep({"--plot", kept}), "cannot write plot '" + kept + "': it is read-only"},
        {{"--trace", kept}, "cannot write trace file '" + kept + "': it is read-only"},
        {LongSweep({"--out", link}), linked},
        {LongSweep({"--out", folder / "missing/x.csv"}), "No such file or directory"},
        {LongSweep({"--out", folder / "a.csv", "--plot", folder / "./a.csv"}),
         "--out and --plot name the same file"}};
    if (device) { // today's trace would wait for a FIFO's reader for ever
        cases.push_back({{"--trace", link}, linked});
    }
    const auto before = Listing(folder.Path());
    for (const auto& [args, message] : cases) {
        const CalcResult run = Calc(args);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err; // no work
    }
    EXPECT_EQ(Listing(folder.Path()), before);
}

// A full disk without root: the child's files may not grow beyond 64 KiB (EFBIG).
TEST(CalculatorOutput, ATraceThatCannotBeFinishedLeavesThePreviousOne) {
    TestFolder folder("calc-trace-full");
    const std::string trace = folder / "old.csv";
    ASSERT_TRUE(WriteFileAtomically(trace, "old\n"));
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const CalcResult run = Calc({"--seconds", "60", "--step", "0.001", "--trace", trace});
        ::_exit(run.status == 2 && run.err == "gas-separator-calc: cannot write trace file '" +
                                                  trace + "': File too large\n"
                    ? 0
                    : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Listing(folder.Path()), std::set<std::string>{"old.csv file"});
    EXPECT_EQ(TextOf(trace), "old\n");
}

namespace {
// The program's exit status and standard error, run by the shell in `folder` with its standard
// output sent by `redirect`, SIGPIPE not ignored (as a shell leaves it).
CalcResult Program(const fs::path& folder, const std::string& args, const std::string& redirect) {
    std::signal(SIGPIPE, SIG_DFL);
    const std::string command = "cd '" + folder.string() + "' && { '" GS_CALC "' " + args +
                                " 2>err; echo $? >status; } " + redirect;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return {std::atoi(TextOf(folder / "status").c_str()), "", TextOf(folder / "err")};
}
} // namespace

// Drawn where the session has no runtime folder (cron, ssh), a chart adds nothing of Qt's to
// standard error.
TEST(CalculatorOutput, AChartDrawnWithoutARuntimeFolderSaysNothingOfIt) {
    TestFolder folder("calc-quiet-plot");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string kept = runtime ? runtime : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    const CalcResult run = Program(folder.Path(), "--sweep spm=8:9:1 --plot chart.png", ">out");
    if (runtime) {
        ::setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
    }
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.find("XDG_RUNTIME_DIR"), std::string::npos) << run.err;
}

TEST(CalculatorOutput, AStandardOutputThatFailsEndsTheRunWithItsReason) {
    TestFolder folder("calc-stdout");
    const std::string sweep = "--sweep production_rate=100:300:1";
    const CalcResult closed = Program(folder.Path(), sweep, "| true"); // the reader has gone
    EXPECT_EQ(closed.status, 2);
    EXPECT_NE(closed.err.find("cannot write standard output: Broken pipe\n"), std::string::npos)
        << closed.err;
    // A full device: the test's own, or the system's when it is one and no link leads there.
    const fs::path full =
        MakeDevice(folder / "full", DeviceKind::Full) ? folder / "full" : "/dev/full";
    if (KindOf(full) != "device 1,7") {
        GTEST_SKIP() << "no full device (mknod not permitted, no /dev/full)";
    }
    for (const std::string& args : {sweep, std::string("--help")}) {
        const CalcResult onFull = Program(folder.Path(), args, ">'" + full.string() + "'");
        EXPECT_EQ(onFull.status, 2) << args;
        EXPECT_NE(onFull.err.find("cannot write standard output: No space left on device\n"),
                  std::string::npos)
            << onFull.err;
    }
}

TEST(CalculatorOutput, ABatchCanComeFromStandardInput) {
    const CalcResult run = Calc({"--batch", "-"}, "spm,production_rate\n8,200\n10,250\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
    EXPECT_NE(run.out.find("\n4.09,3,2.75,1.35,1.05,42,6,250,10,"), std::string::npos) << run.out;
    // Their number unknown until the end, long batches say how far they have got.
    std::string batch = "production_rate\n";
    for (int rate = 1; rate <= 250; ++rate) {
        batch += std::to_string(rate) + "\n";
    }
    const CalcResult long_ = Calc({"--batch", "-"}, batch);
    EXPECT_EQ(long_.status, 0);
    EXPECT_NE(long_.err.find("gas-separator-calc: 100 designs so far\n"
                             "gas-separator-calc: 200 designs so far\n"),
              std::string::npos)
        << long_.err;
    EXPECT_EQ(std::count(long_.out.begin(), long_.out.end(), '\n'), 251);
}

namespace {
// Pixels of the deepest penetration's green inside the axes' box, and light text pixels in the
// strip above the box's left half, where notes go.
std::pair<int, int> GreenAndNotePixels(const fs::path& png) {
    const QImage chart(QString::fromStdString(png.string()));
    int green = 0, note = 0;
    for (int y = 98; y < 530; ++y) {
        for (int x = 110; x < 950; ++x) {
            const QColor c = chart.pixelColor(x, y);
            green +=
                y >= 122 &&
                std::abs(c.red() - 84) + std::abs(c.green() - 218) + std::abs(c.blue() - 26) < 60;
            note += y < 118 && x < 530 && c.lightness() > 150;
        }
    }
    return {green, note};
}
} // namespace

TEST(CalculatorOutput, AOneValueSweepDrawsItsPointAndSaysTheRangeIsOneValue) {
    TestFolder folder("calc-one-value");
    const std::string png = folder / "chart.png";
    ASSERT_EQ(Calc({"--sweep", "production_rate=200:200:1", "--plot", png}).status, 0);
    const auto [green, note] = GreenAndNotePixels(png);
    EXPECT_GT(green, 30);
    EXPECT_GT(note, 50);
    ASSERT_EQ(Calc({"--sweep", "spm=8:12:1", "--plot", png}).status, 0);
    EXPECT_EQ(GreenAndNotePixels(png).second, 0);
}
