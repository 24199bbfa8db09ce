// The back buffer's fast drawing (own blend loops, only the changed rectangle drawn again)
// against plain drawing of the same scene (QPainter, and the particles by the plain oracle of
// SpriteOracle.h), and the window that draws nothing while it is minimised.

#include "app/Application.h"
#include "app/controllers/AppController.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtCanvas.h"
#include "app/platform/qt/QtFonts.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/Button.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/LiveParticle.h"
#include "app/window_manager/WindowManager.h"
#include "tests/well/SpriteOracle.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QMainWindow>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>

#include <vector>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <cstring>
#include <map>
#include <random>
#include <unistd.h>
#include <utility>

namespace {
// A picture of one colour with a new identity, as a reloaded image tag has.
PixelBuffer Plain(int width, int height, std::uint32_t colour) {
    PixelBuffer picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height, colour);
    picture.identity = NewImageIdentity();
    return picture;
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           std::memcmp(a.constBits(), b.constBits(), static_cast<size_t>(a.sizeInBytes())) == 0;
}

oracle::Picture PictureOf(const ImageRef& image) {
    oracle::Picture picture{image.width, image.height, {}};
    const int stride = image.stride > 0 ? image.stride / 4 : image.width;
    for (int row = 0; row < image.height; ++row) {
        const std::uint32_t* pixels = image.pixels + static_cast<size_t>(row) * stride;
        picture.pixels.insert(picture.pixels.end(), pixels, pixels + image.width);
    }
    return picture;
}

// The plain way of drawing: every draw through QPainter, every frame whole, and the sprites by
// the oracle, one pixel at a time, into the pixels read back from the canvas.
class PlainCanvas : public ICanvas {
public:
    PlainCanvas(int width, int height) : canvas_(width, height) { canvas_.SetPainterOnly(true); }

    int Width() const override { return canvas_.Width(); }
    int Height() const override { return canvas_.Height(); }
    void CopyImage(const ImageRef& image, int x, int y) override { canvas_.CopyImage(image, x, y); }
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override {
        canvas_.DrawImage(image, x, y, alpha);
    }
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override {
        canvas_.DrawImageScaled(image, x, y, w, h, alpha);
    }
    // Into the pixels of the clip (inside the canvas) read back, with its corner as the origin.
    void DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& area) override {
        const int left = std::max(area.x, 0);
        const int top = std::max(area.y, 0);
        const PixelRect clip{left, top, std::min(area.x + area.width, Width()) - left,
                             std::min(area.y + area.height, Height()) - top};
        if (clip.IsEmpty()) {
            return;
        }
        PixelBuffer read = canvas_.ReadPixels(clip.x, clip.y, clip.width, clip.height);
        oracle::Buffer pixels{read.width, read.height, {read.pixels.begin(), read.pixels.end()}};
        std::map<const std::uint32_t*, oracle::Picture> pictures;
        for (std::size_t i = 0; i < count; ++i) {
            const Sprite& s = sprites[i];
            if (s.image.IsEmpty()) {
                continue;
            }
            auto picture = pictures.find(s.image.pixels);
            if (picture == pictures.end()) {
                picture = pictures.emplace(s.image.pixels, PictureOf(s.image)).first;
            }
            oracle::Draw(pixels, {0, 0, pixels.width, pixels.height}, picture->second, s.x - clip.x,
                         s.y - clip.y, s.w, s.h, s.alpha);
        }
        read = {pixels.width, pixels.height, {pixels.pixels.begin(), pixels.pixels.end()}, 1.0, 0};
        canvas_.CopyImage(RefOf(read), clip.x, clip.y);
    }
    void DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& text) override {
        canvas_.DrawOutlinedText(style, x, y, text);
    }
    int MeasureText(const TextStyle& style, const std::string& text) override {
        return canvas_.MeasureText(style, text);
    }
    PixelBuffer ReadPixels(int x, int y, int w, int h) const override {
        return canvas_.ReadPixels(x, y, w, h);
    }
    const QImage& Image() const { return canvas_.Image(); }

