// The views and the application and pump controllers on the shipped tag tree, headless.

#include "app/controllers/AppController.h"

#include "app/Version.h"
#include "app/files/EmbeddedStore.h"
#include "app/model/ParameterTable.h"
#include "app/platform/Platform.h"
#include "app/platform/Window.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/services/ContactDetails.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GlobalService.h"
#include "app/tags/App.h"
#include "app/tags/Button.h"
#include "app/tags/DimensionLine.h"
#include "app/tags/HelpDialog.h"
#include "app/tags/Label.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/tags/Warning.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/DialogView.h"
#include "app/window_manager/DimensionLineView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/NoticeView.h"
#include "app/window_manager/SavePresetView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WarningView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/TableNames.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <map>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }

    template <class T> T& View(const std::string& name) {
        T* view = gWindowManager->FindViewAs<T>(name);
        EXPECT_NE(view, nullptr) << name;
        return *view;
    }
    CButtonBarView& Bar() { return View<CButtonBarView>(ViewName::kButtonBar); }
    bool Active(const std::string& button) { return View<CButtonView>(button).IsActive(); }

    CRecordingShell shell;
};

TEST_F(ProgramTest, TheBarShowsOneButtonOfEachPair) {
    RunPass();
    EXPECT_TRUE(Active(ViewName::kPumpButtonGo));
    EXPECT_FALSE(Active(ViewName::kPumpButtonStop));
    EXPECT_TRUE(Active(ViewName::kDimensionButtonShow));
    EXPECT_FALSE(Active(ViewName::kDimensionButtonHide));

    RaiseEvent(EventName::kPumpStart);
    RunPass();
    EXPECT_TRUE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_FALSE(Active(ViewName::kPumpButtonGo));
    EXPECT_TRUE(Active(ViewName::kPumpButtonStop));
    EXPECT_EQ(Bar().CurrentPumpButton()->Name(), ViewName::kPumpButtonStop);

    RaiseEvent(EventName::kShowDimensions);
    EXPECT_FALSE(Active(ViewName::kDimensionButtonShow));
    EXPECT_TRUE(Active(ViewName::kDimensionButtonHide));
}

TEST_F(ProgramTest, PumpStartTwiceKeepsRunningWithoutResettingTheSimulation) {
    RaiseEvent(EventName::kPumpStart);
    for (int i = 0; i < 30; ++i) {
        RunPass();
    }
    const double elapsed = TheModel().GetState().elapsedTime;
    int updates = 0;
    gEventRegistry->Subscribe(EventName::kWellParametersUpdated, &updates, [&] { ++updates; });
    RaiseEvent(EventName::kPumpStart);
    EXPECT_TRUE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_EQ(TheModel().GetState().elapsedTime, elapsed);
    RaiseEvent(EventName::kPumpStop);
    RaiseEvent(EventName::kPumpStop);
    EXPECT_FALSE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_EQ(updates, 0);
}

int CountEvents(const std::string& name, int& counter) {
    gEventRegistry->Subscribe(name, &counter, [&counter] { ++counter; });
    return 0;
}

TEST_F(ProgramTest, WhileThePumpRunsTheGoButtonCannotBeClicked) {
    int starts = 0;
    int stops = 0;
    CountEvents(EventName::kPumpStart, starts);
    CountEvents(EventName::kPumpStop, stops);
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    const auto* button =
        GetTagAs<TButton>(View<CButtonView>(ViewName::kPumpButtonGo).GetTagHandle());
    const auto* region = GetTagAs<TMouseRegion>(button->mouseRegion);
    const int x = region->absX + region->width / 2;
    const int y = region->absY + region->height / 2;
    gWindowManager->OnLeftButtonDown(x, y);
    gWindowManager->OnLeftButtonUp(x, y);
    EXPECT_EQ(starts, 1); // only the one raised above
    EXPECT_EQ(stops, 1);  // the stop button lies where the go button was
    // Pressing and releasing elsewhere raises nothing.
    RunPass();
    gWindowManager->OnLeftButtonDown(x, y);
    gWindowManager->OnLeftButtonUp(5, 700);
    EXPECT_EQ(starts + stops, 2);
}

TEST_F(ProgramTest, SetPumpRunningEveryFrameDoesNotReregister) {
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    auto* stop = &View<CButtonView>(ViewName::kPumpButtonStop);
    const auto* region =
        GetTagAs<TMouseRegion>(GetTagAs<TButton>(stop->GetTagHandle())->mouseRegion);
    const int x = region->absX + 5;
    const int y = region->absY + 5;
    gWindowManager->OnMouseMove(x, y);
    for (int i = 0; i < 5; ++i) {
        RunPass(); // re-registering would drop the hover
    }
    EXPECT_TRUE(stop->IsHover());
}

