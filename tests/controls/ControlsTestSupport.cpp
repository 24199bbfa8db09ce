#include "tests/controls/ControlsTestSupport.h"

#include "app/tags/ViewNames.h"

#include "app/Application.h"
#include "app/platform/NativeControl.h"
#include "app/platform/Platform.h"
#include "app/platform/Window.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/EventRegistry.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"

#include <cstdlib>

namespace {
CQtPlatform& QtPlatform() {
    static int argc = 1;
    static char name[] = "test_controls";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own globals may be gone by the time the process exits.
    static CQtPlatform* platform = new CQtPlatform(argc, argv, CQtPlatform::Display::Offscreen);
    return *platform;
}
} // namespace

// The application's view layer alone: events, tags from the embedded store and the window
// manager with its window and views; no model and no controllers.
ControlsHarness::ControlsHarness() : application_(std::make_unique<CApplication>()) {
    QtPlatform().Install(true);
    application_->CreateEvents();
    application_->CreateTags("");
    application_->CreateWindowManager();
    Pass();
}

ControlsHarness::~ControlsHarness() {
    application_->Shutdown();
}

void ControlsHarness::Listen(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        gEventRegistry->Subscribe(name, this, [this, name] { events_.push_back(name); });
    }
}

std::string ControlsHarness::Events() const {
    std::string text;
    for (const std::string& event : events_) {
        text += (text.empty() ? "" : ", ") + event;
    }
    return text;
}

void ControlsHarness::Pass() {
    gWindowManager->Update(1.0 / 60.0);
}

IAutomation& ControlsHarness::Input() {
    return *Platform().automation;
}

CParametersPanelView& ControlsHarness::Panel() {
    return gWindowManager->RootView().ParametersPanel();
}

CSavePresetView& ControlsHarness::SaveDialog() {
    return *gWindowManager->FindViewAs<CSavePresetView>(ViewName::kSavePresetDialog);
}

CTextEditView& ControlsHarness::Box(const std::string& name) {
    return *gWindowManager->FindViewAs<CTextEditView>(name);
}

CComboBoxView& ControlsHarness::List(const std::string& name) {
    return *gWindowManager->FindViewAs<CComboBoxView>(name);
}

PixelBuffer ControlsHarness::Grab(int x, int y, int w, int h) {
    return Platform().mainWindow->GrabClient(x, y, w, h);
}

std::string ControlsHarness::FocusedControl() {
    for (const auto& [name, view] : gWindowManager->Views()) {
        const auto* box = dynamic_cast<const CTextEditView*>(view);
        const auto* list = dynamic_cast<const CComboBoxView*>(view);
        const INativeControl* control = box    ? static_cast<INativeControl*>(box->Control())
                                        : list ? static_cast<INativeControl*>(list->Control())
                                               : nullptr;
        if (control && control->HasFocus()) {
            return name;
        }
    }
    return "";
}

int CountColour(const PixelBuffer& pixels, unsigned rgb, int tolerance) {
    int count = 0;
    for (const std::uint32_t pixel : pixels.pixels) {
        bool close = (pixel >> 24) == 0xFF;
        for (int shift : {16, 8, 0}) {
            const int a = static_cast<int>((pixel >> shift) & 0xFF);
            const int b = static_cast<int>((rgb >> shift) & 0xFF);
            close = close && std::abs(a - b) <= tolerance;
        }
        count += close ? 1 : 0;
    }
    return count;
}