private:
    CQtCanvas canvas_;
};

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeedParticleRandom(1234); // the same particles in every run
        StartProgram(shell);
        window = dynamic_cast<CQtMainWindow*>(Platform().mainWindow);
        ASSERT_NE(window, nullptr);
    }

    const QImage& Shown() const { return window->Canvas()->Image(); }

    // The largest difference of any channel between the back buffer and the same views drawn
    // the plain way into a fresh canvas.
    int DifferenceFromPainter() const {
        PlainCanvas reference(CWindowManager::kClientWidth, CWindowManager::kClientHeight);
        gWindowManager->RootView().Draw(reference);
        int largest = 0;
        for (int y = 0; y < Shown().height(); ++y) {
            const auto* a = Shown().constScanLine(y);
            const auto* b = reference.Image().constScanLine(y);
            for (int i = 0; i < Shown().width() * 4; ++i) {
                largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
            }
        }
        return largest;
    }

    CRecordingShell shell;
    CQtMainWindow* window = nullptr;
};
} // namespace

TEST_F(DrawingTest, EveryFrameMatchesThePainterWithinOneLevel) {
    RaiseEvent(EventName::kPumpStart);
    RaiseEvent(EventName::kShowDimensions);
    for (int pass = 1; pass <= 120; ++pass) {
        RunPass();
        if (pass == 40) { // a hovered button: a change outside the well
            const TButton* button = GetTagAs<TButton>(
                gWindowManager->FindView(ViewName::kDimensionButtonHide)->GetTagHandle());
            const TMouseRegion* region = GetTagAs<TMouseRegion>(button->mouseRegion);
            gWindowManager->OnMouseMove(region->absX + 5, region->absY + 5);
        }
        if (pass == 70) {
            RaiseEvent(EventName::kOpenHelpDialog); // a dialog over the panel's picture
        }
        if (pass % 10 == 0) {
            // The model moved on after the pass's frame: one more frame of the same state.
            gWindowManager->RootView().Render();
            ASSERT_LE(DifferenceFromPainter(), 1) << "pass " << pass;
        }
    }
}

TEST_F(DrawingTest, AMinimisedWindowIsNotDrawnButTheWellMovesOn) {
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    window->Frame()->showMinimized();
    EXPECT_FALSE(window->IsShowing());
    const QImage before = Shown().copy();
    const double position = TheModel().GetState().plungerPosition;
    for (int pass = 0; pass < 30; ++pass) {
        RunPass();
    }
    EXPECT_TRUE(Shown() == before); // not one pixel drawn
    EXPECT_NE(TheModel().GetState().plungerPosition, position);

    window->Frame()->showNormal();
    EXPECT_TRUE(window->IsShowing());
    RunPass();
    EXPECT_FALSE(Shown() == before);
    gWindowManager->RootView().Render();
    EXPECT_LE(DifferenceFromPainter(), 1); // the whole frame came back
}

// Every reload decodes the pictures anew: what the canvas kept about the old ones (visible
// runs, resampled sizes) is let go, so reloads do not pile it up, and the frames after a
// reload are still the painter's.
TEST_F(DrawingTest, ReloadedPicturesReplaceWhatWasKeptOfTheOldOnes) {
    RaiseEvent(EventName::kPumpStart);
    const auto reloadAndAnimate = [] {
        gWindowManager->OnCommand(CWindowManager::kCommandRefreshTags);
        for (int pass = 0; pass < 5; ++pass) {
            RunPass();
        }
    };
    reloadAndAnimate();
    const std::size_t kept = window->Canvas()->KeptPictureCount();
    EXPECT_GT(kept, 0u);
    for (int reload = 0; reload < 6; ++reload) {
        reloadAndAnimate();
    }
    EXPECT_LE(window->Canvas()->KeptPictureCount(), kept + kept / 4); // particles vary a little
    gWindowManager->RootView().Render();
    EXPECT_LE(DifferenceFromPainter(), 1);
}

// The window shows the back buffer's pixels whatever the format of the surface it paints on
// (the offscreen and some X11 surfaces are RGB32, others premultiplied ARGB32).
TEST_F(DrawingTest, TheWindowShowsTheBackBufferOnSurfacesOfEitherFormat) {
    RaiseEvent(EventName::kPumpStart);
    RunPass();
    const QImage expected = Shown().convertToFormat(QImage::Format_RGB32);
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage surface(Shown().size(), format);
        surface.fill(Qt::black);
        window->CanvasWidget()->render(&surface, {}, {}, QWidget::RenderFlags()); // no text boxes
        EXPECT_TRUE(surface.convertToFormat(QImage::Format_RGB32) == expected) << format;
    }
}

