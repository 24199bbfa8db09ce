#pragma once
// The owner of every process-wide service, the start-up, the main-loop pass and the shutdown.
//
// The services are members, built in the order they depend on each other (log manager, event
// registry, tag manager, window manager, model, simulator, controllers) and torn down in the
// reverse order. The controllers are handed the model and the views they drive when they are
// built. What stays reachable process-wide is what a process has once: the log manager
// (gLogManager), the message bus (gEventRegistry), the tag manager that owns every tag
// (gTagManager, reached through tag handles) and the window manager the views register with
// (gWindowManager); each pointer is set while its member lives and cleared before the member is
// destroyed. The platform services (Platform()) are installed by the entry point before, and
// removed after, this object.
//
// Startup() builds all of them. Tests that need only some build a prefix with the steps below,
// each of which needs the ones before it (the view tests: events, tags, window manager). The
// simulation alone (events, model, simulator) is CSimulationCore, which the design calculator
// uses without any of this.
//
// Error policy of the application layer: the start-up reports a root tag that cannot load in a
// message box and returns false (the program ends with status 1); every later failure (a bad
// user file, a failed reload, a failed write) is reported to the user or logged and the
// program goes on. A missing service is a wiring error (ReportMissingService).

#include "app/services/GlobalService.h"
#include "app/services/SimulationCore.h"
#include "app/services/StepTimes.h"

#include <functional>
#include <memory>
#include <string>

class CAppController;
class CGasSeparatorModel;
class CGasSeparatorSimulator;
class CMainLoopTimer;
class CTagManager;
class CWindowManager;
class LogManager;

class CApplication {
public:
    CApplication();
    // Tears down whatever was built, in reverse order.
    ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The whole program: every step below with the tag directory from the environment. False
    // when the program cannot start (the root tag does not load); the user has been told
    // why and everything started so far is stopped again.
    bool Startup();
    // One main-loop pass with the step in seconds: the window manager (messages, view
    // updates, drawing), then the simulation. Returns whether another pass follows.
    bool Pass(double seconds);
    // Whether the window shows what is drawn (not minimised, not hidden).
    bool IsShowing() const;
    // Saves the defaults, shuts the views down and stops the log manager. The services stay
    // until the object is destroyed.
    void Shutdown();

    // The steps of the start-up, in order.
    // The log manager and its writer thread, logging into LogFolder() (the program runs
    // without one when it cannot be created or there is no such folder).
    void StartLogging();
    void CreateEvents();
    void CreateTags(const std::string& tagDirectory);
    // Creates the window manager; with `open`, loads the root tag, opens the window and builds
    // the views. False (after telling the user) when the root tag does not load.
    bool CreateWindowManager(bool open = true);
    // The model; with `initialise`, it reads the defaults file and subscribes.
    void CreateModel(bool initialise = true);
    void CreateSimulator();
    void CreateControllers();

    CWindowManager* WindowManager() const { return windowManager_.Get(); }
    CGasSeparatorModel* Model() const { return core_.Model(); }
    CGasSeparatorSimulator* Simulator() const { return core_.Simulator(); }
    CAppController* AppController() const { return appController_.get(); }
    // How long each step of the last Startup() took (the window manager's split in three).
    const CStepTimes& StartupSteps() const { return startupSteps_; }

private:
    void StopLogging();
    void TearDown();

    GlobalService<LogManager> log_;
    CSimulationCore core_; // events, model, simulator
    GlobalService<CTagManager> tags_;
    GlobalService<CWindowManager> windowManager_;
    std::unique_ptr<CAppController> appController_;
    CStepTimes startupSteps_;
};

// Runs passes until the window manager stops (or `keepRunning`, when given, says no), timed
// and paced by `timer`; idle while the window does not show.
void RunMainLoop(CApplication& application, CMainLoopTimer& timer,
                 const std::function<bool()>& keepRunning = {});
// Logs the running average of the pass duration (the timer's report every 1000 passes).
void ReportAveragePeriod(double averagePeriodMs);
