#include "tests/window/WindowTestSupport.h"

#include "app/Application.h"
#include "app/controllers/AppController.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GasSeparatorSimulator.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

void CRecordingView::Init(const std::string& name) {
    InitBase(nullptr, name);
    Register();
}

std::string CRecordingView::Calls() const {
    std::string text;
    for (const std::string& call : calls) {
        text += (text.empty() ? "" : " ") + call;
    }
    return text;
}

void CRecordingCanvas::CopyImage(const ImageRef& image, int x, int y) {
    images.push_back({image.pixels, x, y, 255});
}

void CRecordingCanvas::DrawImage(const ImageRef& image, int x, int y, int alpha) {
    images.push_back({image.pixels, x, y, alpha});
}

void CRecordingCanvas::DrawImageScaled(const ImageRef& image, int x, int y, int w, int h,
                                       int alpha) {
    images.push_back({image.pixels, x, y, alpha, w, h, image.IsEmpty() ? 0u : image.pixels[0]});
}

void CRecordingCanvas::DrawOutlinedText(const TextStyle& style, int x, int y,
                                        const std::string& text) {
    texts.push_back({style, x, y, text});
}

int CRecordingCanvas::MeasureText(const TextStyle&, const std::string& text) {
    return static_cast<int>(text.size()) * 8;
}

namespace {
CQtPlatform& QtPlatform() {
    static int argc = 1;
    static char name[] = "test_window";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt cannot shut down during the exit handlers.
    static CQtPlatform* platform = new CQtPlatform(argc, argv, CQtPlatform::Display::Offscreen);
    return *platform;
}

// The program of the current test; replaced by the next test's, torn down at exit.
std::unique_ptr<CApplication>& Program() {
    static std::unique_ptr<CApplication> program;
    return program;
}

// The current test's home folder, a fresh one for each test. The last is removed at exit, once
// its program is gone: ctest runs every test in a process of its own.
class CTestHome {
public:
    ~CTestHome() {
        Program().reset();
        Remove();
    }
    void Replace() {
        Remove();
        // A name of its own: mkdtemp never takes one that exists, whoever left it.
        std::string name =
            (std::filesystem::temp_directory_path() / "gs-window-test-XXXXXX").string();
        if (!::mkdtemp(name.data())) {
            throw std::runtime_error("cannot make a home folder for the test in " + name);
        }
        folder_ = name;
    }
    const std::filesystem::path& Folder() const { return folder_; }

private:
    void Remove() {
        std::error_code error;
        if (!folder_.empty()) {
            std::filesystem::remove_all(folder_, error);
        }
    }
    std::filesystem::path folder_;
};

void UseFreshHome() {
    static CTestHome home;
    home.Replace();
    ::setenv("HOME", home.Folder().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.Folder() / ".config").c_str(), 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
}
} // namespace

CApplication& TheApplication() {
    return *Program();
}

CGasSeparatorModel& TheModel() {
    return *Program()->Model();
}

CApplication& StartEmptyProgram() {
    Program().reset(); // the previous test's program goes first
    UseFreshHome();
    QtPlatform().Install(true);
    Program() = std::make_unique<CApplication>();
    return *Program();
}

void StartEventsAndTags() {
    CApplication& application = StartEmptyProgram();
    application.CreateEvents();
    application.CreateTags("");
}

void StartProgram(CRecordingShell& shell, const std::string& tagDirectory) {
    CApplication& application = StartEmptyProgram();
    Platform().shell = &shell;
    application.CreateEvents();
    application.CreateTags(tagDirectory);
    application.CreateWindowManager();
    application.CreateModel();
    application.CreateSimulator();
    application.CreateControllers();
}

void RunPass() {
    Program()->Pass(1.0 / 60.0);
}

const std::uint32_t* PixelsOf(TagHandle image) {
    const TImage* tag = GetTagAs<TImage>(image);
    return tag && !tag->bitmap.empty() ? tag->bitmap.data() : nullptr;
}