namespace {
// A caption's style: the program's font in a light grey, from the left.
TextStyle CaptionStyle(int size) {
    TextStyle style;
    style.fontName = "Exo";
    style.fontSize = size;
    style.fillColor = 0xFFE0E8F0;
    style.align = TextAlign::Left;
    return style;
}
} // namespace

// A widget drawing the same font at a sub-pixel position in between (as a line edit does)
// changes nothing in the canvas's text.
TEST_F(DrawingTest, TextComesOutTheSameWhateverTheWidgetsDrewBefore) {
    const TextStyle style = CaptionStyle(19);
    const std::string text = "Gas reach \u2014 of 42 in";
    const auto drawn = [&] {
        CQtCanvas canvas(200, 30);
        canvas.DrawOutlinedText(style, 4, 20, text);
        return canvas.Image();
    };
    const QImage before = drawn();
    QImage widget(200, 30, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&widget);
    painter.setFont(ResolveFont(style.fontName, style.fontSize));
    painter.drawText(QPointF(10.25, 20), QString::fromStdString(text));
    painter.end();
    EXPECT_TRUE(SamePixels(drawn(), before));
}

// The texts of a frame are looked up by comparing with the frame before: each frame, with its
// texts in another style, order or number than the one before, is what a fresh canvas makes.
TEST_F(DrawingTest, EachFramesTextsAreTheirOwnWhateverTheFrameBeforeAskedFor) {
    const TextStyle plain = CaptionStyle(15);
    TextStyle faint = plain;
    faint.fillAlpha = 90;
    const TextStyle large = CaptionStyle(19);
    using Text = std::pair<const TextStyle*, std::string>;
    const std::vector<std::vector<Text>> frames = {
        {{&plain, "Pump speed"}, {&plain, "8 SPM"}},
        {{&plain, "Pump speed"}, {&plain, "8 SPM"}},
        {{&faint, "Pump speed"}, {&plain, "9 SPM"}},
        {{&plain, "9 SPM"}, {&large, "Pump speed"}},
        {{&plain, "Pump speed"}, {&plain, "8 SPM"}, {&large, "8 SPM"}},
        {{&plain, "Pump speed"}}};
    const auto draw = [](CQtCanvas& canvas, const std::vector<Text>& texts) {
        std::vector<int> widths;
        canvas.BeginFrame();
        int y = 20;
        for (const auto& [style, text] : texts) {
            widths.push_back(canvas.MeasureText(*style, text));
            canvas.DrawOutlinedText(*style, 4, y, text);
            y += 20;
        }
        canvas.EndFrame();
        return widths;
    };
    CQtCanvas canvas(160, 70);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        CQtCanvas fresh(160, 70);
        EXPECT_EQ(draw(canvas, frames[i]), draw(fresh, frames[i])) << "frame " << i;
        EXPECT_TRUE(SamePixels(canvas.Image(), fresh.Image())) << "frame " << i;
    }
}

// Glyph outlines are kept from text to text: each size and face keeps its own, whichever came
// first.
TEST_F(DrawingTest, TextOutlinesAreTheirSizesAndFacesOwnWhicheverCameFirst) {
    const QString text = "Gas reach 42";
    const auto heightOf = [&](const char* face, int size) {
        return TextOutline(ResolveFont(face, size), text, QPointF(0, 40)).boundingRect().height();
    };
    const double large = heightOf("Exo", 30);
    const double small = heightOf("Exo", 12);
    const double middle = heightOf("Exo", 19);
    EXPECT_LT(small, middle);
    EXPECT_LT(middle, large);
    QFont regular = ResolveFont("Exo", 19);
    QFont bold = regular; // the same size in the bold face
    bold.setBold(true);
    EXPECT_NE(TextOutline(regular, "G", QPointF(0, 40)), TextOutline(bold, "G", QPointF(0, 40)));
}

// A font is sized so that its ascent plus descent fill the cell height, as Qt's own metrics of
// the face at that size say, whether they are taken from Qt or from the registered face.
TEST_F(DrawingTest, FontsFillTheirCellHeightsAsQtMeasuresThem) {
    for (const char* face : {"Exo", "Exo Bold", "Exo Italic"}) {
        for (int cell = 1; cell <= 120; ++cell) {
            const QFont font = ResolveFont(face, cell);
            QFont measured = font;
            measured.setPixelSize(cell);
            measured.setHintingPreference(QFont::PreferDefaultHinting);
            const double height =
                QFontMetricsF(measured).ascent() + QFontMetricsF(measured).descent();
            ASSERT_EQ(font.pixelSize(), std::max(1L, std::lround(cell * cell / height)))
                << face << " " << cell;
        }
    }
}

