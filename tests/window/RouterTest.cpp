// The window manager's registry and mouse router, with hand-made region tags.

#include "app/services/EventRegistry.h"

#include "app/services/EventNames.h"
#include "app/services/GlobalService.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {
TagHandle MakeRegion(const std::string& path, int x, int y, int width, int height) {
    auto region = std::make_unique<TMouseRegion>();
    region->path = path;
    region->absX = x;
    region->absY = y;
    region->width = width;
    region->height = height;
    return TagManager()->RegisterTag(std::move(region));
}

class RouterTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartEventsAndTags();
        publish = std::make_unique<ScopedGlobal<CWindowManager>>(gWindowManager, manager);
        a.Init("A");
        b.Init("B");
        regionA = MakeRegion("a.mouse.yml", 10, 10, 20, 20); // inside: 11..29
        regionB = MakeRegion("b.mouse.yml", 20, 20, 20, 20); // overlaps A at 21..29
        manager.AddMouseRegion("A", regionA);
    }
    void TearDown() override { publish.reset(); }

    CWindowManager manager;
    std::unique_ptr<ScopedGlobal<CWindowManager>> publish;
    CRecordingView a;
    CRecordingView b;
    TagHandle regionA = 0;
    TagHandle regionB = 0;
};

TEST_F(RouterTest, EdgesAreOutsideTheRegion) {
    for (auto [x, y] : {std::pair{10, 15}, {30, 15}, {15, 10}, {15, 30}}) {
        EXPECT_EQ(manager.HitTest(x, y), nullptr) << x << "," << y;
    }
    EXPECT_NE(manager.HitTest(11, 11), nullptr);
    EXPECT_NE(manager.HitTest(29, 29), nullptr);
}

TEST_F(RouterTest, TheRegionAddedLaterIsOnTop) {
    manager.AddMouseRegion("B", regionB);
    manager.OnMouseMove(25, 25);
    manager.OnLeftButtonDown(25, 25);
    manager.OnLeftButtonUp(25, 25);
    EXPECT_EQ(a.Calls(), "");
    EXPECT_EQ(b.Calls(), "enter down up click");
    manager.OnMouseMove(15, 15); // only A there
    EXPECT_EQ(b.calls.back(), "leave");
    EXPECT_EQ(a.Calls(), "enter");
}

TEST_F(RouterTest, DraggingOffAPressedRegionGivesUpWithoutClick) {
    manager.OnLeftButtonDown(15, 15);
    manager.OnMouseMove(100, 100); // captured: no leave while held
    EXPECT_EQ(a.Calls(), "enter down");
    manager.OnLeftButtonUp(100, 100);
    EXPECT_EQ(a.Calls(), "enter down up");
    manager.OnMouseMove(101, 101);
    EXPECT_EQ(a.Calls(), "enter down up leave");
}

TEST_F(RouterTest, DraggingOffAndBackClicks) {
    manager.OnLeftButtonDown(15, 15);
    manager.OnMouseMove(100, 100);
    manager.OnMouseMove(16, 16);
    manager.OnLeftButtonUp(16, 16);
    EXPECT_EQ(a.Calls(), "enter down up click");
}

TEST_F(RouterTest, AReleaseOutsideTheWindowLeavesTheRegionCapturing) {
    manager.AddMouseRegion("B", regionB);
    manager.OnLeftButtonDown(15, 15);
    manager.OnMouseMove(200, 200); // released out there: never seen
    // The next press over B still goes to A, which keeps the hover.
    manager.OnLeftButtonDown(35, 35);
    manager.OnLeftButtonUp(35, 35);
    EXPECT_EQ(a.Calls(), "enter down down up");
    EXPECT_EQ(b.Calls(), "");
    // Back over A, a press and release clicks it.
    manager.OnLeftButtonDown(12, 12);
    manager.OnLeftButtonUp(12, 12);
    EXPECT_EQ(a.Calls(), "enter down down up down up click");
}

TEST_F(RouterTest, ARemovedHoverRegionGetsLeaveOnTheNextMove) {
    manager.OnMouseMove(15, 15);
    manager.RemoveMouseRegions("A");
    ASSERT_NE(manager.Hover(), nullptr);
    EXPECT_EQ(manager.HitTest(15, 15), nullptr);
    manager.OnMouseMove(15, 16);
    EXPECT_EQ(a.Calls(), "enter leave");
    EXPECT_EQ(manager.Hover(), nullptr);
}

TEST_F(RouterTest, AClickThatRemovesItsOwnRegionIsSafe) {
    struct CSelfRemoving : CRecordingView {
        void OnMouseClick(TagHandle tag) override {
            CRecordingView::OnMouseClick(tag);
            gWindowManager->RemoveMouseRegions(Name());
        }
    } view;
    view.Init("C");
    manager.AddMouseRegion("C", MakeRegion("c.mouse.yml", 100, 100, 10, 10));
    manager.OnLeftButtonDown(105, 105);
    manager.OnLeftButtonUp(105, 105);
    manager.OnMouseMove(106, 106);
    EXPECT_EQ(view.Calls(), "enter down up click leave");
}

TEST_F(RouterTest, RegistryFindsTheFirstAndUnregistersEveryEntryOfAName) {
    CRecordingView second;
    second.Init("A");
    EXPECT_EQ(manager.FindView("A"), &a);
    EXPECT_EQ(manager.FindView("a"), nullptr); // names are exact
    manager.UnregisterView("A");
    EXPECT_EQ(manager.FindView("A"), nullptr);
    EXPECT_EQ(manager.FindView("B"), &b);
    // A region whose view is gone is still hit, and its callbacks are skipped.
    manager.OnLeftButtonDown(15, 15);
    manager.OnLeftButtonUp(15, 15);
    EXPECT_TRUE(a.calls.empty());
    EXPECT_TRUE(second.calls.empty());
}

TEST_F(RouterTest, MenuCommandsRaiseTheirEvents) {
    int contact = 0;
    int reset = 0;
    gEventRegistry->Subscribe(EventName::kOpenContactDialog, &contact, [&] { ++contact; });
    gEventRegistry->Subscribe(EventName::kResetToDefaults, &reset, [&] { ++reset; });
    manager.OnCommand(CWindowManager::kCommandContact);
    manager.OnCommand(CWindowManager::kCommandResetToDefaults);
    manager.OnCommand(4242); // offered to the views; nobody takes it
    EXPECT_EQ(contact, 1);
    EXPECT_EQ(reset, 1);
}
} // namespace