TEST_F(ProgramTest, DialogsSuspendInteractionAndDisableTheBarOnce) {
    auto& help = View<CDialogView>(ViewName::kHelpDialog);
    auto& app = View<CAppView>(ViewName::kApp);
    RunPass();
    RaiseEvent(EventName::kOpenHelpDialog);
    EXPECT_TRUE(help.IsOpen());
    EXPECT_FALSE(app.IsInteractive());
    EXPECT_FALSE(Bar().IsEnabled());
    EXPECT_FALSE(Active(ViewName::kHelpButton));
    EXPECT_TRUE(Active(ViewName::kHelpDialogCloseButton));
    EXPECT_TRUE(Active(ViewName::kHelpDialogEmailButton));
    // Opening it again changes nothing; closing a closed dialog does not re-enable the bar.
    RaiseEvent(EventName::kOpenHelpDialog);
    RaiseEvent(EventName::kCloseSavePresetDialog);
    EXPECT_FALSE(Bar().IsEnabled());
    EXPECT_TRUE(help.IsOpen());
    // The menu can open the contact dialog over it; closing that one keeps the bar deaf and
    // interaction suspended while the help dialog is still open.
    RaiseEvent(EventName::kOpenContactDialog);
    EXPECT_TRUE(View<CDialogView>(ViewName::kContactDialog).IsOpen());
    RaiseEvent(EventName::kCloseContactDialog);
    EXPECT_FALSE(Bar().IsEnabled());
    EXPECT_FALSE(app.IsInteractive());
    EXPECT_FALSE(Active(ViewName::kHelpButton));
    // While disabled the pump pair is left as it is.
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    EXPECT_EQ(Bar().CurrentPumpButton()->Name(), ViewName::kPumpButtonGo);
    EXPECT_FALSE(Active(ViewName::kPumpButtonStop));

    RaiseEvent(EventName::kCloseHelpDialog);
    EXPECT_FALSE(help.IsOpen());
    EXPECT_TRUE(app.IsInteractive());
    EXPECT_TRUE(Bar().IsEnabled());
    EXPECT_FALSE(Active(ViewName::kHelpDialogCloseButton));
    EXPECT_TRUE(Active(ViewName::kHelpButton));
    EXPECT_TRUE(Active(ViewName::kPumpButtonGo)); // the current one comes back...
    RunPass();
    EXPECT_TRUE(Active(ViewName::kPumpButtonStop)); // ...and the next frame swaps it
    EXPECT_FALSE(View<CButtonView>(ViewName::kHelpButton).IsHover());
}

TEST_F(ProgramTest, SaveClosesTheSavePresetDialog) {
    auto& dialog = View<CDialogView>(ViewName::kSavePresetDialog);
    RaiseEvent(EventName::kOpenSavePresetDialog);
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_TRUE(Active("Save Preset Dialog Save Button"));
    EXPECT_TRUE(Active("Save Preset Dialog Cancel Button"));
    View<CTextEditView>(ViewName::kSavePresetName).SetText("Mine");
    RaiseEvent(EventName::kSavePreset);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(Bar().IsEnabled());
}

