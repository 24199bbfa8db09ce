#pragma once
// The back buffer: one premultiplied ARGB32 image drawn with QPainter.

#include "app/platform/Canvas.h"

#include <QImage>
#include <QPoint>

#include <string>
#include <unordered_map>

class CQtCanvas : public ICanvas {
public:
    CQtCanvas(int width, int height);

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void CopyImage(const ImageRef& image, int x, int y) override;
    void DrawImage(const ImageRef& image, int x, int y, int alpha) override;
    void DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) override;
    void DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& utf8) override;
    int MeasureText(const TextStyle& style, const std::string& utf8) override;
    PixelBuffer ReadPixels(int x, int y, int w, int h) const override;

    const QImage& Image() const { return image_; }

private:
    // Outlined text rendered once and blended from then on: stroking and filling a large
    // outline costs far more than a frame's budget when done for every frame.
    struct RenderedText {
        QImage image;
        QPoint offset; // of the image's top-left corner from the text's anchor
    };
    static constexpr size_t kMaxCachedTexts = 256;
    const RenderedText& RenderText(const TextStyle& style, const std::string& utf8);

    QImage image_;
    std::unordered_map<std::string, RenderedText> textCache_;
};

// Wraps the pixels without copying; the result is valid while the pixels are.
QImage WrapImage(const ImageRef& image);
// A deep copy of a rectangle of `image` as a pixel buffer (clipped to the image).
PixelBuffer ToPixelBuffer(const QImage& image);
