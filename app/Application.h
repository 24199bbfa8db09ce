#pragma once
// The program's start-up, main-loop pass and shutdown, in the order the long-lived objects
// depend on each other. The platform services are installed before Startup.

class CMainLoopTimer;

class CApplication {
public:
    // Log manager, event registry, tags, window manager, model, simulator, controllers.
    // False when the program cannot start (the root tag does not load); the user has been
    // told why and everything started so far has been stopped again.
    bool Startup();
    // One main-loop pass with the step in seconds: the window manager (messages, view
    // updates, drawing), then the simulation. Returns whether another pass follows.
    bool Pass(double seconds);
    // Saves the defaults, shuts the views down and stops the log manager.
    void Shutdown();

private:
    void StartLogging();
    void StopLogging();
};

// Runs passes until the window manager stops, timed and paced by `timer`.
void RunMainLoop(CApplication& application, CMainLoopTimer& timer);
// Logs the running average of the pass duration (the timer's report every 1000 passes).
void ReportAveragePeriod(double averagePeriodMs);