TEST_F(ProgramTest, TheLinksAndTheInformationDocumentOpen) {
    RaiseEvent(EventName::kLaunchQuillmoreWebsite);
    RaiseEvent(EventName::kLaunchQuillmoreEmail);
    RaiseEvent(EventName::kLaunchHelpEmail);
    RaiseEvent(EventName::kOpenInfoDocument);
    ASSERT_EQ(shell.opened.size(), 4u);
    EXPECT_EQ(shell.opened[0], "https://www.quillmore.example");
    EXPECT_EQ(shell.opened[1], "mailto:info@quillmore.example");
    EXPECT_EQ(shell.opened[2], "mailto:support@quillmore.example");
    EXPECT_NE(shell.opened[3].find("Quillmore/Gas Separator/GasSeparatorSimulatorGuide.docx"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::file_size(shell.opened[3].substr(7)) > 0);
    EXPECT_TRUE(shell.messages.empty());
}

// A documents folder that cannot take the guide (a locked-down training room) has it opened
// from a temporary folder of the user's own; only when that fails too is the guide missing.
TEST_F(ProgramTest, AnUnwritableDocumentsFolderOpensTheGuideFromATemporaryFolder) {
    const std::filesystem::path home = std::getenv("HOME");
    // A folder where the document should go makes the copy impossible.
    std::filesystem::create_directories(home / "Documents" / "Quillmore" / "Gas Separator" /
                                        "GasSeparatorSimulatorGuide.docx");
    struct TemporaryFolderKept { // TMPDIR as it was for the tests after this one, however it ends
        const char* was = std::getenv("TMPDIR");
        std::string value = was ? was : "";
        ~TemporaryFolderKept() {
            was ? ::setenv("TMPDIR", value.c_str(), 1) : ::unsetenv("TMPDIR");
        }
    } kept;
    std::filesystem::create_directories(home / "tmp");
    ::setenv("TMPDIR", (home / "tmp").c_str(), 1);
    RaiseEvent(EventName::kOpenInfoDocument);
    ASSERT_EQ(shell.opened.size(), 1u);
    const std::filesystem::path opened = shell.opened[0].substr(7); // after "file://"
    EXPECT_EQ(opened.parent_path().parent_path(), home / "tmp");
    EXPECT_GT(std::filesystem::file_size(opened), 0u);
    EXPECT_TRUE(shell.messages.empty());

    std::ofstream(home / "no-folder") << "x"; // no temporary folder either
    ::setenv("TMPDIR", (home / "no-folder").c_str(), 1);
    RaiseEvent(EventName::kOpenInfoDocument);
    EXPECT_EQ(shell.opened.size(), 1u);
    ASSERT_EQ(shell.messages.size(), 1u);
    // The maker's message, and why the copy failed, which the user can mend alone.
    EXPECT_EQ(shell.messages[0].rfind(std::string(CAppController::kErrorTitle) + " | " +
                                          CAppController::MissingDocumentText() +
                                          "\n\nIt could not be copied to \"",
                                      0),
              0u)
        << shell.messages[0];
    EXPECT_NE(shell.messages[0].find("GasSeparatorSimulatorGuide.docx\": "), std::string::npos);
    EXPECT_NE(shell.messages[0].find("+1 555 0100"), std::string::npos);
}

TEST_F(ProgramTest, TheCapacityWarningLastsOneLifespanAfterTheGasLeavesTheInlet) {
    auto& warning = View<CWarningView>(ViewName::kMaxCapacityWarning);
    RunPass();
    EXPECT_FALSE(warning.IsVisible());
    // Drive the frame event with the flag set, as the simulation would.
    SimulationState state = TheModel().GetState();
    state.gasAtDipTubeInlet = true;
    TheModel().CopyStateFrom(state);
    EXPECT_TRUE(warning.IsVisible());
    state.gasAtDipTubeInlet = false;
    TheModel().CopyStateFrom(state);
    warning.Update(2.4);
    EXPECT_TRUE(warning.IsVisible());
    warning.Update(0.2); // past the shipped 2.5 s
    EXPECT_FALSE(warning.IsVisible());
}

TEST_F(ProgramTest, WarningsExpireAfterTheirLifespanOrStay) {
    auto& capacity = View<CWarningView>(ViewName::kMaxCapacityWarning);    // lifespan 2.5
    auto& spm = View<CWarningView>(names::RangeWarning(ParameterId::SPM)); // lifespan 0
    capacity.Show();
    spm.Show();
    capacity.Update(2.0);
    capacity.Show(); // restarts the lifespan
    capacity.Update(2.5);
    EXPECT_TRUE(capacity.IsVisible()); // exactly the lifespan: still shown
    capacity.Update(0.01);
    EXPECT_FALSE(capacity.IsVisible());
    spm.Update(1000);
    EXPECT_TRUE(spm.IsVisible());
    spm.Hide();
    EXPECT_FALSE(spm.IsVisible());
}

TEST_F(ProgramTest, ADialogIsDrawnOverEverythingElse) {
    for (const auto& warning : View<CAppView>(ViewName::kApp).Warnings()) {
        warning->Show();
    }
    RaiseEvent(EventName::kOpenHelpDialog);
    CRecordingCanvas canvas;
    View<CAppView>(ViewName::kApp).Draw(canvas);
    const auto* app = GetTagAs<TApp>(gWindowManager->RootTag());
    const auto* help = GetTagAs<THelpDialog>(app->helpDialog);
    ASSERT_FALSE(canvas.images.empty());
    EXPECT_EQ(canvas.images.front().pixels, PixelsOf(app->backgroundImage));
    const auto dialog =
        std::find_if(canvas.images.begin(), canvas.images.end(), [&](const auto& draw) {
            return draw.pixels == PixelsOf(help->backgroundImage);
        });
    ASSERT_NE(dialog, canvas.images.end());
    // After the dialog's picture only its two buttons are drawn.
    EXPECT_EQ(canvas.images.end() - dialog, 3);
    // Every warning was drawn, before the dialog (several share a picture).
    std::set<const std::uint32_t*> cards;
    for (const TagHandle handle : app->warnings) {
        cards.insert(PixelsOf(GetTagAs<TWarning>(handle)->backgroundImage));
    }
    EXPECT_EQ(std::count_if(canvas.images.begin(), dialog,
                            [&](const auto& draw) { return cards.count(draw.pixels) > 0; }),
              static_cast<long>(app->warnings.size()));
}

TEST_F(ProgramTest, ShuttingTheRootDownUnregistersEveryView) {
    gWindowManager->Shutdown();
    EXPECT_EQ(gWindowManager->FindView(ViewName::kApp), nullptr);
    EXPECT_TRUE(gWindowManager->Views().empty());
    EXPECT_EQ(gWindowManager->HitTest(600, 100), nullptr);
}

// A label built from a hand-made tag, drawn into a recording canvas.
class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartEventsAndTags();
        publish = std::make_unique<ScopedGlobal<CWindowManager>>(gWindowManager, manager);
    }
    void TearDown() override { publish.reset(); }

    TagHandle MakeLabel(const std::string& text, const std::string& unit,
                        const std::string& alignment) {
        auto label = std::make_unique<TLabel>();
        label->path = "label" + std::to_string(++count) + ".lbl.yml";
        label->defaultText = text;
        label->unit = unit;
        label->horizontalAlignment = alignment;
        label->absX = 100;
        label->absY = 50;
        label->fillAlpha = 200;
        label->strokeAlpha = 100;
        label->strokeWidth = 1;
        return TagManager()->RegisterTag(std::move(label));
    }

    CWindowManager manager;
    std::unique_ptr<ScopedGlobal<CWindowManager>> publish;
    int count = 0;
};

