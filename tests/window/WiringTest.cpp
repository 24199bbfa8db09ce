// The program's wiring: every event a listener waits for is raised by someone, every event
// that is raised reaches a listener, and a missing service is reported instead of ignored.

#include "app/Application.h"
#include "app/platform/Platform.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GlobalService.h"
#include "app/tags/ComboBox.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/tags/TextEdit.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

namespace {
// Every name the running program can raise: the code's own events, the events written in the
// loaded tags, and the focus events of the fields that take the focus.
std::set<std::string> RaisableEvents() {
    std::set<std::string> names = {
        EventName::kSimulationFrameUpdated, EventName::kWellParametersUpdated,
        EventName::kTagsReloaded, EventName::kResetToDefaults, EventName::kOpenContactDialog,
        EventName::kShowAbout, EventName::kDialogAccept, EventName::kDialogCancel,
        EventName::kCopyDesign, EventName::kExportReport,
        // the File, Edit and Tools menus and closing the window
        EventName::kNewCase, EventName::kOpenCase, EventName::kOpenRecentCase, EventName::kSaveCase,
        EventName::kOpenDroppedCase, EventName::kSaveCaseAs, EventName::kEditCaseDetails,
        EventName::kUndo, EventName::kRedo, EventName::kRenamePreset, EventName::kDeletePreset,
        EventName::kQuitRequested, EventName::kOilfieldUnitsChosen, EventName::kMetricUnitsChosen,
        EventName::kUnitsChanged};
    for (TagHandle handle = 1; handle <= TagManager()->TagCount(); ++handle) {
        const Tag* tag = GetTag(handle);
        if (const auto* region = dynamic_cast<const TMouseRegion*>(tag)) {
            names.insert(region->clickEvent);
        } else if (const auto* box = dynamic_cast<const TTextEdit*>(tag); box && !box->readOnly) {
            names.insert(box->textChangedEvent);
        } else if (const auto* list = dynamic_cast<const TComboBox*>(tag)) {
            names.insert(list->selectedItemChangedEvent);
        }
    }
    for (const auto& [name, view] : gWindowManager->Views()) {
        const auto* box = dynamic_cast<const CTextEditView*>(view);
        if ((box && !box->IsReadOnly()) || dynamic_cast<const CComboBoxView*>(view)) {
            names.insert(FocusEvent(name));
            names.insert(LoseFocusEvent(name));
        }
    }
    return names;
}

bool IsFocusEvent(const std::string& name) {
    for (const std::string suffix : {EventName::kFocusSuffix, EventName::kLoseFocusSuffix}) {
        if (name.size() > suffix.size() && name.ends_with(suffix)) {
            return true;
        }
    }
    return false;
}

int missingReports = 0;
void CountMissing(const char*, const char*) {
    ++missingReports;
}
} // namespace

TEST(Wiring, EverySubscribedEventIsRaisedAndEveryRaisedEventIsHeard) {
    CRecordingShell shell;
    StartProgram(shell);
    const std::set<std::string> raisable = RaisableEvents();
    const std::vector<std::string> subscribed = gEventRegistry->SubscribedNames();
    for (const std::string& name : subscribed) {
        EXPECT_TRUE(raisable.count(name)) << "nobody raises \"" << name << "\"";
    }
    // Focus events are raised by every field for whoever cares (only some have a dimension
    // line), and the save preset dialog's name box reports its changes to nobody.
    const std::set<std::string> heard(subscribed.begin(), subscribed.end());
    for (const std::string& name : raisable) {
        if (!IsFocusEvent(name) && name != EventName::kSavePresetNameChanged) {
            EXPECT_TRUE(heard.count(name)) << "nobody listens to \"" << name << "\"";
        }
    }
}

TEST(Wiring, UsingAMissingServiceIsReportedNotIgnored) {
    SetMissingServiceHandler(CountMissing);
    missingReports = 0;
    {
        EventRegistry* none = nullptr;
        ScopedOverride<EventRegistry> noRegistry(gEventRegistry, none);
        RaiseEvent(EventName::kPumpStart);
        SubscribeEvent(EventName::kPumpStart, &missingReports, [] {});
    }
    {
        CTagManager* none = nullptr;
        ScopedOverride<CTagManager> noTags(gTagManager, none);
        EXPECT_EQ(GetTag(1), nullptr);
        EXPECT_THROW(LoadTag("app.app.yml"), TagError);
    }
    {
        CWindowManager* none = nullptr;
        ScopedOverride<CWindowManager> noWindows(gWindowManager, none);
        EXPECT_EQ(FindViewOf<CTextEditView>("SPM"), nullptr);
    }
    SetMissingServiceHandler(nullptr);
    EXPECT_EQ(missingReports, 5);
}

TEST(Wiring, ServicesArePublishedOnlyWhileTheirOwnerHoldsThem) {
    EventRegistry* slot = nullptr;
    {
        GlobalService<EventRegistry> events(slot);
        EXPECT_EQ(slot, nullptr);
        EventRegistry& created = events.Create();
        EXPECT_EQ(slot, &created);
        events.Reset();
        EXPECT_EQ(slot, nullptr);
        events.Create();
        EXPECT_NE(slot, nullptr);
    }
    EXPECT_EQ(slot, nullptr); // cleared when the owner goes
}

// The benchmark splits the time to the first frame by these steps: they come in the order they
// run, and no time is counted twice (together they fit in the time the whole start-up took).
TEST(Wiring, TheStartUpIsTimedStepByStepCountingNoTimeTwice) {
    CRecordingShell shell;
    CApplication& application = StartEmptyProgram();
    Platform().shell = &shell;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(application.Startup());
    const std::chrono::duration<double, std::milli> whole =
        std::chrono::steady_clock::now() - start;
    std::vector<std::string> names;
    double sum = 0;
    for (const CStepTimes::Step& step : application.StartupSteps().Steps()) {
        names.push_back(step.name);
        EXPECT_GE(step.ms, 0) << step.name;
        sum += step.ms;
    }
    const std::vector<std::string> expected = {"logging",    "tag_manager", "tags_and_pictures",
                                               "window",     "views",       "model_and_simulator",
                                               "controllers"};
    EXPECT_EQ(names, expected);
    EXPECT_LE(sum, whole.count());
    application.Shutdown();
}
