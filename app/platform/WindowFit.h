#pragma once
// The arithmetic of a window that shows a scene of a fixed design size at any size: the size
// it opens at on a screen, where the scene lies in it (scaled with its aspect kept, centred,
// the rest letterboxed) and how points map between the two, and the remembered place and
// size. No window system here, so all of it can be tried with any screen.

#include <optional>
#include <string>
#include <vector>

struct WindowSize {
    int width = 0;
    int height = 0;

    bool operator==(const WindowSize&) const = default;
};

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect&) const = default;
};

// The largest client size (logical pixels) with the design's aspect that fits, with `chrome`
// (frame and menu bar, logical) around it, in a screen's available area of `availableDevice`
// device pixels at `deviceRatio` device pixels per logical pixel; never above the design size
// (which is the design size times the ratio in device pixels).
WindowSize FitClientSize(WindowSize design, WindowSize availableDevice, double deviceRatio,
                         WindowSize chrome);

// Where the scene lies in a client area and how its points map.
struct SceneMapping {
    WindowSize design;        // the scene's own size, in design pixels
    double deviceRatio = 1.0; // device pixels per logical pixel of the client
    double deviceScale = 1.0; // device pixels per design pixel (the back buffer's scale)
    WindowSize sceneDevice;   // the back buffer, device pixels
    int offsetX = 0;          // the scene's top-left corner in the client, device pixels
    int offsetY = 0;

    // The design point under a client point (logical pixels), unclamped.
    void ToDesign(double clientX, double clientY, double& designX, double& designY) const;
    // The whole design pixel under a client point.
    void ToDesignPixel(double clientX, double clientY, int& designX, int& designY) const;
    // The client point (logical) at the middle of a design pixel.
    void ToClient(int designX, int designY, double& clientX, double& clientY) const;
    // A design rectangle in the client, logical pixels, its edges rounded: rectangles that
    // touch in the design touch in the client.
    WindowRect ToClientRect(const WindowRect& design) const;
    // The scene's rectangle in the client, logical pixels.
    WindowRect SceneInClient() const;
};

// The scene of `design` size shown in a client of `client` logical pixels at `deviceRatio`.
SceneMapping MapScene(WindowSize design, WindowSize client, double deviceRatio);

// The remembered window: its place and size (the frame's inside, logical pixels; when
// maximised, the place and size it returns to) and whether it was maximised.
std::string FormatWindowGeometry(const WindowRect& geometry, bool maximized = false);
// Nullopt for text that is not four whole numbers x, y, width and height, or a size that is
// not positive.
std::optional<WindowRect> ParseWindowGeometry(const std::string& text);
// Whether the window was left maximised: only in a file whose place and size are usable.
bool ParseWindowMaximized(const std::string& text);

// Whether enough of the window's top (where the title bar is grabbed) lies on one screen for
// the user to reach it.
bool IsReachable(const WindowRect& geometry, const std::vector<WindowRect>& screens);

// Where the window's inside (menu bar and scene, logical pixels) opens: the remembered
// geometry, its size shrunk to fit `available` (the screen's area free for windows) less the
// frame `chrome` around it, at its remembered place when that is reachable on a screen, else
// centred in `available`; without one, `fitted` centred.
WindowRect PlaceWindow(const std::optional<WindowRect>& remembered, WindowSize fitted,
                       const WindowRect& available, WindowSize chrome,
                       const std::vector<WindowRect>& screens);