TEST_F(LabelTest, TheUnitFollowsTheText) {
    CLabelView label;
    label.Init(nullptr, "Length");
    label.Configure(MakeLabel("4.5\"", "\"", "Left"));
    CRecordingCanvas canvas;
    label.Draw(canvas);
    label.SetText("4.5");
    label.Draw(canvas);
    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].text, "4.5\"\"");
    EXPECT_EQ(canvas.texts[1].text, "4.5\"");
    EXPECT_EQ(canvas.texts[0].x, 100);
    EXPECT_EQ(canvas.texts[0].y, 50);
    EXPECT_EQ(canvas.texts[0].style.fillAlpha, 200);
    EXPECT_EQ(canvas.texts[0].style.strokeAlpha, 100);
    label.Configure(label.GetTagHandle()); // a reload restores the default text
    EXPECT_EQ(label.DisplayText(), "4.5\"\"");
}

TEST_F(LabelTest, OnlyExactLeftAndRightAreHonoured) {
    EXPECT_EQ(CLabelView::AlignmentOf("Left"), TextAlign::Left);
    EXPECT_EQ(CLabelView::AlignmentOf("Right"), TextAlign::Right);
    EXPECT_EQ(CLabelView::AlignmentOf("left"), TextAlign::Center);
    EXPECT_EQ(CLabelView::AlignmentOf(""), TextAlign::Center);
    CLabelView label;
    label.Init(nullptr, "Value");
    label.Configure(MakeLabel("7", "", "right"));
    CRecordingCanvas canvas;
    label.DrawWithAlpha(canvas, 90, {0, canvas.Width()});
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].style.align, TextAlign::Center);
    EXPECT_EQ(canvas.texts[0].style.fillAlpha, 90);
    EXPECT_EQ(canvas.texts[0].style.strokeAlpha, 90);
}

// The recording canvas is 1018 wide and measures 8 pixels a character; the outline of width
// 1 needs a margin of 2.
TEST_F(LabelTest, ALongValueNearAnEdgeIsMovedInsideTheCanvas) {
    const auto drawnLeft = [&](const std::string& text, const std::string& alignment, int x) {
        const TagHandle tag = MakeLabel(text, "\"", alignment);
        GetTagAs<TLabel>(tag)->absX = x;
        CLabelView label;
        label.Init(nullptr, "Length " + std::to_string(count));
        label.Configure(tag);
        CRecordingCanvas canvas;
        label.Draw(canvas);
        const auto& drawn = canvas.texts.at(0);
        const int width = static_cast<int>(drawn.text.size()) * 8;
        const int shift = alignment == "Right" ? width : alignment == "Left" ? 0 : width / 2;
        return drawn.x - shift;
    };
    EXPECT_EQ(drawnLeft("123.456", "Left", 960), 1018 - 2 - 64); // "123.456\"" is 64 wide
    EXPECT_EQ(drawnLeft("123.456", "Center", 1000), 1018 - 2 - 64);
    EXPECT_EQ(drawnLeft("123.456", "Right", 20), 2);
    EXPECT_EQ(drawnLeft("4.5", "Left", 900), 900); // a label that fits stays where it is
}