// A new window paints nothing until its first frame; from that frame on, its surface shows it.
TEST_F(DrawingTest, TheWindowPaintsFromItsFirstFrameOn) {
    EXPECT_FALSE(window->Frame()->updatesEnabled());
    RunPass();
    EXPECT_TRUE(window->Frame()->updatesEnabled());
    const QImage* surface = window->Surface();
    ASSERT_NE(surface, nullptr);
    const QPoint origin = window->CanvasWidget()->mapTo(window->Frame(), QPoint(0, 0));
    for (const QPoint& at : {QPoint(5, 5), QPoint(300, 200), QPoint(1100, 600)}) {
        EXPECT_EQ(surface->pixel(origin + at), Shown().pixel(at)) << at.x() << "," << at.y();
    }
}

// A scene scaled to a smaller window reaches the surface whole, frame after frame: every device
// pixel of the well there is the back buffer's (the panels have text boxes over them).
TEST_F(DrawingTest, AScaledSceneReachesTheSurfaceWholeEveryFrame) {
    window->ResizeClient(CWindowManager::kClientWidth * 4 / 5,
                         CWindowManager::kClientHeight * 4 / 5);
    RaiseEvent(EventName::kPumpStart);
    for (int pass = 0; pass < 4; ++pass) {
        RunPass();
        const QImage* surface = window->Surface();
        ASSERT_NE(surface, nullptr);
        const SceneMapping mapping = window->CanvasWidget()->Mapping();
        ASSERT_NE(mapping.deviceScale, mapping.deviceRatio);
        const QRect well(Shown().width() * 3 / 4, 0, Shown().width() / 4, Shown().height());
        const QPoint corner = window->CanvasWidget()->mapTo(window->Frame(), QPoint(0, 0)) +
                              QPoint(mapping.offsetX, mapping.offsetY);
        const QImage shown = surface->copy(well.translated(corner));
        EXPECT_TRUE(SamePixels(shown.convertToFormat(Shown().format()), Shown().copy(well)))
            << "pass " << pass;
    }
}

// The window draws a frame straight into its surface where the painter would have put it: a
// widget half a device pixel down (under a menu bar of odd height at 150 %) shows the picture
// whole device pixels down, as the painter's image drawing does.
TEST(PainterImageOffsetTest, WholeDevicePixelsWhereThePainterPutsAnImage) {
    std::mt19937 random(5);
    QImage picture(260, 160, QImage::Format_ARGB32_Premultiplied);
    auto* pixels = reinterpret_cast<std::uint32_t*>(picture.bits());
    std::generate_n(pixels, 260 * 160, [&] { return 0xFF000000u | (random() & 0xFFFFFFu); });
    const QRect area(8, 5, 101, 63); // logical, in the widget
    for (double ratio : {1.25, 1.5, 1.75, 2.0}) {
        for (const QPoint& widget : {QPoint(0, 19), QPoint(3, 21)}) {
            const QRectF device(area.x() * ratio, area.y() * ratio, area.width() * ratio,
                                area.height() * ratio);
            QImage surface(400, 300, QImage::Format_ARGB32_Premultiplied);
            surface.setDevicePixelRatio(ratio);
            surface.fill(Qt::black);
            QPainter painter(&surface);
            painter.translate(widget);
            const QPoint offset = PainterImageOffset(painter.deviceTransform());
            painter.drawImage(QRectF(area), picture, device);
            painter.end();
            const QRect inside = device.toAlignedRect().adjusted(1, 1, -1, -1);
            EXPECT_TRUE(SamePixels(surface.copy(inside.translated(offset)), picture.copy(inside)))
                << ratio << " at " << widget.x() << "," << widget.y();
        }
    }
}

