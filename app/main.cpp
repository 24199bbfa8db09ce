// gas-separator: the simulator's window and main loop. Without a display it runs a short
// demonstration through the headless driver instead and says where its pictures went.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ScriptDriver.h"
#include "app/Version.h"
#include "app/controllers/AppController.h"
#include "app/model/NumberFormat.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/GlobalService.h"
#include "app/services/MainLoopTimer.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

namespace {
const char* const kUsage = R"(Usage: gas-separator [--help | --version] [CASE]

Gas Separator Simulator by Quillmore: an interactive simulator of a downhole gas separator in
a rod-pumped oil well.

With a display it opens the simulator's window. Without one (no DISPLAY or WAYLAND_DISPLAY)
it runs a short demonstration headless and prints the paths of the screenshots it wrote.
CASE, a case file (*.gscase), is opened at the start (one at a time: a second is not).

Options:
  --help       show this text
  --version    print the version
Qt's own options (such as -platform NAME) are accepted as well; any other option is
refused with exit status 2.

Environment:
  GAS_SEPARATOR_TAG_DIR   read the interface description from this folder instead of the
                          copy built into the program (Ctrl+R reloads it)

Files (XDG_CONFIG_HOME, XDG_DOCUMENTS_DIR and XDG_STATE_HOME move them):
  ~/.config/Quillmore/Gas Separator/gasseparator.defaults.yml
                          the last values, saved at exit and read at start
  ~/.config/Quillmore/Gas Separator/recent-cases.yml
                          the last eight cases opened or saved
  ~/.config/Quillmore/Gas Separator/window.yml
                          the window's place and size (and whether it was maximised),
                          saved at exit and read at start
  ~/Documents/Quillmore/Gas Separator/
                          saved presets (*.seppreset.yml) and the engineer's guide
  ~/.local/state/Quillmore/Gas Separator/logs/
                          today's log and those of the previous 7 days
)";

int RunDemonstration(CQtPlatform& platform) {
    std::cout << "No display available: running a short demonstration without a window."
              << std::endl;
    platform.Install(true);
    CDriverShell shell(std::cout);
    ScopedOverride<IShell> useShell(Platform().shell, &shell);
    CApplication application;
    if (!application.Startup()) {
        return 1;
    }
    std::error_code error; // a TMPDIR that is no folder: the pictures go to the current one
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    const std::vector<std::filesystem::path> shots = {folder / "gas-separator-demo-1.png",
                                                      folder / "gas-separator-demo-2.png",
                                                      folder / "gas-separator-demo-3.png"};
    for (const std::filesystem::path& shot : shots) {
        std::error_code ignored; // a picture left from an earlier run must not be listed
        std::filesystem::remove(shot, ignored);
    }
    std::stringstream script;
    script << "run 0.5\nshot " << shots[0].string() << "\nclick-view Pump Button Go\n"
           << "run 1.5\nshot " << shots[1].string() << "\nrun 1.5\nshot " << shots[2].string()
           << "\nclick-view Pump Button Stop\nrun 0.1\nmenu &Exit\n";
    CScriptDriver driver(application, *Platform().automation, std::cerr);
    const int status = driver.Run(script, "demonstration");
    for (const std::filesystem::path& shot : shots) {
        if (std::filesystem::exists(shot, error)) {
            std::cout << "Screenshot: " << shot.string() << std::endl;
        }
    }
    return status;
}

// What is left of the command line once Qt has taken its own options: at most one case. An
// option Qt does not know either is a mistake (a mistyped "--version"), refused as the other
// programs refuse theirs; a case after the first is not opened, and the user is told so.
struct CaseArgument {
    std::optional<std::filesystem::path> path;
    std::string unknownOption;
};

CaseArgument ReadCaseArgument(int argc, char** argv, std::ostream& err) {
    const CommandLine line =
        ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), {}, true);
    CaseArgument argument;
    if (line.problem == CommandLine::Problem::UnknownOption) {
        argument.unknownOption = OneLineText(line.culprit, '?');
        return argument;
    }
    const std::vector<std::string> cases = line.Positional();
    if (!cases.empty()) {
        argument.path = std::filesystem::path(cases.front());
    }
    for (std::size_t i = 1; i < cases.size(); ++i) {
        err << "gas-separator: one case opens at a time: '" << OneLineText(cases[i], '?')
            << "' is not opened" << std::endl;
    }
    return argument;
}

// Opened before the first frame, which then shows it; a case that cannot be opened is said over
// the drawn window.
void OpenCaseArgument(CApplication& application, const std::filesystem::path& path) {
    CAppController* controller = application.AppController();
    if (!controller) {
        return;
    }
    if (const std::string problem = controller->Cases().OpenCaseAtStart(path); !problem.empty()) {
        controller->TellOnceDrawn(problem);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (const auto status = AnswerVersionOrHelp(argc, argv, "gas-separator", kUsage, std::cout)) {
        return *status; // before Qt, which needs a display and reads the arguments too
    }
    CQtPlatform platform(argc, argv, CQtPlatform::Display::Desktop);
    const CaseArgument caseArgument = ReadCaseArgument(argc, argv, std::cerr);
    if (!caseArgument.unknownOption.empty()) {
        std::cerr << "gas-separator: unknown option '" << caseArgument.unknownOption
                  << "' (see --help)" << std::endl;
        return 2;
    }
    if (platform.IsOffscreen()) {
        return RunDemonstration(platform);
    }
    platform.Install(false);
    CApplication application;
    if (!application.Startup()) {
        return 1;
    }
    if (caseArgument.path) {
        OpenCaseArgument(application, *caseArgument.path);
    }
    CMainLoopTimer timer(SteadyClockMs, SleepMs, ReportAveragePeriod);
    RunMainLoop(application, timer);
    application.Shutdown();
    return 0;
}
