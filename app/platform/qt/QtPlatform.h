#pragma once
// Opens the Qt platform for the program and the headless driver, and installs the Qt
// implementation of every platform service. This header includes no Qt, so the entry points
// can use it.

#include <memory>

class CQtPlatform {
public:
    enum class Display {
        Desktop,  // the desktop's window system; offscreen when there is no display
        Offscreen // always Qt's offscreen platform (the headless driver and tests)
    };

    // Also makes writes to a closed standard output fail instead of ending the process.
    CQtPlatform(int& argc, char** argv, Display display);
    ~CQtPlatform();
    CQtPlatform(const CQtPlatform&) = delete;
    CQtPlatform& operator=(const CQtPlatform&) = delete;

    // Whether the platform that opened shows nothing on a screen.
    bool IsOffscreen() const;
    // Installs the services into Platform(); the synthetic input only when asked for.
    void Install(bool withAutomation);
    // Clears every service this object installed.
    void Uninstall();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