// Frames of a few draws, each checked against the painter: a changed background under an
// unchanged sprite, a sprite that moves (without identity), a draw that goes away.
TEST(CanvasFramesTest, WhatChangedIsDrawnAgainAndNothingElse) {
    const PixelBuffer blue = Plain(40, 20, 0xFF2040A0);
    const PixelBuffer red = Plain(40, 20, 0xFFA02020);
    const PixelBuffer spot = Plain(6, 6, 0x80404040); // half transparent grey
    const PixelBuffer badge = Plain(5, 5, 0xFF10C010);
    struct Frame {
        const PixelBuffer* background;
        int spotX;
        bool badge;
    };
    const std::vector<Frame> frames = {
        {&blue, 2, true}, {&blue, 2, true}, {&red, 2, true}, {&red, 20, true}, {&red, 20, false}};
    CQtCanvas canvas(40, 20);
    for (const Frame& frame : frames) {
        CQtCanvas reference(40, 20);
        reference.SetPainterOnly(true);
        ImageRef moving = RefOf(spot);
        moving.identity = 0; // pixels that may change at every draw
        for (ICanvas* target :
             {static_cast<ICanvas*>(&canvas), static_cast<ICanvas*>(&reference)}) {
            target->BeginFrame();
            target->CopyImage(RefOf(*frame.background), 0, 0);
            if (frame.badge) {
                target->DrawImage(RefOf(badge), 30, 10, 255);
            }
            target->DrawImage(moving, frame.spotX, 5, 200);
            target->EndFrame();
        }
        EXPECT_TRUE(SamePixels(canvas.Image(), reference.Image()));
    }
    canvas.BeginFrame(); // a frame the same as the one before changes nothing
    canvas.CopyImage(RefOf(red), 0, 0);
    const PixelRect unchanged = canvas.EndFrame();
    EXPECT_EQ(unchanged, (PixelRect{20, 5, 6, 6})); // only where the spot was
}

namespace {
// A 14 x 10 picture of random premultiplied pixels, some transparent.
PixelBuffer RandomBubble() {
    std::mt19937 random(41);
    PixelBuffer bubble = Plain(14, 10, 0x80402010);
    for (std::uint32_t& pixel : bubble.pixels) {
        const std::uint32_t a = random() % 256;
        pixel = a == 0 ? 0 : a << 24 | (random() % (a + 1)) << 16 | (random() % (a + 1)) << 8 | a;
    }
    return bubble;
}

// Sprites of `bubble` across a 60 x 30 canvas and over every edge of the clip (10, 5, 50, 25),
// at the picture's size, smaller and larger, at odd widths and alpha 0, 255 and others.
std::vector<Sprite> SpritesOverTheClipEdges(const PixelBuffer& bubble) {
    std::vector<Sprite> sprites;
    int alpha = 0;
    for (int x : {2, 8, 9, 21, 39, 45, 47, 55}) {
        for (const auto& [w, h] : {std::pair(14, 10), std::pair(9, 7), std::pair(1, 3),
                                   std::pair(5, 5), std::pair(17, 12), std::pair(13, 9)}) {
            const int alphas[] = {0, 255, 200, 1, 128};
            sprites.push_back({RefOf(bubble), x, (x + w) % 27 - 3, w, h, alphas[alpha++ % 5]});
        }
    }
    return sprites;
}
} // namespace

// Sprites at every edge of their clip, the clip reaching the canvas's right and bottom edges,
// drawn at their own size, smaller (from the resampled pictures) and larger, at odd widths and
// alpha 0, 255 and others, by every row loop: the oracle's words inside the clip, not one pixel
// changed outside it; and a sprite's row padding never reaches past the last pixel (the
// sanitizer build checks that).
TEST(CanvasFramesTest, SpritesAtTheClipEdgesAreTheOraclesAndTouchNothingOutside) {
    const PixelBuffer bubble = RandomBubble();
    const PixelBuffer background = Plain(60, 30, 0xFFFFFFFF);
    const PixelRect clip{10, 5, 50, 25};
    const std::vector<Sprite> sprites = SpritesOverTheClipEdges(bubble);
    oracle::Buffer expected{60, 30, {background.pixels.begin(), background.pixels.end()}};
    for (const Sprite& s : sprites) {
        oracle::Draw(expected, {clip.x, clip.y, clip.x + clip.width, clip.y + clip.height},
                     PictureOf(s.image), s.x, s.y, s.w, s.h, s.alpha);
    }
    const std::string chosen = BlendRowKind();
    for (const char* loop : {"avx2", "sse2", "scalar"}) {
        if (!UseBlendLoop(loop)) {
            continue;
        }
        CQtCanvas canvas(60, 30);
        canvas.BeginFrame();
        canvas.CopyImage(RefOf(background), 0, 0);
        canvas.DrawSprites(sprites.data(), sprites.size(), clip);
        canvas.EndFrame();
        for (int y = 0; y < 30; ++y) {
            ASSERT_EQ(std::memcmp(canvas.Image().constScanLine(y),
                                  expected.pixels.data() + static_cast<size_t>(y) * 60, 60 * 4),
                      0)
                << loop << ": row " << y;
        }
    }
    UseBlendLoop(chosen);
}

