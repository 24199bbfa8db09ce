#pragma once
// Fakes and a harness for the window tests: a view and a canvas that record what happens to
// them, a shell that records messages and links, and the program started headless.

#include "app/platform/Canvas.h"
#include "app/platform/Shell.h"
#include "app/window_manager/BaseView.h"

#include <memory>
#include <string>
#include <vector>

// Records every router callback as "enter", "leave", "down", "up" or "click".
class CRecordingView : public CBaseView {
public:
    void Init(const std::string& name);
    void OnMouseEnter(TagHandle) override { calls.push_back("enter"); }
    void OnMouseLeave(TagHandle) override { calls.push_back("leave"); }
    void OnMouseButtonDown(TagHandle) override { calls.push_back("down"); }
    void OnMouseButtonUp(TagHandle) override { calls.push_back("up"); }
    void OnMouseClick(TagHandle) override { calls.push_back("click"); }
    std::string Calls() const; // "enter down up click"

    std::vector<std::string> calls;
};

// Records image and text draws in order.
class CRecordingCanvas : public ICanvas {
public:
    struct ImageDraw {
        const std::uint32_t* pixels;
        int x, y, alpha;
        int w = 0, h = 0;             // scaled draws only
        std::uint32_t firstPixel = 0; // scaled draws only, read while drawn
    };
    struct TextDraw {
        TextStyle style;
        int x, y;
        std::string text;
    };

    int Width() const override { return 1018; }
    int Height() const override { return 720; }
    void CopyImage(const ImageRef& image, int x, int y) override;
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override;
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override;
    void DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& text) override;
    int MeasureText(const TextStyle&, const std::string& text) override;
    PixelBuffer ReadPixels(int, int, int, int) const override { return {}; }

    std::vector<ImageDraw> images;
    std::vector<TextDraw> texts;
};

class CRecordingShell : public IShell {
public:
    void ShowMessage(const std::string& title, const std::string& text, MessageIcon) override {
        messages.push_back(title + " | " + text);
    }
    bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return canOpen;
    }
    bool OpenFile(const std::filesystem::path& path) override {
        opened.push_back("file://" + path.string());
        return canOpen;
    }
    std::optional<std::filesystem::path> ChooseSaveFile(const std::string& title,
                                                        const std::filesystem::path&,
                                                        const std::string&) override {
        messages.push_back("file-dialog: " + title);
        return std::nullopt;
    }

    std::vector<std::string> messages;
    std::vector<std::string> opened;
    bool canOpen = true; // false: the desktop has no program for links and files
};

class CApplication;

// Tears the previous test's program down, installs the offscreen Qt platform (created once per
// process), points HOME to a fresh temporary folder and returns a new, empty application.
CApplication& StartEmptyProgram();
// StartEmptyProgram with events and a tag manager (the embedded store) only, for tests that
// publish a window manager of their own.
void StartEventsAndTags();
// StartEmptyProgram, then the start-up after the log manager (the tests run without one):
// events, tags from `tagDirectory` (empty: the embedded store), window manager (with an
// offscreen window), model, simulator and controllers. The shell is replaced by `shell`.
void StartProgram(CRecordingShell& shell, const std::string& tagDirectory = "");
class CGasSeparatorModel;
// The running program and its model.
CApplication& TheApplication();
CGasSeparatorModel& TheModel();
// One main-loop pass of 1/60 s.
void RunPass();
// The pixels of an image tag, to recognise it in a CRecordingCanvas.
const std::uint32_t* PixelsOf(TagHandle image);
