#include "app/platform/WindowFit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

namespace {
// The smallest share of the design size a window is made or shrunk to.
constexpr double kMinimumScale = 0.25;
// The top strip of the window (its menu bar, under the title bar) that must lie on a screen,
// and how much of it, for the user to grab the window.
constexpr int kGrabStripHeight = 32;
constexpr int kGrabbableWidth = 48;
constexpr int kGrabbableHeight = 16;
constexpr int kLargestSide = 100000;

double PositiveOr(double value, double fallback) {
    return value > 0 && std::isfinite(value) ? value : fallback;
}

// As the back buffer rounds it: every device pixel of it is covered by the scene's pictures,
// whose edges are rounded to the nearest.
int DeviceLength(double length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

WindowRect Intersection(const WindowRect& a, const WindowRect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}
} // namespace

WindowSize FitClientSize(WindowSize design, WindowSize availableDevice, double deviceRatio,
                         WindowSize chrome) {
    if (design.width <= 0 || design.height <= 0) {
        return design;
    }
    const double ratio = PositiveOr(deviceRatio, 1.0);
    const double freeWidth = availableDevice.width / ratio - chrome.width;
    const double freeHeight = availableDevice.height / ratio - chrome.height;
    const double scale = std::clamp(std::min(freeWidth / design.width, freeHeight / design.height),
                                    kMinimumScale, 1.0);
    constexpr double kSlack = 1e-9; // 706 / 720 * 720 is 706, not 705.99...
    return {static_cast<int>(std::floor(design.width * scale + kSlack)),
            static_cast<int>(std::floor(design.height * scale + kSlack))};
}

SceneMapping MapScene(WindowSize design, WindowSize client, double deviceRatio) {
    SceneMapping mapping;
    mapping.design = {std::max(design.width, 1), std::max(design.height, 1)};
    mapping.deviceRatio = PositiveOr(deviceRatio, 1.0);
    const int clientWidth = static_cast<int>(std::lround(client.width * mapping.deviceRatio));
    const int clientHeight = static_cast<int>(std::lround(client.height * mapping.deviceRatio));
    mapping.deviceScale =
        PositiveOr(std::min(static_cast<double>(clientWidth) / mapping.design.width,
                            static_cast<double>(clientHeight) / mapping.design.height),
                   mapping.deviceRatio);
    // As large as the back buffer of this scale is made.
    mapping.sceneDevice = {DeviceLength(mapping.design.width, mapping.deviceScale),
                           DeviceLength(mapping.design.height, mapping.deviceScale)};
    mapping.offsetX = std::max((clientWidth - mapping.sceneDevice.width) / 2, 0);
    mapping.offsetY = std::max((clientHeight - mapping.sceneDevice.height) / 2, 0);
    return mapping;
}

void SceneMapping::ToDesign(double clientX, double clientY, double& designX,
                            double& designY) const {
    designX = (clientX * deviceRatio - offsetX) / deviceScale;
    designY = (clientY * deviceRatio - offsetY) / deviceScale;
}

void SceneMapping::ToDesignPixel(double clientX, double clientY, int& designX, int& designY) const {
    double x = 0;
    double y = 0;
    ToDesign(clientX, clientY, x, y);
    // A point computed from a pixel's edge may land a rounding error short of it.
    constexpr double kSlack = 1e-6;
    designX = static_cast<int>(std::floor(x + kSlack));
    designY = static_cast<int>(std::floor(y + kSlack));
}

void SceneMapping::ToClient(int designX, int designY, double& clientX, double& clientY) const {
    clientX = (offsetX + (designX + 0.5) * deviceScale) / deviceRatio;
    clientY = (offsetY + (designY + 0.5) * deviceScale) / deviceRatio;
}

WindowRect SceneMapping::ToClientRect(const WindowRect& rect) const {
    const auto edge = [this](int offset, int design) {
        return static_cast<int>(std::lround((offset + design * deviceScale) / deviceRatio));
    };
    const int left = edge(offsetX, rect.x);
    const int top = edge(offsetY, rect.y);
    return {left, top, edge(offsetX, rect.x + rect.width) - left,
            edge(offsetY, rect.y + rect.height) - top};
}

WindowRect SceneMapping::SceneInClient() const {
    return ToClientRect({0, 0, design.width, design.height});
}

std::string FormatWindowGeometry(const WindowRect& geometry, bool maximized) {
    std::ostringstream out;
    out << "# The simulator's window: the place and size of its inside, logical pixels (when\n"
        << "# maximised, the place and size it returns to)\n"
        << "x: " << geometry.x << "\ny: " << geometry.y << "\nwidth: " << geometry.width
        << "\nheight: " << geometry.height << "\n";
    if (maximized) {
        out << "maximized: 1\n";
    }
    return out.str();
}

namespace {
// Every "key: whole number" line of a remembered window's file; nullopt when a line holds
// something else.
std::optional<std::map<std::string, int>> GeometryValues(const std::string& text) {
    std::map<std::string, int> values;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (line.empty() || line[0] == '#' || colon == std::string::npos) {
            continue;
        }
        std::string number = line.substr(colon + 1);
        number.erase(0, number.find_first_not_of(" \t"));
        number.erase(number.find_last_not_of(" \t\r") + 1);
        int value = 0;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc() || end != number.data() + number.size()) {
            return std::nullopt;
        }
        values[line.substr(0, colon)] = value;
    }
    return values;
}
} // namespace

