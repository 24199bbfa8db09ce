// The gas reach read-out and the above-capacity notice as the shipped tags lay them out, drawn
// into a recording canvas (8 px per character), and their state across a tag refresh.

#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/GasReach.h"
#include "app/tags/Label.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/NoticeView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {
class ReadoutViewsTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }

    template <class T> T& View(const char* name) {
        T* view = gWindowManager->FindViewAs<T>(name);
        EXPECT_NE(view, nullptr) << name;
        return *view;
    }

    CRecordingShell shell;
};
} // namespace

// The track's frame and inside, then the fill: its width the share of the inside, green below
// the inlet and red at it; nothing filled at 0.
TEST_F(ReadoutViewsTest, TheBarFillsWithTheShareAndTurnsRedAtTheInlet) {
    auto& reach = View<CGasReachView>(ViewName::kGasReach);
    const TGasReach& tag = *GetTagAs<TGasReach>(reach.GetTagHandle());
    for (const auto& [fraction, width, color] :
         {std::tuple{0.5, 52, tag.fillColor}, std::tuple{1.0, 103, tag.inletColor},
          std::tuple{0.0, 0, 0u}}) {
        reach.SetReach("Gas reach", fraction);
        CRecordingCanvas canvas;
        reach.Draw(canvas);
        ASSERT_EQ(canvas.texts.size(), 1u);
        ASSERT_EQ(canvas.images.size(), width ? 3u : 2u) << fraction;
        EXPECT_EQ(canvas.images[0].w, tag.barWidth);
        EXPECT_EQ(canvas.images[0].firstPixel, tag.borderColor);
        EXPECT_EQ(canvas.images[1].firstPixel, tag.barColor);
        if (width) {
            EXPECT_EQ(canvas.images[2].w, width) << fraction;
            EXPECT_EQ(canvas.images[2].x, tag.absX + tag.barX + 1);
            EXPECT_EQ(canvas.images[2].firstPixel, color) << fraction;
        }
    }
    reach.SetReach("Gas reach", 7); // out of range: clamped
    EXPECT_EQ(reach.Fraction(), 1);
    // Its tooltip over the text and over the bar, not beside them.
    const int barMiddle = tag.absY + tag.barY + tag.barHeight / 2;
    EXPECT_EQ(gWindowManager->TooltipAt(tag.absX + 4, barMiddle).rfind("Gas reach: the deepest", 0),
              0u);
    EXPECT_EQ(gWindowManager->TooltipAt(tag.absX + tag.barX + 4, barMiddle), reach.Tooltip());
    EXPECT_EQ(gWindowManager->TooltipAt(tag.absX + tag.barX + tag.barWidth + 2, barMiddle), "");
}

TEST_F(ReadoutViewsTest, TheNoticeWrapsWithinItsWidthAndIsDrawnOnlyWhenShown) {
    auto& notice = View<CNoticeView>(ViewName::kAboveCapacityNotice);
    const TNotice& tag = *GetTagAs<TNotice>(notice.GetTagHandle());
    CRecordingCanvas canvas;
    notice.Hide();
    notice.Draw(canvas);
    EXPECT_TRUE(canvas.texts.empty());
    notice.Show("Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    notice.Draw(canvas);
    ASSERT_GE(canvas.texts.size(), 2u);
    std::string joined;
    for (size_t i = 0; i < canvas.texts.size(); ++i) {
        EXPECT_LE(canvas.MeasureText({}, canvas.texts[i].text), tag.wrapWidth) << i;
        EXPECT_EQ(canvas.texts[i].y, tag.absY + static_cast<int>(i) * tag.lineHeight);
        joined += (i ? " " : "") + canvas.texts[i].text;
    }
    EXPECT_EQ(joined, "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    // A word wider than the width stays whole; no width, one line.
    EXPECT_EQ(WrapText(canvas, {}, "a verylongword b", 40),
              (std::vector<std::string>{"a", "verylongword", "b"}));
    EXPECT_EQ(WrapText(canvas, {}, "one two", 0), (std::vector<std::string>{"one two"}));
}

// Wrapping is the greedy word-by-word rule at any width and with any blanks between the words
// (tabs, runs of spaces, line ends): each line is the words that fit joined by one space.
TEST(WrapTextTest, EveryWidthWrapsAsTheGreedyRuleWhateverTheBlanks) {
    CRecordingCanvas canvas;
    const auto greedy = [&canvas](const std::vector<std::string>& words, int width) {
        std::vector<std::string> lines;
        for (const std::string& word : words) {
            if (!lines.empty() && canvas.MeasureText({}, lines.back() + " " + word) <= width) {
                lines.back() += " " + word;
            } else {
                lines.push_back(word);
            }
        }
        return lines;
    };
    const std::vector<std::string> words = {"Gas",   "at", "the", "dip", "tube", "inlet",
                                            "after", "1",  "min", "10",  "s"};
    const std::string text = "  Gas at\tthe  dip\ntube inlet   after 1 min\t10 s ";
    for (int width = 1; width <= canvas.MeasureText({}, text) + 10; ++width) {
        ASSERT_EQ(WrapText(canvas, {}, text, width), greedy(words, width)) << "width " << width;
    }
    EXPECT_TRUE(WrapText(canvas, {}, " \t ", 30).empty());
}

// The views keep what the controller told them across Ctrl+R; the panel reads the model.
TEST_F(ReadoutViewsTest, ARateAboveTheCapacityShowsTheNoticeAtOnceAndARefreshKeepsIt) {
    WellParameters p = TheModel().GetParameters();
    p.SetProductionRate(250);
    TheModel().SetParameters(p);
    auto& notice = View<CNoticeView>(ViewName::kAboveCapacityNotice);
    EXPECT_TRUE(notice.IsVisible()); // before any simulation step
    EXPECT_EQ(notice.Text(), "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    RunPass();
    EXPECT_EQ(View<CGasReachView>(ViewName::kGasReach).Text(), "Gas reach \u2014 of 42 in");
    gWindowManager->RefreshTags();
    EXPECT_TRUE(notice.IsVisible());
    EXPECT_EQ(notice.Text(), "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    p.SetProductionRate(242);
    TheModel().SetParameters(p);
    EXPECT_FALSE(notice.IsVisible());
}
