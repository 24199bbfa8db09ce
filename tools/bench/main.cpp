// gas-separator-bench: starts the program offscreen as the headless driver does, starts the
// pump and pins the dimension lines. By default it runs N main-loop passes of a fixed 1/60 s
// step without sleeping and prints the timings as YAML, one key per line; with --realtime it
// runs the real main loop, sleeps included, for a number of seconds and prints the share of a
// core the process used.

#include "app/Application.h"

#include "app/ScriptDriver.h"
#include "app/Version.h"
#include "app/model/NumberFormat.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorSimulator.h"
#include "app/services/GlobalService.h"
#include "app/services/MainLoopTimer.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

#include <QMainWindow>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

constexpr int kDefaultPasses = 3600;
constexpr double kStep = CScriptDriver::kStepSeconds;

const char* const kUsage = R"(Usage: gas-separator-bench [--passes N]
       gas-separator-bench --realtime SECONDS [--minimised] [--window]
       gas-separator-bench --help | --version

Runs the Gas Separator Simulator offscreen with the pump running and the dimension lines
shown, for N main-loop passes of 1/60 s (default 3600) without sleeping, and prints the
timings and the memory used as YAML: passes, mean_pass_ms, p99_pass_ms,
mean_window_update_ms, mean_simulation_ms, live_particles, first_frame_ms (from the
program's start: the bench executes itself once more to note that moment exactly),
first_frame_cpu_ms (the processor time of all threads until then), startup_steps_ms (where
the time to the first frame went, step by step) and peak_rss_mb.

With --realtime it runs the program's own main loop, with its sleeps, for SECONDS of wall
time (with --minimised the window is minimised first) and prints passes, wall_seconds,
cpu_seconds, cpu_percent (process CPU time over wall time), live_particles,
first_frame_ms, first_frame_cpu_ms, startup_steps_ms and peak_rss_mb. With --window the real
window is shown on the desktop's display (DISPLAY or WAYLAND_DISPLAY, e.g. under xvfb-run)
instead of offscreen.
)";

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double BootClockMs() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage); // every thread of the process
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The moment this program image was started, and the processor time spent before it. The
// kernel's start time of a process counts from its fork, in 10 ms clock ticks, which overstates
// the time to the first frame by 5 ms on average. So the bench executes itself once more and
// notes the moment of that `exec` in the environment: the time from there to `main` is the
// loading of the program and its libraries, exactly.
constexpr const char* kStartVariable = "GAS_SEPARATOR_BENCH_STARTED_AT";
struct ImageStart {
    double bootClockMs = -1; // below 0: not noted, the kernel's start time is used
    double cpuMs = 0;
};

void ExecuteAgainNotingTheStart(char** argv) {
    if (std::getenv(kStartVariable)) {
        return;
    }
    // Whole microseconds, so no locale can change how they are written and read.
    const std::string noted = std::to_string(static_cast<long long>(BootClockMs() * 1000.0)) + " " +
                              std::to_string(static_cast<long long>(CpuSeconds() * 1e6));
    setenv(kStartVariable, noted.c_str(), 1);
    // By its own path, so that the process keeps its name (`ps`, profilers).
    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    execv(error ? "/proc/self/exe" : self.c_str(), argv);
    unsetenv(kStartVariable); // cannot: measured from the kernel's start time instead
}

ImageStart NotedStart() {
    ImageStart start;
    if (const char* noted = std::getenv(kStartVariable)) {
        long long bootUs = -1;
        long long cpuUs = 0;
        if (std::sscanf(noted, "%lld %lld", &bootUs, &cpuUs) == 2 && bootUs > 0) {
            start = {bootUs / 1000.0, cpuUs / 1000.0};
        }
        unsetenv(kStartVariable);
    }
    return start;
}

// Milliseconds since this program image started: from the noted `exec`, else from the kernel's
// start time of the process.
double MsSinceStart(const ImageStart& start) {
    if (start.bootClockMs >= 0) {
        return BootClockMs() - start.bootClockMs;
    }
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    } // field 22 is the start time in clock ticks after boot
    const std::optional<double> ticks = ReadNumber(field);
    if (!ticks) {
        return -1;
    }
    return BootClockMs() - *ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The peak resident set size in megabytes (VmHWM).
double PeakRssMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) { // "VmHWM:    52916 kB"
            std::istringstream fields(line.substr(6));
            std::string kilobytes;
            fields >> kilobytes;
            return ReadNumber(kilobytes).value_or(-1024.0) / 1024.0;
        }
    }
    return -1;
}

struct Options {
    int passes = kDefaultPasses;
    double realtimeSeconds = 0; // above 0: the real main loop for this long
    bool minimised = false;
    bool window = false; // on the desktop's display rather than offscreen
    bool valid = true;
};

std::optional<double> ReadInRange(const char* text, double low, double high) {
    const std::optional<double> value = ReadNumber(text);
    return value && *value >= low && *value <= high ? value : std::nullopt;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc && options.valid; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--passes" && hasValue) {
            const std::optional<double> passes = ReadInRange(argv[++i], 1, 1e8);
            options.valid = passes.has_value();
            options.passes = static_cast<int>(passes.value_or(0));
        } else if (option == "--realtime" && hasValue) {
            const std::optional<double> seconds = ReadInRange(argv[++i], 0.1, 86400);
            options.valid = seconds.has_value();
            options.realtimeSeconds = seconds.value_or(0);
        } else if (option == "--minimised") {
            options.minimised = true;
        } else if (option == "--window") {
            options.window = true;
        } else {
            options.valid = false;
        }
    }
    options.valid =
        options.valid && ((!options.minimised && !options.window) || options.realtimeSeconds > 0);
    return options;
}

int LiveParticles() {
    auto* view = gWindowManager->FindViewAs<CGasSeparatorView>(ViewName::kGasSeparator);
    int live = 0;
    for (int id = 0; view && id < CGasSeparatorView::kRegionCount; ++id) {
        live += static_cast<int>(
            view->Region(static_cast<CGasSeparatorView::RegionId>(id)).Particles().size());
    }
    return live;
}

// Where the time to the first frame went, as a YAML map of milliseconds in order: before
// `main` (the program and its libraries loaded), Qt's platform, each step of the start-up,
// and the first pass, which draws the first frame.
std::string DescribeStartup(double beforeMainMs, double platformMs, const CStepTimes& steps,
                            double firstPassMs) {
    std::string text =
        "{before_main: " + FormatNumber(beforeMainMs) + ", platform: " + FormatNumber(platformMs);
    for (const CStepTimes::Step& step : steps.Steps()) {
        text += ", " + step.name + ": " + FormatNumber(step.ms);
    }
    return text + ", first_pass: " + FormatNumber(firstPassMs) + "}";
}

struct Timings {
    std::vector<double> pass, windowUpdate, simulation;
};

// One pass as the main loop runs it, its two halves timed apart.
bool TimedPass(CApplication& application, Timings& timings) {
    CWindowManager& windowManager = *application.WindowManager();
    CGasSeparatorSimulator& simulator = *application.Simulator();
    const Clock::time_point start = Clock::now();
    windowManager.Update(kStep);
    const Clock::time_point half = Clock::now();
    simulator.Update(kStep);
    timings.windowUpdate.push_back(std::chrono::duration<double, std::milli>(half - start).count());
    timings.simulation.push_back(MsSince(half));
    timings.pass.push_back(MsSince(start));
    return windowManager.IsRunning() && simulator.IsActive();
}

double Mean(const std::vector<double>& values) {
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double Percentile99(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 99 / 100)];
}
// Minimises the main window as a user would; the offscreen platform keeps the state.
void MinimiseWindow() {
    if (auto* window = dynamic_cast<CQtMainWindow*>(Platform().mainWindow)) {
        if (QMainWindow* frame = window->Frame()) {
            frame->showMinimized();
        }
    }
}