std::optional<WindowRect> ParseWindowGeometry(const std::string& text) {
    std::optional<std::map<std::string, int>> values = GeometryValues(text);
    if (!values) {
        return std::nullopt;
    }
    for (const char* key : {"x", "y", "width", "height"}) {
        if (!values->count(key) || std::abs((*values)[key]) > kLargestSide) {
            return std::nullopt;
        }
    }
    const WindowRect geometry{(*values)["x"], (*values)["y"], (*values)["width"],
                              (*values)["height"]};
    if (geometry.width <= 0 || geometry.height <= 0) {
        return std::nullopt;
    }
    return geometry;
}

bool ParseWindowMaximized(const std::string& text) {
    const std::optional<std::map<std::string, int>> values = GeometryValues(text);
    return values && values->count("maximized") && values->at("maximized") == 1 &&
           ParseWindowGeometry(text);
}

bool IsReachable(const WindowRect& geometry, const std::vector<WindowRect>& screens) {
    const WindowRect strip{geometry.x, geometry.y, geometry.width,
                           std::min(geometry.height, kGrabStripHeight)};
    return std::any_of(screens.begin(), screens.end(), [&strip](const WindowRect& screen) {
        const WindowRect shared = Intersection(strip, screen);
        return shared.width >= std::min(kGrabbableWidth, strip.width) &&
               shared.height >= std::min(kGrabbableHeight, strip.height);
    });
}

WindowRect PlaceWindow(const std::optional<WindowRect>& remembered, WindowSize fitted,
                       const WindowRect& available, WindowSize chrome,
                       const std::vector<WindowRect>& screens) {
    const auto shrunk = [&chrome](const WindowRect& window, const WindowRect& area) {
        return WindowSize{std::max(std::min(window.width, area.width - chrome.width), 1),
                          std::max(std::min(window.height, area.height - chrome.height), 1)};
    };
    if (remembered) {
        for (const WindowRect& screen : screens) {
            if (IsReachable(*remembered, {screen})) {
                const WindowSize size = shrunk(*remembered, screen);
                return {remembered->x, remembered->y, size.width, size.height};
            }
        }
    }
    const WindowSize size =
        remembered ? shrunk(*remembered, available) : WindowSize{fitted.width, fitted.height};
    const int titleBar = chrome.height - chrome.width / 2;
    return {available.x + (available.width - size.width) / 2,
            available.y + (available.height - size.height - chrome.height) / 2 + titleBar,
            size.width, size.height};
}
