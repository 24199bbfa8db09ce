// The driver's generic input commands on native controls made through the window.

#include "app/platform/Automation.h"
#include "app/platform/NativeControl.h"
#include "app/platform/Platform.h"
#include "app/platform/Window.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

namespace {
class AutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram(shell);
        IMainWindow* window = Platform().mainWindow;
        box = window->CreateTextEdit("Box");
        list = window->CreateComboBox("List");
        box->SetStyle({10, 100, 200, 29, 5, 5, "Exo", 20, 0xFF000000});
        list->SetStyle({10, 140, 200, 29, 5, 5, "Exo", 20, 0xFF000000});
        box->SetCallbacks({[this] { ++boxChanges; }, [this] { log += "box-focus "; },
                           [this] { log += "box-lose "; }});
        list->SetCallbacks({[this] { ++listChanges; }, [this] { log += "list-focus "; },
                            [this] { log += "list-lose "; }});
        list->SetItems({"first", "second row", "third"});
        list->SetCurrentIndex(-1);
        box->SetVisible(true);
        list->SetVisible(true);
        RunPass();
    }
    IAutomation& Input() { return *Platform().automation; }

    CRecordingShell shell;
    std::unique_ptr<INativeTextEdit> box;
    std::unique_ptr<INativeComboBox> list;
    int boxChanges = 0;
    int listChanges = 0;
    std::string log;
    std::string error;
};

TEST_F(AutomationTest, TypingGoesToTheFocusedBox) {
    ASSERT_TRUE(Input().Focus("Box", error)) << error;
    EXPECT_TRUE(box->HasFocus());
    ASSERT_TRUE(Input().TypeText("4.5 x", error)) << error;
    EXPECT_EQ(box->GetText(), "4.5 x");
    EXPECT_EQ(boxChanges, 5);
    ASSERT_TRUE(Input().Key("Backspace", error));
    ASSERT_TRUE(Input().Key("Backspace", error));
    EXPECT_EQ(box->GetText(), "4.5");
    ASSERT_TRUE(Input().Key("Ctrl+A", error));
    ASSERT_TRUE(Input().TypeText("7", error));
    EXPECT_EQ(box->GetText(), "7");
    ASSERT_TRUE(Input().Key("Home", error));
    ASSERT_TRUE(Input().TypeText("1", error));
    EXPECT_EQ(box->GetText(), "17");
    EXPECT_EQ(log, "box-focus ");
}

TEST_F(AutomationTest, TabAndAClickOnTheCanvasMoveTheFocus) {
    ASSERT_TRUE(Input().Focus("Box", error));
    ASSERT_TRUE(Input().Key("Tab", error));
    EXPECT_TRUE(list->HasFocus());
    // A left-button release on the window takes the focus back to the main window.
    Input().MouseDown(500, 600);
    Input().MouseUp(500, 600);
    EXPECT_FALSE(list->HasFocus());
    EXPECT_EQ(log, "box-focus box-lose list-focus list-lose ");
}

TEST_F(AutomationTest, SelectPicksARowOnceAsAUserWould) {
    ASSERT_TRUE(Input().Select("List", "second row", error)) << error;
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    EXPECT_EQ(listChanges, 1);
    EXPECT_FALSE(Input().Select("List", "fourth", error));
    EXPECT_NE(error.find("no row \"fourth\""), std::string::npos) << error;
    EXPECT_EQ(list->GetCurrentIndex(), 1);
}

TEST_F(AutomationTest, HiddenOrMissingControlsAreErrors) {
    box->SetVisible(false);
    EXPECT_FALSE(Input().Focus("Box", error));
    EXPECT_NE(error.find("\"Box\""), std::string::npos);
    EXPECT_FALSE(Input().Focus("Nothing", error));
    EXPECT_FALSE(Input().Select("Nothing", "first", error));
    EXPECT_FALSE(Input().Key("Ctrl+Shift+F12", error));
    Input().MouseDown(500, 600); // the main window takes the focus
    Input().MouseUp(500, 600);
    EXPECT_FALSE(Input().TypeText("x", error)); // no control has the focus
    EXPECT_FALSE(Input().ChooseMenu("&Quit", error));
}

// The scene's design size and the box's widget, as the window shows them.
QSize DesignSize() {
    return {Platform().mainWindow->BackBuffer().Width(),
            Platform().mainWindow->BackBuffer().Height()};
}

QWidget* BoxWidget() {
    auto* window = dynamic_cast<CQtMainWindow*>(Platform().mainWindow);
    return window ? window->CanvasWidget()->findChild<QWidget*>("Box") : nullptr;
}

// The boxes' captions are pictures, so a screen reader learns a box's name from its tooltip.
TEST_F(AutomationTest, ABoxIsNamedToScreenReadersByItsTooltip) {
    ASSERT_NE(BoxWidget(), nullptr);
    EXPECT_EQ(BoxWidget()->accessibleName(), "Box");
    box->SetToolTip("Pump speed in strokes per minute: above 0, at most 30");
    EXPECT_EQ(BoxWidget()->accessibleName(), "Pump speed in strokes per minute");
    EXPECT_EQ(BoxWidget()->accessibleDescription(),
              "Pump speed in strokes per minute: above 0, at most 30");
    box->SetToolTip("Production rate from the pump");
    EXPECT_EQ(BoxWidget()->accessibleName(), "Production rate from the pump");
}

TEST_F(AutomationTest, AResizedWindowScalesItsControlsAndTakesPointsInDesignPixels) {
    const QSize design = DesignSize();
    ASSERT_NE(BoxWidget(), nullptr);
    EXPECT_EQ(BoxWidget()->geometry(), QRect(10, 100, 200, 29)); // as the design places it
    // Half the size: the box is half as large, where half its place is.
    ASSERT_TRUE(Input().ResizeWindow(design.width() / 2, design.height() / 2, error)) << error;
    RunPass();
    EXPECT_EQ(BoxWidget()->geometry(), QRect(5, 50, 100, 15));
    EXPECT_EQ(Platform().mainWindow->BackBuffer().Width(), design.width()); // still design pixels
    Input().MouseDown(20, 110);
    Input().MouseUp(20, 110);
    EXPECT_TRUE(box->HasFocus());
    Input().MouseDown(500, 600);
    Input().MouseUp(500, 600);
    EXPECT_FALSE(box->HasFocus());
    // Twice as wide as the design's aspect: the height rules and the scene is centred.
    ASSERT_TRUE(Input().ResizeWindow(design.width() * 2, design.height(), error)) << error;
    RunPass();
    EXPECT_EQ(BoxWidget()->geometry(), QRect(design.width() / 2 + 10, 100, 200, 29));
    Input().MouseDown(205, 125);
    Input().MouseUp(205, 125);
    EXPECT_TRUE(box->HasFocus());
    EXPECT_FALSE(Input().ResizeWindow(10, 10, error)); // smaller than a quarter
    EXPECT_NE(error.find("resize needs a size from"), std::string::npos) << error;
}

TEST_F(AutomationTest, TheMenuAndTheCloseButtonEndTheProgram) {
    ASSERT_TRUE(Input().ChooseMenu("&Contact Us", error));
    EXPECT_TRUE(gWindowManager->IsRunning());
    Input().CloseWindow();
    RunPass();
    EXPECT_FALSE(gWindowManager->IsRunning());
}
} // namespace