namespace {
// Records the draws on the window's scale: its width, and its text measured by its back buffer.
class CWindowSizedCanvas : public CRecordingCanvas {
public:
    int Width() const override { return Platform().mainWindow->BackBuffer().Width(); }
    int MeasureText(const TextStyle& style, const std::string& text) override {
        return Platform().mainWindow->BackBuffer().MeasureText(style, text);
    }
};
} // namespace

// Above capacity the verdict takes two lines (a long time to the inlet: 18 h 27 min); the
// above-capacity notice under it starts below its last line, measured with the real font.
TEST_F(ProgramTest, TheAboveCapacityNoticeStartsBelowTheVerdictsLastLine) {
    for (const auto& [id, text] : {std::pair{ParameterId::ProductionRate, "242.01"},
                                   std::pair{ParameterId::DipTubeLength, "480"}}) {
        const std::string field = ParameterOf(id).field;
        View<CTextEditView>(field).SetText(text);
        RaiseEvent(ParameterOf(id).changedEvent);
        RaiseEvent(LoseFocusEvent(field));
    }
    RunPass();
    const auto& verdict = View<CNoticeView>(ViewName::kVerdict);
    const auto& notice = View<CNoticeView>(ViewName::kAboveCapacityNotice);
    ASSERT_TRUE(notice.IsVisible());
    CWindowSizedCanvas verdictLines;
    verdict.Draw(verdictLines);
    CWindowSizedCanvas noticeLines;
    notice.Draw(noticeLines);
    ASSERT_EQ(verdictLines.texts.size(), 2u);
    ASSERT_FALSE(noticeLines.texts.empty());
    const auto* tag = GetTagAs<TNotice>(verdict.GetTagHandle());
    EXPECT_LE(verdictLines.texts.back().y + tag->lineHeight, noticeLines.texts.front().y)
        << verdictLines.texts.back().text;
}

// The report pictures the casing alone: every dimension label lies whole inside the casing's
// picture, however long its value (a metric dip tube length of 12.192 m is wider than the room
// beside its line). On the screen the label keeps to the window as before.
TEST_F(ProgramTest, TheReportsLabelsLieWholeInsideTheCasingsPicture) {
    RaiseEvent(EventName::kMetricUnitsChosen);
    const std::string field = ParameterOf(ParameterId::DipTubeLength).field;
    View<CTextEditView>(field).SetText("12.192");
    RaiseEvent(LoseFocusEvent(field));
    RaiseEvent(EventName::kShowDimensions);
    RunPass();
    const auto& well = View<CGasSeparatorView>(ViewName::kGasSeparator);
    const PixelRect picture = well.PictureRect();
    ASSERT_FALSE(picture.IsEmpty());
    CWindowSizedCanvas report;
    well.DrawWithAllDimensions(report);
    CWindowSizedCanvas screen;
    well.Draw(screen);
    ASSERT_EQ(report.texts.size(), 6u);
    const auto extent = [](CWindowSizedCanvas& canvas, const CRecordingCanvas::TextDraw& text) {
        const int width = canvas.MeasureText(text.style, text.text);
        const int margin = static_cast<int>(std::ceil(text.style.strokeWidth / 2.0)) + 1;
        const int left = text.x - width / 2; // the labels are centred
        return std::make_pair(left - margin, left + width + margin);
    };
    for (const auto& text : report.texts) {
        SCOPED_TRACE(text.text);
        const auto [left, right] = extent(report, text);
        EXPECT_GE(left, picture.x);
        EXPECT_LE(right, picture.x + picture.width);
    }
    const auto longest = std::find_if(screen.texts.begin(), screen.texts.end(),
                                      [](const auto& text) { return text.text == "12.192 m"; });
    ASSERT_NE(longest, screen.texts.end());
    EXPECT_GT(extent(screen, *longest).second, picture.x + picture.width);
    EXPECT_LE(extent(screen, *longest).second, screen.Width());
}

