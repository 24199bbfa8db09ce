#include "app/Application.h"

#include "app/AppController.h"
#include "app/EventRegistry.h"
#include "app/GasSeparatorModel.h"
#include "app/GasSeparatorSimulator.h"
#include "app/MainLoopTimer.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

#include <exception>

namespace {
// The log manager's settings: the system temporary folder, 7 days of old logs, no pause
// between compression chunks, one chunk between pauses, everything logged.
constexpr int kKeepDays = 7;
constexpr int kCompressPauseMs = 0;
constexpr int kCompressChunksPerPause = 1;
constexpr int kLogThreshold = 1;

CConsole* ConsoleListener() {
    static CConsole console;
    return &console;
}

void ReportStartupFailure(const TagError& error) {
    std::string text = "The program cannot start: \"" + error.File() + "\"";
    if (error.Line() > 0) {
        text += " (line " + std::to_string(error.Line()) + ", column " +
                std::to_string(error.Column()) + ")";
    }
    text += ": " + error.Detail();
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage("Tag Error", text, MessageIcon::Error);
    }
}
} // namespace

void CApplication::StartLogging() {
    try {
        gLogManager = new LogManager(LogManager::DefaultLogDirectory(), kKeepDays, kCompressPauseMs,
                                     kCompressChunksPerPause);
    } catch (const std::exception&) {
        gLogManager = nullptr; // the program runs without logging
    }
}

bool CApplication::Startup() {
    StartLogging();
    gEventRegistry = new EventRegistry;
    if (gLogManager) {
        gLogManager->SetLevel(kLogThreshold);
        gLogManager->SetListener(ConsoleListener());
        gLogManager->Start();
    }
    LOG_INFO("App", "Logging started");
    const std::string tagDirectory = TagDirectoryFromEnvironment();
    if (!tagDirectory.empty()) {
        LOG_INFO("App", "Tag directory found: %s", tagDirectory.c_str());
    } else {
        LOG_INFO("App", "Tag directory not found, loading tags from resource file");
    }
    InitTags(tagDirectory);
    gWindowManager = new CWindowManager;
    try {
        gWindowManager->Init();
    } catch (const TagError& error) {
        LOG_INFO("App", "Cannot load the tags: %s", error.what());
        ReportStartupFailure(error);
        StopLogging();
        return false;
    } catch (const std::exception& error) { // not expected from the tag system; still survived
        LOG_INFO("App", "Cannot load the tags: %s", error.what());
        ReportStartupFailure(TagError(CWindowManager::kRootTag, 0, 0, error.what()));
        StopLogging();
        return false;
    }
    gGasSeparatorModel = new CGasSeparatorModel;
    gGasSeparatorModel->Initialise();
    gGasSeparatorSimulator.Initialise();
    gAppController.Initialise(gWindowManager->GetWindowHandle());
    return true;
}

bool CApplication::Pass(double seconds) {
    gWindowManager->Update(seconds);
    gGasSeparatorSimulator.Update(seconds);
    return gWindowManager->IsRunning() && gGasSeparatorSimulator.IsActive();
}

void CApplication::Shutdown() {
    gGasSeparatorModel->Shutdown();
    gWindowManager->Shutdown();
    StopLogging();
}

void CApplication::StopLogging() {
    if (gLogManager) {
        gLogManager->RequestStop();
        gLogManager->Stop();
    }
}

void ReportAveragePeriod(double averagePeriodMs) {
    LOG_DEBUG("App", "Avg loop period [ms]: %f  [fps]: %f", averagePeriodMs,
              1000.0 / averagePeriodMs);
}

void RunMainLoop(CApplication& application, CMainLoopTimer& timer) {
    bool running = true;
    while (running) {
        const double seconds = timer.BeginPass();
        running = application.Pass(seconds);
        timer.EndPass();
    }
}
