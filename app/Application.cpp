#include "app/Application.h"

#include "app/controllers/AppController.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/platform/UserFolders.h"
#include "app/platform/Window.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GasSeparatorSimulator.h"
#include "app/services/MainLoopTimer.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>

namespace {
// The log manager's settings: 7 days of old logs, no pause between compression chunks, one
// chunk between pauses, everything logged.
constexpr int kKeepDays = 7;
constexpr int kCompressPauseMs = 0;
constexpr int kCompressChunksPerPause = 1;
constexpr int kLogThreshold = 1;

// The console listener outlives every log manager that may call it.
CConsole& ConsoleListener() {
    static CConsole console;
    return console;
}

void ReportStartupFailure(const TagError& error) {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage("Tag Error", "The program cannot start: " + error.Explain(),
                           MessageIcon::Error);
    }
}
} // namespace

CApplication::CApplication()
    : log_(gLogManager), tags_(gTagManager), windowManager_(gWindowManager) {}

CApplication::~CApplication() {
    TearDown();
}

// The reverse of the creation order; each global pointer is cleared before its object goes.
void CApplication::TearDown() {
    appController_.reset();
    core_.ResetModelAndSimulator();
    windowManager_.Reset();
    tags_.Reset();
    core_.Reset();
    log_.Reset();
}

// The logs go to a folder of the user's own (LogFolder), so the sweep of old logs touches
// nothing else and two users never share a file.
void CApplication::StartLogging() {
    const std::filesystem::path folder = LogFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "warning: running without a log: there is no folder for it\n");
        return;
    }
    try {
        LogManager& log = log_.Create(folder.string() + "/", kKeepDays, kCompressPauseMs,
                                      kCompressChunksPerPause);
        log.SetLevel(kLogThreshold);
        log.SetListener(&ConsoleListener());
        log.Start();
    } catch (const std::exception& error) {
        log_.Reset(); // the program runs without logging
        std::fprintf(stderr, "warning: running without a log: %s\n", error.what());
    }
    LOG_INFO("App", "Logging started");
}

void CApplication::CreateEvents() {
    core_.CreateEvents();
}

void CApplication::CreateTags(const std::string& tagDirectory) {
    RequireService(core_.Events(), "event registry", "creating the tag manager");
    if (!tagDirectory.empty()) {
        LOG_INFO("App", "Tag directory found: %s", tagDirectory.c_str());
    } else {
        LOG_INFO("App", "Tag directory not found, loading tags from resource file");
    }
    tags_.Create().SetTagDirectory(tagDirectory);
}

bool CApplication::CreateWindowManager(bool open) {
    RequireService(tags_.Get(), "tag manager", "creating the window manager");
    CWindowManager& windowManager = windowManager_.Create();
    if (!open) {
        return true;
    }
    try {
        windowManager.Init();
        return true;
    } catch (const TagError& error) {
        LOG_ERROR("App", "Cannot load the tags: %s", error.what());
        ReportStartupFailure(error);
    } catch (const std::exception& error) { // not expected from the tag system; still survived
        LOG_ERROR("App", "Cannot load the tags: %s", error.what());
        ReportStartupFailure(TagError(CWindowManager::kRootTag, 0, 0, error.what()));
    }
    return false;
}

void CApplication::CreateModel(bool initialise) {
    core_.CreateModel(initialise);
}

void CApplication::CreateSimulator() {
    core_.CreateSimulator();
}

void CApplication::CreateControllers() {
    CWindowManager* windowManager =
        RequireService(windowManager_.Get(), "window manager", "creating the controllers");
    CGasSeparatorModel* model = RequireService(core_.Model(), "model", "creating the controllers");
    RequireService(core_.Simulator(), "simulator", "creating the controllers");
    if (!windowManager || !model) {
        return;
    }
    appController_.reset();
    appController_ = std::make_unique<CAppController>(*model, *windowManager);
    appController_->Initialise();
}

bool CApplication::Startup() {
    startupSteps_ = {};
    StartLogging();
    startupSteps_.Lap("logging");
    CreateEvents();
    CreateTags(TagDirectoryFromEnvironment());
    startupSteps_.Lap("tag_manager");
    if (!CreateWindowManager()) {
        StopLogging();
        TearDown();
        return false;
    }
    startupSteps_.Append(windowManager_.Get()->InitSteps().Steps());
    CreateModel();
    CreateSimulator();
    startupSteps_.Lap("model_and_simulator");
    CreateControllers();
    startupSteps_.Lap("controllers");
    return true;
}

bool CApplication::Pass(double seconds) {
    CWindowManager* windowManager =
        RequireService(windowManager_.Get(), "window manager", "a pass");
    CGasSeparatorSimulator* simulator = RequireService(core_.Simulator(), "simulator", "a pass");
    if (!windowManager || !simulator) {
        return false;
    }
    windowManager->Update(seconds);
    simulator->Update(seconds);
    return windowManager->IsRunning() && simulator->IsActive();
}

void CApplication::Shutdown() {
    if (CGasSeparatorModel* model = core_.Model()) {
        // Values that could not be saved are lost at the end: the user hears it before it comes
        // (the driver's shell prints it).
        if (const std::string failure = model->Shutdown(); !failure.empty()) {
            if (IShell* shell = Platform().shell) {
                shell->ShowMessage(
                    CAppController::kErrorTitle,
                    "The values in use could not be saved for the next start: " + failure + ".",
                    MessageIcon::Exclamation);
            }
        }
    }
    if (CWindowManager* windowManager = windowManager_.Get()) {
        windowManager->Shutdown();
    }
    StopLogging();
}

void CApplication::StopLogging() {
    if (LogManager* log = log_.Get()) {
        log->RequestStop();
        log->Stop();
    }
}

namespace {
// As printf's "%f" in the "C" locale, whatever the user's locale.
std::string SixDecimals(double value) {
    char buffer[400]; // the longest double in fixed notation fits
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, written.ptr);
}
} // namespace

void ReportAveragePeriod(double averagePeriodMs) {
    LOG_DEBUG("App", "Avg loop period [ms]: %s  [fps]: %s", SixDecimals(averagePeriodMs).c_str(),
              SixDecimals(1000.0 / averagePeriodMs).c_str());
}

bool CApplication::IsShowing() const {
    const CWindowManager* windowManager = windowManager_.Get();
    const IMainWindow* window = windowManager ? windowManager->GetWindowHandle() : nullptr;
    return window && window->IsShowing();
}

void RunMainLoop(CApplication& application, CMainLoopTimer& timer,
                 const std::function<bool()>& keepRunning) {
    bool running = true;
    while (running && (!keepRunning || keepRunning())) {
        const double seconds = timer.BeginPass();
        running = application.Pass(seconds);
        timer.SetIdle(!application.IsShowing());
        timer.EndPass();
    }
}