TEST_F(LabelTest, AFlashedDimensionLineFadesAndHides) {
    auto line = std::make_unique<TDimensionLine>();
    line->path = "line.dim.yml";
    line->label = MakeLabel("42", "\"", "Left");
    const TagHandle handle = TagManager()->RegisterTag(std::move(line));
    CDimensionLineView view;
    view.Init(nullptr, ViewName::kDipTubeLengthDimLine);
    view.Configure(handle, 2.5, 2.25);
    EXPECT_NE(manager.FindView("Dip Tube Length Dim Line Label"), nullptr);
    EXPECT_EQ(view.Alpha(), 255); // visible from the start

    view.Flash();
    view.Update(2.375);
    EXPECT_EQ(view.Alpha(), 127);
    view.Flash(); // restarts at full opacity
    EXPECT_EQ(view.Alpha(), 255);
    view.Update(2.25);
    EXPECT_EQ(view.Alpha(), 255);
    view.Update(0.25); // age 2.5: drawn no more, hidden on the next update
    EXPECT_EQ(view.Alpha(), 0);
    EXPECT_TRUE(view.IsVisible());
    view.Update(0.01);
    EXPECT_FALSE(view.IsVisible());
    EXPECT_FALSE(view.IsFading());

    view.Flash();
    view.Update(2.4);
    view.Show(); // pinned: no fade
    view.Update(10);
    EXPECT_EQ(view.Alpha(), 255);
    CRecordingCanvas canvas;
    view.Draw(canvas);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "42\"");
    EXPECT_EQ(canvas.texts[0].style.fillAlpha, 255);
    view.Hide();
    EXPECT_EQ(view.Alpha(), 0);
}
} // namespace