// On a scaled screen a sprite covers the device pixels its rectangle touches (floored and
// ceiled), its picture sampled to that size, and the clip likewise: the oracle's words at
// the rectangle rounded so, shrunk slightly (a laptop's window fitted to its screen) and grown.
TEST(CanvasFramesTest, ScaledSpritesCoverTheDevicePixelsTheirRectanglesTouch) {
    const PixelBuffer bubble = RandomBubble();
    const PixelBuffer background = Plain(60, 30, 0xFFFFFFFF);
    const PixelRect clip{10, 5, 50, 25};
    const std::vector<Sprite> sprites = SpritesOverTheClipEdges(bubble);
    for (const double scale : {0.8, 0.985, 1.25, 1.5}) {
        const auto down = [scale](int at) { return static_cast<int>(std::floor(at * scale)); };
        const auto up = [scale](int at) { return static_cast<int>(std::ceil(at * scale)); };
        CQtCanvas canvas(60, 30, scale);
        canvas.BeginFrame();
        canvas.CopyImage(RefOf(background), 0, 0);
        canvas.DrawSprites(sprites.data(), sprites.size(), clip);
        canvas.EndFrame();
        const QImage& drawn = canvas.Image();
        oracle::Buffer expected{drawn.width(), drawn.height(), {}};
        expected.pixels.assign(static_cast<size_t>(drawn.width()) * drawn.height(), 0xFFFFFFFF);
        const oracle::Bounds deviceClip{down(clip.x), down(clip.y), up(clip.x + clip.width),
                                        up(clip.y + clip.height)};
        for (const Sprite& s : sprites) {
            oracle::Draw(expected, deviceClip, PictureOf(s.image), down(s.x), down(s.y),
                         up(s.x + s.w) - down(s.x), up(s.y + s.h) - down(s.y), s.alpha);
        }
        for (int y = 0; y < drawn.height(); ++y) {
            ASSERT_EQ(std::memcmp(drawn.constScanLine(y),
                                  expected.pixels.data() + static_cast<size_t>(y) * drawn.width(),
                                  static_cast<size_t>(drawn.width()) * 4),
                      0)
                << "scale " << scale << ": row " << y;
        }
    }
}

// The report draws every dimension line at full strength into the back buffer to picture the
// well; none of it may stay on the screen afterwards.
TEST_F(DrawingTest, NothingTheReportDrawsStaysOnTheScreen) {
    for (int i = 0; i < 6 * 60; ++i) { // the lines that flash at the start fade out
        RunPass();
    }
    const std::filesystem::path report = std::filesystem::temp_directory_path() /
                                         ("gs-drawing-report-" + std::to_string(::getpid()));
    std::string failure;
    ASSERT_TRUE(TheApplication().AppController()->DesignExport().WriteReport(report, failure))
        << failure;
    std::filesystem::remove(report);
    RunPass();
    EXPECT_LE(DifferenceFromPainter(), 1);
}

// The application's style defers the menu bar's overflow arrow; drawn, it is the arrow of the
// style Qt chose, and every other standard icon is that style's at once.
TEST(AppStyleTest, TheOverflowArrowIsTheChosenStylesOnceDrawn) {
    StartEventsAndTags();
    const auto* style = dynamic_cast<const QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    QStyle* chosen = QStyleFactory::create(style->baseStyle()->name());
    ASSERT_NE(chosen, nullptr);
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning}) {
        const QImage expected = chosen->standardIcon(which).pixmap(QSize(16, 16)).toImage();
        const QImage drawn =
            QApplication::style()->standardIcon(which).pixmap(QSize(16, 16)).toImage();
        EXPECT_FALSE(drawn.isNull()) << which;
        EXPECT_EQ(drawn, expected) << which;
    }
    delete chosen;
}
