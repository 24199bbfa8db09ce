#pragma once
// The back buffer: one premultiplied ARGB32 image drawn with QPainter.

#include "Canvas.h"

#include <QImage>

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
    QImage image_;
};

// Wraps the pixels without copying; the result is valid while the pixels are.
QImage WrapImage(const ImageRef& image);
// A deep copy of a rectangle of `image` as a pixel buffer (clipped to the image).
PixelBuffer ToPixelBuffer(const QImage& image);
