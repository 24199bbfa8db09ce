#pragma once
// The back buffer: one premultiplied ARGB32 image of device pixels. A frame's draws are
// collected and, at its end, only the rectangle where they differ from the previous frame's
// is drawn again: by the vectorised row loops where an image lands on whole device pixels at
// its own scale, by QPainter otherwise (scaled draws, fractional scales).

#include "app/platform/Canvas.h"
#include "app/platform/HelperQueue.h"
#include "app/platform/PixelBlend.h"

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>

#include <functional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class QPainter;

class CQtCanvas : public ICanvas {
public:
    // A canvas of width x height logical pixels with `scale` device pixels per logical pixel.
    CQtCanvas(int width, int height, double scale = 1.0);
    ~CQtCanvas() override;
    CQtCanvas(const CQtCanvas&) = delete;
    CQtCanvas& operator=(const CQtCanvas&) = delete;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    double Scale() const override { return scale_; }
    void CopyImage(const ImageRef& image, int x, int y) override;
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override;
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override;
    // By the own sampling loop at the device pixel ratio, with the painter too.
    void DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& clip) override;
    void DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& utf8) override;
    int MeasureText(const TextStyle& style, const std::string& utf8) override;
    // The rectangle in device pixels.
    PixelBuffer ReadPixels(int x, int y, int w, int h) const override;
    void BeginFrame() override;
    PixelRect EndFrame() override;
    void InvalidateAll() override { wholeFrame_ = true; }

    // Every draw through QPainter and every frame drawn whole: the plain way of drawing the
    // fast path is measured and compared against.
    void SetPainterOnly(bool painterOnly);
    // The device pixels, up to date.
    const QImage& Image() const;
    // Whether there was memory for the device pixels.
    bool HasPixels() const { return !image_.isNull(); }
    // As Image, current at least inside `area` (device pixels): the edges of a frame painted
    // straight into the window need no copy back of what the window got ahead.
    const QImage& ImageFor(const QRect& area) const;

    // Drawing straight into the surface of the window that shows the canvas, one copy of the
    // changed area less per frame. Once a window gives its surface here, EndFrame leaves the
    // frame's drawing pending, the window's paint draws it into its surface (DrawPendingInto)
    // and the back buffer is brought up to date from the surface only when it is read.
    // `surface` returns the window's surface as it is now, or null.
    void AttachSurface(std::function<const QImage*()> surface);
    bool HasPending() const { return pending_; }
    // The pending frame's rectangle of device pixels.
    const QRect& PendingArea() const { return pendingArea_; }
    // Draws the pending frame into `surface`, where the canvas's pixel (0, 0) is at `offset`;
    // the surface must show the frame before it. False, drawing nothing, when the surface
    // cannot take it (its format, its size, or an earlier frame it did not get).
    bool DrawPendingInto(QImage& surface, const QPoint& offset);
    // Draws a pending frame into the back buffer (the window did not paint it).
    void FinishPending();
    // The window showed the back buffer in `area` (device pixels).
    void SurfaceShows(const QRect& area);
    void ForgetPictures() override;
    // The pictures (and sizes of them) something is kept about: visible runs and resamples.
    std::size_t KeptPictureCount() const;

