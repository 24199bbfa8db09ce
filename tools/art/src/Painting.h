// Drawing helpers shared by every picture of the generator.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>

namespace art {

enum class Face { Regular, Bold, Italic };

// An Exo font at a pixel size, antialiased and unhinted so the output depends only on the
// committed font files.
QFont exo(Face face, double pixelSize);

// The device pixel ratio pictures are drawn at: 1 for the shipped pictures, 2 for their @2x
// siblings. Drawers keep logical coordinates; blankImage makes the image that many times larger
// with that device pixel ratio, so QPainter scales everything drawn on it.
int pictureScale();

// Sets the picture scale for its lifetime, then restores the previous one.
class PictureScale {
public:
    explicit PictureScale(int scale);
    ~PictureScale();
    PictureScale(const PictureScale&) = delete;
    PictureScale& operator=(const PictureScale&) = delete;

private:
    int previous_;
};

// A transparent ARGB image of the given logical size at the given device pixel ratio.
QImage blankImage(int width, int height, int scale = pictureScale());

// A painter with antialiasing and smooth pixmap transforms switched on.
void prepare(QPainter& painter);

// Text drawn inside a rectangle, shrinking the font until it fits (never below minSize).
void drawFittedText(QPainter& painter, const QRectF& box, const QString& text, QFont font,
                    const QColor& colour, int flags, double minSize = 8.0);

// Word-wrapped text inside a box, shrinking until the whole text fits.
void drawWrappedText(QPainter& painter, const QRectF& box, const QString& text, QFont font,
                     const QColor& colour, double minSize = 8.0);

// A soft drop shadow below a rounded rectangle: layered translucent outlines.
void drawShadow(QPainter& painter, const QRectF& rect, double radius, int spread, int alpha);

QPainterPath roundedPath(const QRectF& rect, double radius);

// Linear mix of two colours, t in [0, 1].
QColor mix(const QColor& a, const QColor& b, double t);

// A small deterministic random source (xorshift32), so pictures never change between runs.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next();
    double uniform(); // [0, 1)
    double range(double low, double high) { return low + (high - low) * uniform(); }
    void discard(long count); // skips count numbers, as if they had been drawn

private:
    std::uint32_t state_;
};

// A picture drawer takes the size from the manifest and returns the finished image.
using Drawer = std::function<QImage(int width, int height)>;
using DrawerTable = std::map<QString, Drawer>;

void addUiDrawers(DrawerTable& table);
void addPanelDrawers(DrawerTable& table);
void addWellDrawers(DrawerTable& table);

} // namespace art
