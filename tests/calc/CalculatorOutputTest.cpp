// The calculator's outputs: refused before any work when they cannot be written, never cut off
// or lost with exit status 0, and taken from standard input with "--batch -"; the chart of a
// one-value sweep.
#include "tools/calc/DesignCalculator.h"

#include "app/files/AtomicFile.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <sstream>

namespace fs = std::filesystem;

namespace {
const std::string kShipped = "Casing Size: 4.09\nPreset Name: ''\nSeparator OD: 3\n"
                             "Separator ID: 2.75\nDip Tube OD: 1.35\nDip Tube ID: 1.05\n"
                             "Dip Tube Length: 42\nGas Bubble Rise Velocity: 6\n"
                             "Production Rate: 200\nSPM: 8\n";
// 201 designs: a run that does its work says so on standard error.
const std::vector<std::string> kLongSweep = {"--sweep", "production_rate=100:300:1"};

struct CalcResult {
    int status = -1;
    std::string out, err;
};

CalcResult Calc(const std::vector<std::string>& args, std::istream& in) {
    std::ostringstream out, err;
    const int status = RunDesignCalculator(args, kShipped, in, out, err);
    return {status, out.str(), err.str()};
}

CalcResult Calc(const std::vector<std::string>& args) {
    std::istringstream none;
    return Calc(args, none);
}

std::vector<std::string> With(std::vector<std::string> args, const std::string& option,
                              const fs::path& path) {
    args.push_back(option);
    args.push_back(path.string());
    return args;
}

std::string Read(const fs::path& path) {
    std::string text;
    std::error_code error;
    EXPECT_TRUE(ReadRegularFile(path, 1 << 24, text, error)) << path << ": " << error.message();
    return text;
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries.push_back(entry.path().filename().string() + " " + KindOf(entry.path()));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}
} // namespace

TEST(CalculatorOutput, UnwritableOutputsAreRefusedBeforeAnyWork) {
    TestFolder folder("calc-refused");
    const fs::path readOnly = folder / "kept.csv";
    ASSERT_TRUE(WriteFileAtomically(readOnly, "old"));
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    // Not a regular file: a device of the test's own where one may be made, else a FIFO.
    const fs::path special = folder / "special";
    if (!MakeDevice(special, DeviceKind::Null)) {
        ASSERT_TRUE(MakeFifo(special));
    }
    fs::create_symlink("special", folder / "special-link");
    ASSERT_TRUE(WriteFileAtomically(folder / "a.csv", "a"));
    fs::create_symlink("a.csv", folder / "a-link.png");
    const std::string linked = "it is a link to \"" + special.string() +
                               "\", which is not a regular file (a device, a FIFO, a folder)";
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {With(kLongSweep, "--out", readOnly),
         "cannot write output '" + readOnly.string() + "': it is read-only"},
        {With(kLongSweep, "--plot", readOnly),
         "cannot write plot '" + readOnly.string() + "': it is read-only"},
        {With({}, "--trace", readOnly),
         "cannot write trace file '" + readOnly.string() + "': it is read-only"},
        {With(kLongSweep, "--out", folder / "special-link"), linked},
        {With(kLongSweep, "--plot", special), "not a regular file (a device, a FIFO, a folder)"},
        {With(With(kLongSweep, "--out", folder / "a.csv"), "--plot", folder / "a-link.png"),
         "--out and --plot name the same file '" + (folder / "a-link.png").string() + "'"},
        {With(With(kLongSweep, "--out", folder / "b.csv"), "--plot", folder / "." / "b.csv"),
         "--out and --plot name the same file"},
        {With(kLongSweep, "--out", folder / "missing" / "x.csv"), "No such file or directory"},
    };
    if (KindOf(special) != "fifo") { // today's trace would wait for a FIFO's reader for ever
        cases.push_back({With({}, "--trace", folder / "special-link"), linked});
    }
    const std::vector<std::string> before = Listing(folder.Path());
    for (const auto& [args, message] : cases) {
        const CalcResult run = Calc(args);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err; // no work
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Listing(folder.Path()), before);
    EXPECT_EQ(Read(readOnly), "old");

    // Relative names, from inside the folder.
    const fs::path start = fs::current_path();
    fs::current_path(folder.Path());
    const CalcResult relative = Calc(With(With(kLongSweep, "--out", "c.csv"), "--plot", "./c.csv"));
    fs::current_path(start);
    EXPECT_NE(relative.err.find("--out and --plot name the same file './c.csv'"), std::string::npos)
        << relative.err;
    EXPECT_EQ(Listing(folder.Path()), before);
}

namespace {
// Runs the calculator in a child process whose files may not grow beyond `bytes` (a full disk
// without root): writes past it fail with EFBIG.
CalcResult CalcWithFileSizeLimit(const std::vector<std::string>& args, rlim_t bytes) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const CalcResult run = Calc(args);
        const std::string report = std::to_string(run.status) + "\n" + run.err;
        const bool sent =
            ::write(pipe[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    const size_t line = report.find('\n');
    return line == std::string::npos
               ? CalcResult{}
               : CalcResult{std::stoi(report.substr(0, line)), "", report.substr(line + 1)};
}
} // namespace

TEST(CalculatorOutput, ATraceThatCannotBeFinishedLeavesThePreviousOne) {
    TestFolder folder("calc-trace-full");
    const fs::path trace = folder / "old.csv";
    const std::string old = "time_s\n0\n";
    ASSERT_TRUE(WriteFileAtomically(trace, old));
    // 60,000 rows of about 150 bytes against a limit of 64 KiB.
    const CalcResult run = CalcWithFileSizeLimit(
        {"--seconds", "60", "--step", "0.001", "--trace", trace.string()}, 65536);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot write trace file '" + trace.string() + "': File too large"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Read(trace), old);
    EXPECT_EQ(Listing(folder.Path()), std::vector<std::string>{"old.csv file"});
}

namespace {
// A standard output on a full disk.
class FullDisk : public std::streambuf {
protected:
    int overflow(int) override { return Fail(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return Fail(); }
    static int Fail() {
        errno = ENOSPC;
        return traits_type::eof();
    }
};

// The exit status and standard error of the built calculator with its standard output on
// `output` (a descriptor the child takes), SIGPIPE as a shell leaves it.
CalcResult CalcProgram(const std::vector<std::string>& args, int output, const fs::path& errFile) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output, STDOUT_FILENO);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, STDERR_FILENO);
        std::signal(SIGPIPE, SIG_DFL);
        std::vector<char*> argv = {const_cast<char*>(GS_CALC)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(GS_CALC, argv.data());
        ::_exit(127);
    }
    ::close(output);
    int status = -1;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", Read(errFile)};
}

