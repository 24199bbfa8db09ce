// gas-separator: the simulator's window and main loop. Without a display it runs a short
// demonstration through the headless driver instead and says where its pictures went.

#include "app/Application.h"
#include "app/GlobalService.h"
#include "app/MainLoopTimer.h"
#include "app/ScriptDriver.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtPlatform.h"

#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

namespace {
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
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
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
        if (std::filesystem::exists(shot)) {
            std::cout << "Screenshot: " << shot.string() << std::endl;
        }
    }
    return status;
}
} // namespace

int main(int argc, char** argv) {
    CQtPlatform platform(argc, argv, CQtPlatform::Display::Desktop);
    if (platform.IsOffscreen()) {
        return RunDemonstration(platform);
    }
    platform.Install(false);
    CApplication application;
    if (!application.Startup()) {
        return 1;
    }
    CMainLoopTimer timer(SteadyClockMs, SleepMs, ReportAveragePeriod);
    RunMainLoop(application, timer);
    application.Shutdown();
    return 0;
}
