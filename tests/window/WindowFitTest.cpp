// The window's size on a screen, where the scene lies in it, how points map, and the
// remembered place and size.

#include "app/platform/WindowFit.h"

#include <gtest/gtest.h>

namespace {
constexpr WindowSize kDesign{1300, 720};
// A title bar and borders, and a menu bar, as a desktop puts them around the scene.
constexpr WindowSize kChrome{8, 40 + 22};

double Aspect(WindowSize size) {
    return static_cast<double>(size.width) / size.height;
}

TEST(WindowFitTest, OpensAsLargeAsTheScreenAllowsUpToTheDesignSize) {
    // 1366 x 768 at 100 %: the design size and its frame do not fit; the scene shrinks.
    const WindowSize small = FitClientSize(kDesign, {1366, 768}, 1.0, kChrome);
    EXPECT_LE(small.width + kChrome.width, 1366);
    EXPECT_LE(small.height + kChrome.height, 768);
    EXPECT_EQ(small.height, 768 - kChrome.height);
    EXPECT_NEAR(Aspect(small), Aspect(kDesign), 0.005);
    // 1920 x 1080 at 150 %: 1280 x 720 logical pixels free.
    const WindowSize laptop = FitClientSize(kDesign, {1920, 1080}, 1.5, kChrome);
    EXPECT_LE((laptop.width + kChrome.width) * 1.5, 1920);
    EXPECT_LE((laptop.height + kChrome.height) * 1.5, 1080);
    EXPECT_NEAR(Aspect(laptop), Aspect(kDesign), 0.005);
    // A large screen gets the design size (times its scale in device pixels), no more.
    EXPECT_EQ(FitClientSize(kDesign, {3840, 2160}, 1.0, kChrome), kDesign);
    EXPECT_EQ(FitClientSize(kDesign, {3840, 2160}, 2.0, kChrome), kDesign);
    // A tiny screen still gets a window of a quarter of the design size.
    EXPECT_EQ(FitClientSize(kDesign, {100, 100}, 1.0, kChrome), (WindowSize{325, 180}));
}

TEST(WindowFitTest, TheSceneKeepsItsAspectCentredInAnyClient) {
    const SceneMapping same = MapScene(kDesign, kDesign, 1.0);
    EXPECT_EQ(same.deviceScale, 1.0);
    EXPECT_EQ(same.offsetX, 0);
    EXPECT_EQ(same.SceneInClient(), (WindowRect{0, 0, 1300, 720}));
    // Wider than the design: bars left and right, the height filled.
    const SceneMapping wide = MapScene(kDesign, {2000, 720}, 1.0);
    EXPECT_EQ(wide.deviceScale, 1.0);
    EXPECT_EQ(wide.offsetX, 350);
    EXPECT_EQ(wide.offsetY, 0);
    // Taller: bars above and below, the width filled.
    const SceneMapping tall = MapScene(kDesign, {650, 1000}, 1.0);
    EXPECT_EQ(tall.deviceScale, 0.5);
    EXPECT_EQ(tall.SceneInClient(), (WindowRect{0, 320, 650, 360}));
    // At 150 % the back buffer holds the window's device pixels.
    const SceneMapping scaled = MapScene(kDesign, {650, 360}, 1.5);
    EXPECT_EQ(scaled.deviceScale, 0.75);
    EXPECT_EQ(scaled.sceneDevice, (WindowSize{975, 540}));
}

TEST(WindowFitTest, EveryDesignPixelRoundTripsThroughTheClient) {
    for (const auto& [client, ratio] :
         {std::pair{WindowSize{1300, 720}, 1.0}, std::pair{WindowSize{997, 640}, 1.0},
          std::pair{WindowSize{1300, 720}, 1.5}, std::pair{WindowSize{2603, 1441}, 1.25}}) {
        const SceneMapping mapping = MapScene(kDesign, client, ratio);
        for (int y = 0; y < kDesign.height; y += 7) {
            for (int x = 0; x < kDesign.width; x += 13) {
                double cx = 0;
                double cy = 0;
                mapping.ToClient(x, y, cx, cy);
                int dx = -1;
                int dy = -1;
                mapping.ToDesignPixel(cx, cy, dx, dy);
                ASSERT_EQ(dx, x) << client.width << "x" << client.height << " at " << ratio;
                ASSERT_EQ(dy, y);
            }
        }
    }
}

TEST(WindowFitTest, RectanglesThatTouchInTheDesignTouchInTheClient) {
    const SceneMapping mapping = MapScene(kDesign, {997, 640}, 1.0);
    const WindowRect left = mapping.ToClientRect({10, 20, 33, 17});
    const WindowRect right = mapping.ToClientRect({43, 20, 50, 17});
    EXPECT_EQ(left.x + left.width, right.x);
    EXPECT_EQ(left.height, right.height);
}

TEST(WindowFitTest, TheRememberedGeometryReadsBackAndNonsenseIsRefused) {
    const WindowRect geometry{-40, 25, 1100, 640};
    EXPECT_EQ(ParseWindowGeometry(FormatWindowGeometry(geometry)), geometry);
    EXPECT_FALSE(ParseWindowMaximized(FormatWindowGeometry(geometry)));
    // Left maximised: its normal place and size as before, and the state beside them.
    EXPECT_EQ(ParseWindowGeometry(FormatWindowGeometry(geometry, true)), geometry);
    EXPECT_TRUE(ParseWindowMaximized(FormatWindowGeometry(geometry, true)));
    EXPECT_FALSE(ParseWindowMaximized("maximized: 1\n"));
    EXPECT_FALSE(ParseWindowGeometry(""));
    EXPECT_FALSE(ParseWindowGeometry("x: 1\ny: 2\nwidth: 300\n"));
    EXPECT_FALSE(ParseWindowGeometry("x: 1\ny: 2\nwidth: 0\nheight: 200\n"));
    EXPECT_FALSE(ParseWindowGeometry("x: 1,5\ny: 2\nwidth: 300\nheight: 200\n"));
    EXPECT_FALSE(ParseWindowGeometry("x: 1\ny: 2\nwidth: 99999999999\nheight: 200\n"));
}

TEST(WindowFitTest, TheRememberedPlaceIsUsedOnlyOnAScreen) {
    const WindowRect available{0, 0, 1366, 740};
    const std::vector<WindowRect> screens{available, {1366, 0, 1920, 1080}};
    const WindowSize fitted{1200, 690};
    const WindowSize frame{8, 40};
    // On the second screen: kept as it was.
    const WindowRect there{1500, 100, 1300, 742};
    EXPECT_EQ(PlaceWindow(there, fitted, available, frame, screens), there);
    // Remembered larger than its screen is now: shrunk to fit it, in place.
    EXPECT_EQ(PlaceWindow(WindowRect{10, 10, 1800, 900}, fitted, available, frame, screens),
              (WindowRect{10, 10, 1358, 700}));
    // The second screen is gone: centred on this one, shrunk to fit it.
    const WindowRect placed = PlaceWindow(there, fitted, available, frame, {available});
    EXPECT_EQ(placed.width, 1300);
    EXPECT_EQ(placed.height, 740 - 40);
    EXPECT_GE(placed.x, 0);
    EXPECT_GE(placed.y, 0);
    EXPECT_LE(placed.y + placed.height, 740);
    // Only a sliver of the top left on a screen is not enough to grab it.
    EXPECT_FALSE(IsReachable({1340, 100, 800, 600}, {available}));
    EXPECT_FALSE(IsReachable({100, 730, 800, 600}, {available}));
    EXPECT_TRUE(IsReachable({-700, 100, 800, 600}, {available}));
    // Nothing remembered: the fitted size, centred.
    EXPECT_EQ(PlaceWindow(std::nullopt, fitted, available, frame, screens),
              (WindowRect{83, 41, 1200, 690}));
}
} // namespace