// The program's own main loop, sleeps included, for `seconds` of wall time.
void RunRealtime(CApplication& application, double seconds, bool minimised) {
    if (minimised) {
        MinimiseWindow();
    }
    CMainLoopTimer timer(SteadyClockMs, SleepMs);
    const double cpuStart = CpuSeconds();
    const Clock::time_point start = Clock::now();
    RunMainLoop(application, timer, [&] { return MsSince(start) < seconds * 1000.0; });
    const double wall = MsSince(start) / 1000.0;
    const double cpu = CpuSeconds() - cpuStart;
    std::cout << "passes: " << timer.PassCount() << "\n"
              << "minimised: " << (minimised ? "true" : "false") << "\n"
              << "wall_seconds: " << FormatNumber(wall) << "\n"
              << "cpu_seconds: " << FormatNumber(cpu) << "\n"
              << "cpu_percent: " << FormatNumber(100.0 * cpu / wall) << "\n";
}

// Fixed 1/60 s passes without sleeping, each timed.
void RunTimedPasses(CApplication& application, int passes) {
    Timings timings;
    for (int i = 0; i < passes && TimedPass(application, timings); ++i) {
    }
    std::cout << "passes: " << timings.pass.size() << "\n"
              << "mean_pass_ms: " << FormatNumber(Mean(timings.pass)) << "\n"
              << "p99_pass_ms: " << FormatNumber(Percentile99(timings.pass)) << "\n"
              << "mean_window_update_ms: " << FormatNumber(Mean(timings.windowUpdate)) << "\n"
              << "mean_simulation_ms: " << FormatNumber(Mean(timings.simulation)) << "\n";
}
} // namespace

int main(int argc, char** argv) {
    if (const auto status =
            AnswerVersionOrHelp(argc, argv, "gas-separator-bench", kUsage, std::cout)) {
        return *status;
    }
    const Options options = ParseOptions(argc, argv);
    if (!options.valid) {
        std::cerr << "usage: gas-separator-bench [--passes N | --realtime SECONDS [--minimised]"
                     " [--window]]"
                     " (see --help)"
                  << std::endl;
        return 2;
    }
    ExecuteAgainNotingTheStart(argv); // a run to measure: not for --help or a wrong option
    const ImageStart imageStart = NotedStart();
    const double beforeMainMs = MsSinceStart(imageStart);
    const Clock::time_point platformStart = Clock::now();
    CQtPlatform platform(argc, argv,
                         options.window ? CQtPlatform::Display::Desktop
                                        : CQtPlatform::Display::Offscreen);
    platform.Install(true);
    const double platformMs = MsSince(platformStart);
    std::ostringstream messages;
    CDriverShell shell(messages);
    ScopedOverride<IShell> useShell(Platform().shell, &shell);
    CApplication application;
    if (!application.Startup()) {
        std::cerr << messages.str();
        return 1;
    }
    if (gLogManager) {
        gLogManager->SetListener(nullptr); // the log file only: standard output is the report
    }
    Timings firstPass;
    TimedPass(application, firstPass); // the first frame is rendered here
    const double firstFrameMs = MsSinceStart(imageStart);
    const std::string startupSteps =
        DescribeStartup(beforeMainMs, platformMs, application.StartupSteps(), firstPass.pass[0]);
    const double firstFrameCpuMs = CpuSeconds() * 1000.0 - imageStart.cpuMs;
    RaiseEvent(EventName::kPumpStart);
    RaiseEvent(EventName::kShowDimensions);
    if (options.realtimeSeconds > 0) {
        RunRealtime(application, options.realtimeSeconds, options.minimised);
    } else {
        RunTimedPasses(application, options.passes);
    }
    const int live = LiveParticles();
    application.Shutdown();
    // Figures are written with FormatNumber: a point in every locale.
    std::cout << "live_particles: " << live << "\n"
              << "first_frame_ms: " << FormatNumber(firstFrameMs) << "\n"
              << "first_frame_cpu_ms: " << FormatNumber(firstFrameCpuMs) << "\n"
              << "startup_steps_ms: " << startupSteps << "\n"
              << "peak_rss_mb: " << FormatNumber(PeakRssMb()) << std::endl;
    return 0;
}
