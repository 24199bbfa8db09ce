#pragma once
// The base of every view: a name under which the window manager knows it, the tag it is
// built from, and the virtual operations the window manager and the owners call.

#include "app/tags/Tag.h"

#include <string>
#include <utility>
#include <vector>

class CWindowManager;
class ICanvas;
class IMainWindow;

// One key/value pair of a view's state, e.g. {"visible", "true"}. A text (what a box holds,
// a row, a label) is marked, so that it is written as a string even when it reads as a number.
struct ViewStateEntry {
    ViewStateEntry(std::string key, std::string value, bool isText = false)
        : key(std::move(key)), value(std::move(value)), isText(isText) {}
    std::string key;
    std::string value;
    bool isText;
};
using ViewState = std::vector<ViewStateEntry>;
inline constexpr bool kIsText = true;

class CBaseView {
public:
    CBaseView() = default;
    CBaseView(const CBaseView&) = delete;
    CBaseView& operator=(const CBaseView&) = delete;
    virtual ~CBaseView() = default;

    // Stores the window and the name, initialises the view's own state and its children, and
    // registers the view under its name.
    virtual void Init(IMainWindow* window, const std::string& name) {
        InitBase(window, name);
        Register();
    }
    // Reads what the view needs from its tag; called again, with the same handle, after every
    // tag refresh.
    virtual void Configure(TagHandle tag) { tag_ = tag; }
    // Draws the view at its tag's position; a hidden view draws nothing.
    virtual void Draw(ICanvas& /*canvas*/) const {}
    // Removes the mouse regions registered under the view's name, then the name itself.
    virtual void Shutdown();
    // Once per main-loop pass with the elapsed seconds.
    virtual void Update(double /*seconds*/) {}
    // A window command the window manager does not handle itself; 0 means not handled.
    virtual int HandleCommand(int /*command*/) { return 0; }
    // Mouse callbacks from the window manager's router, with the region's tag.
    virtual void OnMouseEnter(TagHandle /*region*/) {}
    virtual void OnMouseLeave(TagHandle /*region*/) {}
    virtual void OnMouseButtonDown(TagHandle /*region*/) {}
    virtual void OnMouseButtonUp(TagHandle /*region*/) {}
    virtual void OnMouseClick(TagHandle /*region*/) {}

    // What kind of view this is ("button", "warning", ...) and its state, for inspection.
    virtual const char* Kind() const { return "view"; }
    virtual void DescribeState(ViewState& /*state*/) const {}
    // What the pointer resting on the view tells the user; empty for nothing.
    const std::string& Tooltip() const { return tooltip_; }
    virtual void SetTooltip(const std::string& text) { tooltip_ = text; }
    // Whether a view without a mouse region shows its tooltip at this window point.
    virtual bool ShowsTooltipAt(int /*x*/, int /*y*/) const { return false; }

    const std::string& Name() const { return name_; }
    TagHandle GetTagHandle() const { return tag_; }

    // Blends the whole image tag at (x, y) with a constant alpha; an image that is missing
    // or empty draws nothing. A canvas of more than one device pixel per logical pixel gets
    // the @2x picture when there is one.
    static void DrawImage(ICanvas& canvas, TagHandle image, int x, int y, int alpha = 255);

protected:
    // Stores the window and the name (the first step of every view's Init).
    void InitBase(IMainWindow* window, const std::string& name);
    // Registers the view under its name with the window manager.
    void Register();
    // The process-wide window manager; a missing one is reported as a wiring error.
    CWindowManager* WindowManagerFor(const char* use) const;

    IMainWindow* window_ = nullptr;
    std::string name_;
    TagHandle tag_ = 0;

private:
    std::string tooltip_;
};

// "true" or "false", for DescribeState.
inline const char* BoolText(bool value) {
    return value ? "true" : "false";
}
