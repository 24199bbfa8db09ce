#pragma once
// The main window: a client canvas of a fixed design size, shown scaled to the window's size
// under a menu bar, a message pump that never blocks, and the callbacks through which the
// window manager hears input and commands. Every position here is in design pixels.

#include "app/platform/Canvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class INativeTextEdit;
class INativeComboBox;

// The keys a dialog answers to: Return accepts, Escape cancels.
enum class DialogKey { Accept, Cancel };

// Input and commands, delivered on the main thread while the window pumps its messages.
class IWindowListener {
public:
    virtual ~IWindowListener() = default;
    // Design pixels of the canvas, whatever the window's size.
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnLeftButtonDown(int x, int y) = 0;
    virtual void OnLeftButtonUp(int x, int y) = 0;
    // A menu item or accelerator was chosen.
    virtual void OnCommand(int id) = 0;
    // The window has been closed by the user or destroyed by the program.
    virtual void OnDestroy() = 0;
    // The user asks to close the window (its close button); false keeps it open.
    virtual bool OnCloseRequested() { return true; }
    // Return or Escape pressed where nothing else took it (the window, or a text box).
    virtual void OnDialogKey(DialogKey /*key*/) {}
    // The tooltip for the pointer resting at a canvas point; empty for none.
    virtual std::string TooltipAt(int /*x*/, int /*y*/) const { return {}; }
    // Files dropped on the window from a file manager: their local paths, in the order given.
    virtual void OnFilesDropped(const std::vector<std::string>& /*paths*/) {}
};

// A menu item; an item with an empty text is a separator line. An item with `submenu` opens
// those items instead (its command names the submenu for SetSubmenu; it raises nothing).
struct MenuItem {
    std::string text; // with "&" mnemonics, e.g. "&Exit"
    int command = 0;
    std::string shortcut;         // portable key text, e.g. "Ctrl+Q" or "F1"; empty for none
    std::string secondShortcut{}; // another key for the same command, e.g. "Ctrl+Y"
    bool submenu = false;         // a submenu, filled by SetSubmenu
    // Items of one menu with the same group above 0 are exclusive choices shown with a check
    // mark (IMainWindow::CheckMenuItem); 0: a plain command.
    int group = 0;
    // An item on its own with a check mark that says whether something is on (the pump
    // running), set by IMainWindow::SetMenuItemChecked.
    bool checkable = false;
};

// One popup of the menu bar, e.g. "&File".
struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// A command reached by key only, e.g. Ctrl+R; `shortcut` is portable key text.
struct Accelerator {
    std::string shortcut;
    int command = 0;
};

struct WindowDescription {
    std::string title;
    // The scene's design size: the window shows it scaled to the window's size, aspect kept.
    int clientWidth = 0;
    int clientHeight = 0;
    std::uint32_t backgroundColour = 0xFF000000; // around the scene when the aspects differ
    std::vector<Menu> menus;                     // the menu bar, left to right
    std::vector<Accelerator> accelerators;       // commands not in the menu, reached by key
    PixelBuffer largeIcon;                       // the window icon; empty for none
    PixelBuffer smallIcon;
};

class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Creates the window, its menu and accelerators and its back buffer, and shows it.
    virtual void Open(const WindowDescription& description, IWindowListener* listener) = 0;
    // Handles every pending message without waiting.
    virtual void PumpMessages() = 0;
    // The back buffer of the client size; valid after Open.
    virtual ICanvas& BackBuffer() = 0;
    // Shows the changed rectangle of the back buffer in the window. The window repaints itself
    // from the back buffer when exposed, so it never asks the listener to render.
    virtual void Present(const PixelRect& changed) = 0;
    // False while the window is minimised, hidden or not shown on any screen: nothing drawn
    // then would be seen.
    virtual bool IsShowing() const = 0;
    // Closes the window; the listener hears OnDestroy.
    virtual void Destroy() = 0;
    // Takes the keyboard focus away from any child control.
    virtual void FocusMainWindow() = 0;
    // Whether the window has been destroyed (closed by the user or by Destroy).
    virtual bool IsDestroyed() const = 0;
    // A copy of what the window shows in the client rectangle, child controls included.
    virtual PixelBuffer GrabClient(int x, int y, int w, int h) = 0;

    // Puts the check mark on the item of this command, taking it from the others of its group.
    virtual void CheckMenuItem(int command) { (void)command; }
    // Puts the check mark on a checkable item, or takes it off; choosing the item changes it
    // only through this call, so a command that does nothing leaves the mark as it was.
    virtual void SetMenuItemChecked(int command, bool checked) { (void)command, (void)checked; }
    // The title bar's text.
    virtual void SetTitle(const std::string& title) { (void)title; }
    // Greys a menu item (and its shortcut) or makes it available again.
    virtual void SetCommandEnabled(int command, bool enabled) { (void)command, (void)enabled; }
    // Replaces the items of the submenu named by `command`; no items greys it.
    virtual void SetSubmenu(int command, const std::vector<MenuItem>& items) {
        (void)command, (void)items;
    }

    // Native child controls on the canvas, identified by a view name (unique per window).
    virtual std::unique_ptr<INativeTextEdit> CreateTextEdit(const std::string& name) = 0;
    virtual std::unique_ptr<INativeComboBox> CreateComboBox(const std::string& name) = 0;
};