namespace {
class StackedDialogsTest : public ProgramTest {
protected:
    // Clicks the middle of a button's mouse region, as the mouse would.
    void ClickButton(const std::string& name) {
        const auto* tag = GetTagAs<TButton>(View<CButtonView>(name).GetTagHandle());
        const auto* region = GetTagAs<TMouseRegion>(tag->mouseRegion);
        const int x = region->absX + region->width / 2;
        const int y = region->absY + region->height / 2;
        gWindowManager->OnMouseMove(x, y);
        gWindowManager->OnLeftButtonDown(x, y);
        gWindowManager->OnLeftButtonUp(x, y);
    }
    bool Open(const char* dialog) { return View<CDialogView>(dialog).IsOpen(); }
};

TEST_F(StackedDialogsTest, TheDialogOpenedLastIsDrawnOnTopAndAloneTakesClicks) {
    RaiseEvent(EventName::kOpenHelpDialog);
    gWindowManager->OnCommand(CWindowManager::kCommandContact);
    CRecordingCanvas canvas;
    View<CAppView>(ViewName::kApp).Draw(canvas);
    const auto* app = GetTagAs<TApp>(gWindowManager->RootTag());
    const auto* help = GetTagAs<THelpDialog>(app->helpDialog);
    // The contact dialog's picture and its three buttons come last, after the help dialog.
    ASSERT_GE(canvas.images.size(), 4u);
    EXPECT_NE(
        std::find_if(canvas.images.begin(), canvas.images.end() - 4,
                     [&](const auto& d) { return d.pixels == PixelsOf(help->backgroundImage); }),
        canvas.images.end() - 4);
    EXPECT_FALSE(Active(ViewName::kHelpDialogCloseButton));
    // Both close buttons sit in the same place: the click closes the visible contact dialog.
    ClickButton(ViewName::kContactDialogCloseButton);
    EXPECT_FALSE(Open(ViewName::kContactDialog));
    EXPECT_TRUE(Open(ViewName::kHelpDialog));
    EXPECT_TRUE(Active(ViewName::kHelpDialogCloseButton));
    EXPECT_FALSE(Bar().IsEnabled());
    ClickButton(ViewName::kHelpDialogCloseButton);
    EXPECT_FALSE(Open(ViewName::kHelpDialog));
    EXPECT_TRUE(Bar().IsEnabled());
}

TEST_F(StackedDialogsTest, ReturnAndEscapeAnswerTheDialogOnTop) {
    RaiseEvent(EventName::kOpenSavePresetDialog);
    auto& savePreset = View<CSavePresetView>(ViewName::kSavePresetDialog);
    savePreset.PresetName().SetText("Typed");
    gWindowManager->OnCommand(CWindowManager::kCommandContact);
    EXPECT_FALSE(savePreset.PresetName().IsVisible()); // it would show through the contact dialog
    gWindowManager->OnDialogKey(DialogKey::Accept);    // closes the contact dialog; nothing to save
    EXPECT_FALSE(Open(ViewName::kContactDialog));
    EXPECT_TRUE(savePreset.PresetName().IsVisible());
    EXPECT_EQ(savePreset.PresetName().GetText(), "Typed");
    gWindowManager->OnDialogKey(DialogKey::Cancel);
    EXPECT_FALSE(Open(ViewName::kSavePresetDialog));
    RaiseEvent(EventName::kOpenSavePresetDialog);
    savePreset.PresetName().SetText("By Return");
    gWindowManager->OnDialogKey(DialogKey::Accept);
    EXPECT_FALSE(Open(ViewName::kSavePresetDialog));
    EXPECT_EQ(TheModel().GetPresetName(), "By Return");
    gWindowManager->OnDialogKey(DialogKey::Cancel); // no dialog: nothing happens
    EXPECT_TRUE(Bar().IsEnabled());
}

TEST_F(ProgramTest, ShortcutsClickTheShownButtonOfThePairAndNothingUnderADialog) {
    gWindowManager->OnCommand(CWindowManager::kCommandDimensionsButton);
    EXPECT_TRUE(Active(ViewName::kDimensionButtonHide));
    gWindowManager->OnCommand(CWindowManager::kCommandDimensionsButton);
    EXPECT_TRUE(Active(ViewName::kDimensionButtonShow));
    gWindowManager->OnCommand(CWindowManager::kCommandPumpButton);
    RunPass();
    EXPECT_TRUE(TheModel().GetParameters().GetPumpRunning());
    gWindowManager->OnCommand(CWindowManager::kCommandHelpButton);
    EXPECT_TRUE(View<CDialogView>(ViewName::kHelpDialog).IsOpen());
    gWindowManager->OnCommand(CWindowManager::kCommandPumpButton); // the bar is deaf
    RunPass();
    EXPECT_TRUE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_FALSE(View<CDialogView>(ViewName::kSavePresetDialog).IsOpen());
}

TEST_F(ProgramTest, TooltipsNameTheRangeTheActionAndTheShortcut) {
    EXPECT_EQ(View<CTextEditView>(names::Field(ParameterId::SPM)).Tooltip(),
              "Pump speed in strokes per minute: above 0, at most 30");
    EXPECT_EQ(View<CTextEditView>(names::Field(ParameterId::DipTubeLength)).Tooltip(),
              "Dip tube length in inches: at least 12, at most 480");
    EXPECT_EQ(View<CTextEditView>(names::Field(ParameterId::DipTubeOD)).Tooltip(),
              "Dip tube outside diameter in inches: above 0, below the casing inside diameter, "
              "below the separator inside diameter");
    for (const ButtonShortcut& shortcut : CButtonBarView::Shortcuts()) {
        EXPECT_EQ(View<CButtonView>(shortcut.button).Tooltip(),
                  std::string(shortcut.action) + " (" + shortcut.keys + ")");
    }
    // On the canvas: the button under the pointer, else the label's text.
    const auto* tag = GetTagAs<TButton>(View<CButtonView>(ViewName::kHelpButton).GetTagHandle());
    const auto* region = GetTagAs<TMouseRegion>(tag->mouseRegion);
    EXPECT_EQ(gWindowManager->TooltipAt(region->absX + 5, region->absY + 5), "Show the help (F1)");
    const auto* label =
        GetTagAs<TLabel>(View<CLabelView>(ViewName::kRecommendedDipTubeLength).GetTagHandle());
    EXPECT_NE(gWindowManager->TooltipAt(label->absX + 2, label->absY + 4)
                  .find("Recommended dip tube length in inches"),
              std::string::npos);
    EXPECT_EQ(gWindowManager->TooltipAt(label->absX - 30, label->absY + 4), "");
}

// Every key is given once, by a menu item or by an accelerator: a key given twice is ambiguous
// and does nothing. The bar's Help and guide keys show in the Help menu.
TEST_F(ProgramTest, EveryKeyIsGivenOnceAndTheHelpMenuShowsTheBarsHelpKeys) {
    const WindowDescription description = gWindowManager->DescribeWindow();
    std::map<std::string, int> given;
    std::map<std::string, int> helpMenu;
    for (const Menu& menu : description.menus) {
        for (const MenuItem& item : menu.items) {
            for (const std::string& key : {item.shortcut, item.secondShortcut}) {
                if (!key.empty()) {
                    ++given[key];
                }
            }
            if (menu.title == "&Help" && !item.shortcut.empty()) {
                helpMenu[item.shortcut] = item.command;
            }
        }
    }
    for (const Accelerator& accelerator : description.accelerators) {
        ++given[accelerator.shortcut];
    }
    for (const auto& [key, count] : given) {
        EXPECT_EQ(count, 1) << key;
    }
    for (const ButtonShortcut& shortcut : CButtonBarView::Shortcuts()) {
        EXPECT_EQ(given.count(shortcut.keys), 1u) << shortcut.keys;
    }
    EXPECT_EQ(helpMenu["F1"], CWindowManager::kCommandHelpButton);
    EXPECT_EQ(helpMenu["Ctrl+I"], CWindowManager::kCommandInfoButton);
    // Every button of the bar is a menu item too: only Ctrl+R is reached by key alone.
    ASSERT_EQ(description.accelerators.size(), 1u);
    EXPECT_EQ(description.accelerators[0].shortcut, "Ctrl+R");
}

namespace {
QAction* MenuItemOf(const std::string& text) {
    auto* window = dynamic_cast<CQtMainWindow*>(Platform().mainWindow);
    if (!window || !window->Frame()) {
        return nullptr;
    }
    for (QAction* menu : window->Frame()->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == QString::fromStdString(text)) {
                return item;
            }
        }
    }
    return nullptr;
}
} // namespace

