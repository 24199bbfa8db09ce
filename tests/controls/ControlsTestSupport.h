#pragma once
// A harness for the control tests: the window manager and its view tree on the offscreen
// window, without controllers, and a log of the named events the controls raise.

#include "app/platform/Automation.h"
#include "app/platform/Canvas.h"

#include <memory>
#include <string>
#include <vector>

class CApplication;
class CParametersPanelView;
class CSavePresetView;
class CTextEditView;
class CComboBoxView;

class ControlsHarness {
public:
    // A fresh event registry and tag tree (the embedded store), then the window and views.
    ControlsHarness();
    ~ControlsHarness();

    // Records every raise of these event names, in order.
    void Listen(const std::vector<std::string>& names);
    // The recorded events joined by ", "; Clear forgets them.
    std::string Events() const;
    void Clear() { events_.clear(); }

    // One main-loop pass: messages, view updates, render.
    void Pass();
    IAutomation& Input();

    CParametersPanelView& Panel();
    CSavePresetView& SaveDialog();
    CTextEditView& Box(const std::string& name);
    CComboBoxView& List(const std::string& name);
    // What the window shows in a rectangle, child controls included.
    PixelBuffer Grab(int x, int y, int w, int h);
    // The name of the control with the keyboard focus, or "".
    std::string FocusedControl();

private:
    std::unique_ptr<CApplication> application_;
    std::vector<std::string> events_;
};

// Pixels whose colour is close to `rgb` (0xRRGGBB), within `tolerance` per component.
int CountColour(const PixelBuffer& pixels, unsigned rgb, int tolerance = 40);