private:
    // Outlined text rendered once and blended from then on: stroking and filling a large
    // outline costs far more than a frame's budget when done for every frame.
    struct RenderedText {
        QImage image;    // at the canvas's scale
        QPoint offset;   // of the image's top-left corner from the text's anchor, logical
        int advance = 0; // the width the text is laid out in
        // The image's pixels as drawn, with the text's identity: kept here, so that drawing a
        // known text reads this record only, not also the image's own data.
        ImageRef picture;
    };
    // A text laid out and waiting for its outline to be filled into its picture.
    struct TextFill {
        QPainterPath path;
        QPoint origin; // the picture's top-left corner, logical
        uchar* pixels;
        QSize size;
        qsizetype bytesPerLine;
        TextStyle style;
    };
    enum class OpKind { Copy, Blend, Scaled, Sprites };
    struct DrawOp {
        OpKind kind;
        ImageRef image;
        QRect target; // logical; the clip of sprites
        int alpha;
        const Sprite* sprites = nullptr;
        std::size_t spriteCount = 0;

        bool SameAs(const DrawOp& other) const;
    };
    static constexpr size_t kMaxCachedTexts = 256;
    static constexpr size_t kMaxCachedRuns = 1024;
    const RenderedText& RenderText(const TextStyle& style, const std::string& utf8);
    // Fills the texts laid out and not yet filled: a frame's new texts are filled before
    // anything reads their pixels.
    void FillTexts();
    void FillText(const TextFill& text) const;
    // Drops the rendered texts, and what refers to them.
    void ForgetTexts();
    void Add(OpKind kind, const ImageRef& image, const QRect& target, int alpha);
    QRect ChangedArea() const;
    size_t UpdateBase();
    void DrawFrame(QImage& into, size_t first, const QRect& clip);
    static void CopyArea(QImage& into, const QImage& from, const QRect& area);
    // Copies what the surface got and the back buffer did not into the back buffer.
    void CatchUpWithSurface() const;
    // Draws outside a frame go straight into the back buffer.
    void DrawNow(const DrawOp& op);
    // One draw into `into`, clipped to a rectangle of device pixels.
    void Draw(QImage& into, const DrawOp& op, const QRect& clip);
    bool DrawFast(QImage& into, const DrawOp& op, const QRect& clip);
    const VisibleRuns& RunsOf(const ImageRef& image);
    QRect PlacedRect(const QRect& logical) const;
    // The picture resampled to `size` device pixels, kept while it is drawn.
    ImageRef Resampled(const ImageRef& image, const QSize& size);
    void DrawWithPainter(QImage& into, const DrawOp& op, const QRect& clip);
    void DrawSpritesInto(QImage& into, const DrawOp& op, const QRect& clip);
    PixelArea SpriteArea(const Sprite& sprite) const;
    QRect DeviceRect(const QRect& logical) const;
    // Waits for the frame buffers to be faulted in.
    void Warmed() const;

    int width_;
    int height_;
    double scale_;
    mutable QImage image_; // brought up to date from the surface when read
    QImage base_;          // the leading draws that rarely change, drawn whole
    size_t baseOps_ = 0;   // how many draws base_ holds; 0: none
    std::unordered_map<std::string, RenderedText> textCache_;
    // Texts laid out, filled on a second core while the frame goes on (the path is let go
    // once filled, so that the next texts' outlines reuse its memory).
    CHelperQueue<TextFill> textFills_{[this](TextFill& text) {
        FillText(text);
        text.path = QPainterPath();
    }};
    static constexpr size_t kMaxCachedAdvances = 4096;
    std::unordered_map<std::string, int> advances_; // text widths by font, size and text
    // The texts looked up in the previous frame, in order: a frame mostly asks for the same
    // texts in the same order, which are then found by comparing with the one at the same
    // place, without building and hashing a key.
    template <class Result> struct RecentTexts {
        struct Call {
            TextStyle style;
            std::string utf8;
            Result result;
        };
        std::vector<Call> calls;
        std::size_t next = 0;

        const Result* Find(const TextStyle& style, const std::string& utf8);
        void Remember(const TextStyle& style, const std::string& utf8, Result result);
    };
    RecentTexts<const RenderedText*> recentRenders_;
    RecentTexts<int> recentMeasures_;
    std::vector<DrawOp> ops_;      // this frame's, in order
    std::vector<DrawOp> previous_; // the previous frame's
    bool inFrame_ = false;
    mutable bool wholeFrame_ = true;
    bool painterOnly_ = false;
    // The frame ended and not yet drawn: the draws from pendingFirst_ on of previous_.
    bool pending_ = false;
    size_t pendingFirst_ = 0;
    QRect pendingArea_;
    std::function<const QImage*()> surface_;
    // Where the surface is ahead of the back buffer, and which surface that was.
    mutable QRect surfaceAhead_;
    struct SurfaceId {
        const uchar* bits = nullptr;
        QSize size;
        qsizetype bytesPerLine = 0;
        QImage::Format format = QImage::Format_Invalid;
        QPoint offset;
    } drawnSurface_;
    // Where the back buffer is ahead of the surface (a frame the window did not paint).
    QRect surfaceBehind_;
    // The visible runs of the pictures blended, by identity: their transparent parts are
    // skipped without being read.
    struct PictureRuns {
        const std::uint32_t* pixels;
        VisibleRuns runs;
    };
    std::unordered_map<std::uint64_t, PictureRuns> runs_;
    ScaledPictures scaledPictures_;
    struct ResampledKey {
        std::uint64_t identity;
        const std::uint32_t* pixels;
        int width;
        int height;
        bool operator==(const ResampledKey&) const = default;
    };
    struct ResampledKeyHash {
        std::size_t operator()(const ResampledKey& key) const;
    };
    struct ResampledPicture {
        QImage image;
        std::uint64_t identity; // its own, for its visible runs
    };
    static constexpr qsizetype kMaxResampledPixels = 24 << 20;
    std::unordered_map<ResampledKey, ResampledPicture, ResampledKeyHash> resampled_;
    qsizetype resampledPixels_ = 0;
    mutable std::thread warmer_; // faulting in the frame buffers, until the first use
    std::vector<int> columns_;   // working space of the sprite loop
    std::vector<int> rows_;
};

// Wraps the pixels without copying; the result is valid while the pixels are.
QImage WrapImage(const ImageRef& image);
// A deep copy of `image` as a pixel buffer of `scale` pixels per logical pixel.
PixelBuffer ToPixelBuffer(const QImage& image, double scale = 1.0);
