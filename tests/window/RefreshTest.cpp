// Reloading the tags (Ctrl+R) from a tag directory, including a file that has gone bad.

#include "app/services/EventRegistry.h"

#include "app/services/EventNames.h"
#include "app/tags/App.h"
#include "app/tags/Button.h"
#include "app/tags/ButtonBar.h"
#include "app/tags/HelpDialog.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/ButtonView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        tags = std::filesystem::temp_directory_path() /
               ("gs-refresh-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(tags);
        std::filesystem::copy(GS_SOURCE_DIR "/data", tags,
                              std::filesystem::copy_options::recursive);
        StartProgram(shell, tags.string() + "/");
        gEventRegistry->Subscribe(EventName::kTagsReloaded, &reloads, [this] { ++reloads; });
    }
    void TearDown() override { std::filesystem::remove_all(tags); }

    bool Active(const std::string& name) {
        return gWindowManager->FindViewAs<CButtonView>(name)->IsActive();
    }
    const TMouseRegion* HelpCloseRegion() {
        const auto* app = GetTagAs<TApp>(gWindowManager->RootTag());
        const auto* help = GetTagAs<THelpDialog>(app->helpDialog);
        return GetTagAs<TMouseRegion>(GetTagAs<TButton>(help->closeButton)->mouseRegion);
    }

    std::filesystem::path tags;
    CRecordingShell shell;
    int reloads = 0;
};

TEST_F(RefreshTest, CtrlRReloadsOnceAndKeepsTheButtonsAsTheyWere) {
    RunPass();
    gWindowManager->OnCommand(CWindowManager::kCommandRefreshTags);
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(shell.messages.empty());
    // No dialog is open: no dialog button reacts, and each pair still shows one button.
    EXPECT_FALSE(Active(ViewName::kHelpDialogCloseButton));
    EXPECT_FALSE(Active(ViewName::kContactDialogWebsiteButton));
    EXPECT_TRUE(Active(ViewName::kPumpButtonGo));
    EXPECT_FALSE(Active(ViewName::kPumpButtonStop));
    EXPECT_TRUE(Active(ViewName::kDimensionButtonShow));
    EXPECT_FALSE(Active(ViewName::kDimensionButtonHide));
}

TEST_F(RefreshTest, AReloadWhileADialogIsOpenKeepsTheBarDeaf) {
    RaiseEvent(EventName::kOpenHelpDialog);
    gWindowManager->RefreshTags();
    EXPECT_TRUE(Active(ViewName::kHelpDialogCloseButton));
    EXPECT_FALSE(Active(ViewName::kHelpButton));
    EXPECT_FALSE(Active(ViewName::kPumpButtonGo));
    RaiseEvent(EventName::kCloseHelpDialog);
    EXPECT_TRUE(Active(ViewName::kHelpButton));
}

TEST_F(RefreshTest, ABadFileIsReportedByNameAndTheProgramGoesOn) {
    const std::string bad = HelpCloseRegion()->path;
    const int closeX = HelpCloseRegion()->absX;
    {
        std::ofstream out(tags / bad, std::ios::trunc);
        out << "X: 0\nY: 0\nWidth: 14\nHeight: 14\n"; // no "Click Event"
    }
    gWindowManager->RefreshTags();
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find(bad), std::string::npos) << shell.messages[0];
    EXPECT_NE(shell.messages[0].find("Click Event"), std::string::npos) << shell.messages[0];
    EXPECT_EQ(reloads, 1);
    // The tags that did load are placed where they belong, and everything still works.
    const auto* app = GetTagAs<TApp>(gWindowManager->RootTag());
    const auto* bar = GetTagAs<TButtonBar>(app->buttonBar);
    EXPECT_EQ(bar->absX, 705);
    EXPECT_EQ(HelpCloseRegion()->absX, closeX);
    RunPass();
    RaiseEvent(EventName::kOpenHelpDialog);
    EXPECT_TRUE(gWindowManager->FindViewAs<CDialogView>(ViewName::kHelpDialog)->IsOpen());
    RunPass();
}

// A picture is survived like a tag file: the program does not end (and lose the user's values).
TEST_F(RefreshTest, AMissingOrBrokenPictureIsReportedWithItsChainAndTheProgramGoesOn) {
    const std::filesystem::path title = tags / "views/header_bar/images/title.png";
    for (const bool missing : {true, false}) {
        shell.messages.clear();
        std::filesystem::remove(title);
        if (!missing) {
            std::ofstream(title) << "not a picture";
        }
        gWindowManager->RefreshTags();
        ASSERT_EQ(shell.messages.size(), 1u);
        const std::string& message = shell.messages[0];
        EXPECT_NE(message.find("\"" + title.string() + "\": "), std::string::npos) << message;
        EXPECT_NE(message.find(missing ? "No such file" : "cannot be decoded"), std::string::npos)
            << message;
        EXPECT_NE(message.find("Referred to by:\n  app.app.yml\n  views/header.headerbar.yml"),
                  std::string::npos)
            << message;
        RunPass();
    }
    EXPECT_EQ(reloads, 2);
}
} // namespace
