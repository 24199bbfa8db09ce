#pragma once
// Synthetic user input for the headless driver: real mouse and key events delivered to the
// main window and its controls, menu choices and screenshots. Every operation that can fail
// returns false and explains why in `error`.

#include "app/platform/ShownDialog.h"

#include <string>
#include <vector>

class IAutomation {
public:
    virtual ~IAutomation() = default;
    // Left-button mouse input at a canvas point, in design pixels at any window size.
    virtual void MouseMove(int x, int y) = 0;
    virtual void MouseDown(int x, int y) = 0;
    virtual void MouseUp(int x, int y) = 0;
    // Wheel notches at a canvas point, to the control under it or the canvas: positive turns
    // away from the user (up), negative towards (down).
    virtual void Wheel(int x, int y, int steps) = 0;
    // Gives the named native control the keyboard focus, as a click on it would.
    virtual bool Focus(const std::string& name, std::string& error) = 0;
    // Types the text as key presses into the control with the focus.
    virtual bool TypeText(const std::string& utf8, std::string& error) = 0;
    // One key or chord: "Tab", "Backtab", "Return", "Escape", "Backspace", "Delete", "Home",
    // "End", "Ctrl+A", "Ctrl+R", "Up", "Down", "F4", "Alt+Down" (these two open a list), and the
    // shortcuts "F1", "F5", "Ctrl+I", "Ctrl+M", "Ctrl+Q", "Ctrl+S", "Ctrl+E", "Ctrl+Shift+C".
    virtual bool Key(const std::string& chord, std::string& error) = 0;
    // Picks the row whose text is `row` in the named list, as a user would.
    virtual bool Select(const std::string& name, const std::string& row, std::string& error) = 0;
    // Chooses a menu item by its text, e.g. "&Exit".
    virtual bool ChooseMenu(const std::string& text, std::string& error) = 0;
    // Resizes the window's client canvas to `width` x `height` logical pixels, as a user
    // dragging its edge would; the scene scales to it. False for a size out of reach.
    virtual bool ResizeWindow(int width, int height, std::string& error) = 0;
    // Drops local files on the middle of the window, as a user dragging them from a file
    // manager would.
    virtual bool DropFiles(const std::vector<std::string>& paths, std::string& error) = 0;
    // Closes the main window as a user would with the title bar's close button.
    virtual void CloseWindow() = 0;
    // Saves the window's client area, child controls included, as a PNG file, with the dialogs
    // that are showing (message boxes, questions, forms, tables) drawn over its middle as the
    // desktop shows them, the last one on top.
    virtual bool SaveScreenshot(const std::string& file, const std::vector<ShownDialog>& dialogs,
                                std::string& error) = 0;
};