// A full device to write standard output to: the test's own, or the system's when it is one
// and named without a link. Checked to fail as a full disk does.
int OpenFullDevice(const fs::path& own) {
    const fs::path device = MakeDevice(own, DeviceKind::Full) ? own : fs::path("/dev/full");
    if (KindOf(device) != "device 1,7") {
        return -1;
    }
    const int fd = ::open(device.c_str(), O_WRONLY | O_NOFOLLOW);
    if (fd >= 0 && !(::write(fd, "x", 1) < 0 && errno == ENOSPC)) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

TEST(CalculatorOutput, AStandardOutputThatFailsEndsTheRunWithItsReason) {
    FullDisk full;
    std::ostream out(&full);
    std::ostringstream err;
    std::istringstream in;
    EXPECT_EQ(RunDesignCalculator(kLongSweep, kShipped, in, out, err), 2);
    EXPECT_NE(err.str().find("gas-separator-calc: cannot write standard output: No space left on "
                             "device\n"),
              std::string::npos)
        << err.str();

    TestFolder folder("calc-stdout");
    int closed[2];
    ASSERT_EQ(::pipe(closed), 0);
    ::close(closed[0]); // nobody reads
    const CalcResult piped = CalcProgram(kLongSweep, closed[1], folder / "err.txt");
    EXPECT_EQ(piped.status, 2);
    EXPECT_NE(piped.err.find("gas-separator-calc: cannot write standard output: Broken pipe\n"),
              std::string::npos)
        << piped.err;

    const int device = OpenFullDevice(folder / "full");
    if (device < 0) {
        GTEST_SKIP() << "no full device to write to (mknod not permitted, no /dev/full)";
    }
    for (const std::vector<std::string>& args : {kLongSweep, std::vector<std::string>{"--help"}}) {
        const CalcResult onFull = CalcProgram(args, ::dup(device), folder / "err.txt");
        EXPECT_EQ(onFull.status, 2) << args[0];
        EXPECT_NE(onFull.err.find("cannot write standard output: No space left on device\n"),
                  std::string::npos)
            << onFull.err;
    }
    ::close(device);
}

namespace {
// Standard input that never ends, as /dev/zero would be.
class Endless : public std::streambuf {
protected:
    int underflow() override {
        setg(chunk_, chunk_, chunk_ + sizeof chunk_);
        return 'x';
    }

private:
    char chunk_[65536] = {};
};
} // namespace

TEST(CalculatorOutput, ABatchCanComeFromStandardInputWithinTheSameLimit) {
    std::istringstream in("spm,production_rate\n8,200\n10,250\n");
    const CalcResult run = Calc({"--batch", "-"}, in);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
    EXPECT_NE(run.out.find("\n4.09,3,2.75,1.35,1.05,42,6,250,10,"), std::string::npos) << run.out;

    Endless endless;
    std::istream zero(&endless);
    const CalcResult tooMuch = Calc({"--batch", "-"}, zero);
    EXPECT_EQ(tooMuch.status, 2);
    EXPECT_NE(tooMuch.err.find("cannot read the batch from standard input: over 64 MiB"),
              std::string::npos)
        << tooMuch.err;
}

namespace {
// Pixels of the chart's green (the deepest penetration) inside the axes' box, and light text
// pixels in the strip above its left half, where notes go.
std::pair<int, int> GreenAndNotePixels(const QImage& chart) {
    int green = 0, note = 0;
    for (int y = 122; y < 530; ++y) {
        for (int x = 110; x < 950; ++x) {
            const QColor c = chart.pixelColor(x, y);
            green += std::abs(c.red() - 84) < 30 && std::abs(c.green() - 218) < 30 &&
                     std::abs(c.blue() - 26) < 30;
        }
    }
    for (int y = 98; y < 118; ++y) {
        for (int x = 110; x < 530; ++x) {
            note += chart.pixelColor(x, y).lightness() > 150;
        }
    }
    return {green, note};
}
} // namespace

TEST(CalculatorOutput, AOneValueSweepDrawsItsPointAndSaysTheRangeIsOneValue) {
    TestFolder folder("calc-one-value");
    const fs::path png = folder / "chart.png";
    const CalcResult one = Calc({"--sweep", "production_rate=200:200:1", "--plot", png.string()});
    ASSERT_EQ(one.status, 0) << one.err;
    const auto [green, note] = GreenAndNotePixels(QImage(QString::fromStdString(png.string())));
    EXPECT_GT(green, 30);
    EXPECT_GT(note, 50);

    const CalcResult many = Calc({"--sweep", "spm=8:12:1", "--plot", png.string()});
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(GreenAndNotePixels(QImage(QString::fromStdString(png.string()))).second, 0);
}