// The pump and the dimension lines are checked items of the View menu that do what their
// buttons do; the check mark follows the button shown, however it was pressed, and an item
// chosen while a dialog holds the bar changes neither.
TEST_F(ProgramTest, TheBarsTogglesAreMenuItemsWhoseCheckFollowsTheBar) {
    QAction* pump = MenuItemOf("Run &Pump");
    QAction* dimensions = MenuItemOf("Show &Dimensions");
    ASSERT_TRUE(pump && dimensions && MenuItemOf("&Save Preset..."));
    RunPass();
    EXPECT_FALSE(pump->isChecked());
    pump->trigger();
    RunPass();
    EXPECT_TRUE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_TRUE(pump->isChecked());
    RaiseEvent(EventName::kPumpStop); // the scene's Stop Pump
    RunPass();
    EXPECT_FALSE(pump->isChecked());

    RaiseEvent(EventName::kOpenHelpDialog);
    RunPass();
    pump->trigger();
    RunPass();
    EXPECT_FALSE(TheModel().GetParameters().GetPumpRunning());
    EXPECT_FALSE(pump->isChecked());
    RaiseEvent(EventName::kCloseHelpDialog);
    RunPass();
    dimensions->trigger();
    RunPass();
    EXPECT_TRUE(dimensions->isChecked());
    EXPECT_TRUE(Active(ViewName::kDimensionButtonHide));
}

TEST_F(ProgramTest, LinksTheDesktopCannotOpenAreGivenToCopy) {
    shell.canOpen = false;
    RaiseEvent(EventName::kLaunchQuillmoreWebsite);
    RaiseEvent(EventName::kLaunchHelpEmail);
    RaiseEvent(EventName::kOpenInfoDocument);
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_NE(shell.messages[0].find("\n\nhttps://www.quillmore.example"), std::string::npos);
    EXPECT_NE(shell.messages[1].find("\n\nsupport@quillmore.example"), std::string::npos);
    EXPECT_NE(shell.messages[2].find("Gas Separator/GasSeparatorSimulatorGuide.docx"),
              std::string::npos);
}

TEST_F(ProgramTest, AboutGivesTheVersionToolkitFontLicenceAndContacts) {
    gWindowManager->OnCommand(CWindowManager::kCommandAbout);
    ASSERT_EQ(shell.messages.size(), 1u);
    const std::string& about = shell.messages[0];
    EXPECT_EQ(about.rfind(std::string(CAppController::kAboutTitle) + " | ", 0), 0u);
    for (const std::string& part :
         {std::string("Gas Separator Simulator ") + ProgramVersion(), std::string("Qt 6."),
          std::string("SIL Open Font License"), std::string(ContactDetails::kSupportEmail),
          std::string(ContactDetails::kWebsite)}) {
        EXPECT_NE(about.find(part), std::string::npos) << part;
    }
    // The licence named is the one shipped beside the fonts.
    const ResourceBytes licence = FindResource("fonts/OFL.txt", ResourceKind::RawData);
    ASSERT_TRUE(licence);
    const std::string text(reinterpret_cast<const char*>(licence.data), licence.size);
    EXPECT_NE(text.find("SIL Open Font License, Version 1.1"), std::string::npos);
    EXPECT_NE(text.find("Copyright 2017 The Exo Project Authors"), std::string::npos);
}
} // namespace
