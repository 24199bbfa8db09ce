#include "app/platform/qt/QtCanvas.h"

#include "app/platform/FastFloors.h"
#include "app/platform/PixelBlend.h"
#include "app/platform/qt/QtFonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <tuple>
#include <utility>

QImage WrapImage(const ImageRef& image) {
    if (image.IsEmpty()) {
        return {};
    }
    const int stride = image.stride > 0 ? image.stride : image.width * 4;
    return QImage(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height, stride,
                  QImage::Format_ARGB32_Premultiplied);
}

PixelBuffer ToPixelBuffer(const QImage& source, double scale) {
    PixelBuffer out;
    if (source.isNull()) {
        return out;
    }
    const QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    out.width = image.width();
    out.height = image.height();
    out.scale = scale;
    out.identity = NewImageIdentity();
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int row = 0; row < out.height; ++row) {
        std::memcpy(out.pixels.data() + static_cast<size_t>(row) * out.width,
                    image.constScanLine(row), static_cast<size_t>(out.width) * 4);
    }
    return out;
}

namespace {
QColor ColourWithAlpha(std::uint32_t rgb, int alpha) {
    QColor colour(QRgb(rgb & 0xFFFFFF));
    colour.setAlpha(std::clamp(alpha, 0, 255));
    return colour;
}

// The text's outline with its baseline at y and x at the aligned end or centre.
QPainterPath TextPath(const TextStyle& style, int x, int y, const QString& text) {
    const QFont font = ResolveFont(style.fontName, style.fontSize);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    double left = x;
    if (style.align == TextAlign::Right) {
        left = x - width;
    } else if (style.align == TextAlign::Center) {
        left = x - width / 2.0;
    }
    QPainterPath path = TextOutline(font, text, QPointF(left, y));
    path.setFillRule(Qt::OddEvenFill); // the alternate fill mode
    return path;
}

int Advance(const TextStyle& style, const QString& text) {
    const QFont font = ResolveFont(style.fontName, style.fontSize);
    return static_cast<int>(QFontMetricsF(font).horizontalAdvance(text));
}

// The style's fields as raw bytes, then its font and text: looked up for every text of every
// frame, so no number is formatted.
std::string TextKey(const TextStyle& style, const std::string& utf8) {
    const int numbers[] = {style.fontSize, style.fillAlpha, style.strokeAlpha,
                           static_cast<int>(style.align)};
    const std::uint32_t colors[] = {style.fillColor, style.strokeColor};
    std::string key;
    key.reserve(sizeof numbers + sizeof colors + sizeof style.strokeWidth + style.fontName.size() +
                1 + utf8.size());
    key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
    key.append(reinterpret_cast<const char*>(colors), sizeof colors);
    key.append(reinterpret_cast<const char*>(&style.strokeWidth), sizeof style.strokeWidth);
    key.append(style.fontName).append(1, '\0').append(utf8);
    return key;
}

bool IsWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-9;
}

QImage OnPixels(uchar* pixels, int width, int height) {
    return QImage(
        pixels, width, height, qsizetype{width} * 4, QImage::Format_ARGB32_Premultiplied,
        [](void* buffer) { PixelMemory::Free(buffer); }, pixels);
}

// The back buffer and the kept background, when they take a megabyte or more each, in one
// mapping of their own (in huge pages on its whole spans, see PixelMemory.h): filling them the
// first time would otherwise fault in two thousand small pages. Otherwise the back buffer comes
// from the heap and the kept background is made when first needed.
std::pair<QImage, QImage> NewFrameImages(int width, int height) {
    constexpr qsizetype kOwnMappingBytes = qsizetype{1} << 20;
    const qsizetype bytes = qsizetype{std::max(width, 0)} * std::max(height, 0) * 4;
    auto* pixels = static_cast<uchar*>(
        bytes >= kOwnMappingBytes ? PixelMemory::AllocateBlock(static_cast<std::size_t>(bytes), 2)
                                  : nullptr);
    const QImage image = pixels ? OnPixels(pixels, width, height) : QImage();
    if (image.isNull()) { // no mapping, or a size QImage refuses (it then took no ownership)
        if (pixels) {
            PixelMemory::Free(pixels);
            PixelMemory::Free(pixels + bytes);
        }
        return {QImage(width, height, QImage::Format_ARGB32_Premultiplied), QImage()};
    }
    return {image, OnPixels(pixels + bytes, width, height)};
}

// The pixels of `image` as a picture drawn at `scale`.
ImageRef PictureOf(const QImage& image, double scale, std::uint64_t identity) {
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            image.width(),
            image.height(),
            static_cast<int>(image.bytesPerLine()),
            scale,
            identity};
}

const std::uint32_t* RowOf(const ImageRef& image, int row) {
    const int stride = image.stride > 0 ? image.stride : image.width * 4;
    return reinterpret_cast<const std::uint32_t*>(
        reinterpret_cast<const unsigned char*>(image.pixels) + static_cast<size_t>(row) * stride);
}
} // namespace

CQtCanvas::CQtCanvas(int width, int height, double scale)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), scale_(scale > 0 ? scale : 1.0) {
    std::tie(image_, base_) = NewFrameImages(static_cast<int>(std::lround(width_ * scale_)),
                                             static_cast<int>(std::lround(height_ * scale_)));
    if (base_.isNull()) {
        image_.fill(Qt::white);
        return;
    }
    // Frame buffers of their own mapping are faulted in (the back buffer filled white, the
    // kept background touched) on another thread while this one goes on to build the first
    // frame: every use of their pixels waits for it first (Warmed).
    warmer_ = std::thread([image = reinterpret_cast<std::uint32_t*>(image_.bits()),
                           pixels = static_cast<std::size_t>(image_.sizeInBytes() / 4),
                           base = base_.bits(),
                           baseBytes = static_cast<std::size_t>(base_.sizeInBytes())] {
        std::fill_n(image, pixels, 0xFFFFFFFFu);
        PixelMemory::FaultIn(base, baseBytes);
    });
}

CQtCanvas::~CQtCanvas() {
    Warmed();
}

void CQtCanvas::Warmed() const {
    if (warmer_.joinable()) {
        warmer_.join();
    }
}

void CQtCanvas::SetPainterOnly(bool painterOnly) {
    painterOnly_ = painterOnly;
    wholeFrame_ = true;
}

inline QRect CQtCanvas::DeviceRect(const QRect& logical) const {
    if (scale_ == 1.0) {
        return logical;
    }
    const int left = static_cast<int>(std::floor(logical.x() * scale_));
    const int top = static_cast<int>(std::floor(logical.y() * scale_));
    const int right = static_cast<int>(std::ceil((logical.x() + logical.width()) * scale_));
    const int bottom = static_cast<int>(std::ceil((logical.y() + logical.height()) * scale_));
    return {left, top, right - left, bottom - top};
}

void CQtCanvas::Add(OpKind kind, const ImageRef& image, const QRect& target, int alpha) {
    if (image.IsEmpty() || target.isEmpty() || alpha <= 0) {
        return;
    }
    const DrawOp op{kind, image, target, std::min(alpha, 255)};
    if (inFrame_) {
        ops_.push_back(op);
    } else {
        DrawNow(op);
    }
}

void CQtCanvas::CopyImage(const ImageRef& image, int x, int y) {
    Add(OpKind::Copy, image, QRect(x, y, image.LogicalWidth(), image.LogicalHeight()), 255);
}

void CQtCanvas::DrawImage(const ImageRef& image, int x, int y, int alpha) {
    Add(OpKind::Blend, image, QRect(x, y, image.LogicalWidth(), image.LogicalHeight()), alpha);
}

void CQtCanvas::DrawImageScaled(const ImageRef& image, int x, int y, int w, int h, int alpha) {
    const bool unscaled = w == image.LogicalWidth() && h == image.LogicalHeight();
    Add(unscaled ? OpKind::Blend : OpKind::Scaled, image, QRect(x, y, w, h), alpha);
}

void CQtCanvas::DrawSprites(const Sprite* sprites, std::size_t count, const PixelRect& clip) {
    const QRect area =
        QRect(clip.x, clip.y, clip.width, clip.height) & QRect(0, 0, width_, height_);
    if (count == 0 || area.isEmpty()) {
        return;
    }
    DrawOp op{OpKind::Sprites, ImageRef{}, area, 255, sprites, count};
    if (inFrame_) {
        ops_.push_back(op);
    } else {
        DrawNow(op);
    }
}

// The outline is laid out at the anchor (0, 0) and rendered at the canvas's scale; drawing it
// at an integer anchor later is a whole-pixel shift of the same picture. Within a frame the
// outline is filled later (FillTexts), outside one at once.
const CQtCanvas::RenderedText& CQtCanvas::RenderText(const TextStyle& style,
                                                     const std::string& utf8) {
    if (const RenderedText* const* recent = recentRenders_.Find(style, utf8)) {
        return **recent;
    }
    const std::string key = TextKey(style, utf8);
    if (const auto found = textCache_.find(key); found != textCache_.end()) {
        recentRenders_.Remember(style, utf8, &found->second);
        return found->second;
    }
    if (!inFrame_ && textCache_.size() >= kMaxCachedTexts) {
        ForgetTexts(); // never within a frame: its draws still refer to the pictures
    }
    const QString text = QString::fromStdString(utf8);
    QPainterPath path = TextPath(style, 0, 0, text);
    const double margin = style.strokeWidth / 2.0 + 2.0;
    const QRect area =
        path.boundingRect().adjusted(-margin, -margin, margin, margin).toAlignedRect();
    const QSize pixels(static_cast<int>(std::ceil(area.width() * scale_)),
                       static_cast<int>(std::ceil(area.height() * scale_)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    uchar* const bits = image.bits();
    const ImageRef picture = PictureOf(image, scale_, NewImageIdentity());
    textFills_.Add({std::move(path), area.topLeft(), bits, pixels, image.bytesPerLine(), style});
    // Moved, the image keeps its pixels where the fill and the picture find them.
    RenderedText rendered{std::move(image), area.topLeft(), Advance(style, text), picture};
    const RenderedText& kept = textCache_.emplace(key, std::move(rendered)).first->second;
    recentRenders_.Remember(style, utf8, &kept);
    if (!inFrame_) {
        FillTexts();
    }
    return kept;
}

void CQtCanvas::FillText(const TextFill& text) const {
    // A picture of its own over the same pixels: the kept QImage is not touched here, so
    // another thread may fill it while this one reads the others.
    QImage image(text.pixels, text.size.width(), text.size.height(), text.bytesPerLine,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale_, scale_);
    painter.translate(-text.origin);
    const TextStyle& style = text.style;
    if (style.strokeWidth > 0) {
        QPen pen(ColourWithAlpha(style.strokeColor, style.strokeAlpha), style.strokeWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(text.path, pen);
    }
    painter.fillPath(text.path, ColourWithAlpha(style.fillColor, style.fillAlpha));
}

// Stroking and filling outlines is most of a first frame's work on one core; a second thread
// fills the texts as they are laid out, and this one joins in for what is left. Painting into
// a QImage is safe on any thread.
void CQtCanvas::FillTexts() {
    textFills_.Finish();
}

void CQtCanvas::DrawOutlinedText(const TextStyle& style, int x, int y, const std::string& utf8) {
    if (utf8.empty()) {
        return;
    }
    const RenderedText& text = RenderText(style, utf8);
    const ImageRef& ref = text.picture;
    Add(OpKind::Blend, ref,
        QRect(x + text.offset.x(), y + text.offset.y(), ref.LogicalWidth(), ref.LogicalHeight()),
        255);
}

// From the font's metrics, kept by font and text: wrapping measures many lines that are never
// drawn, and rendering each of them only to measure it would cost far more.
int CQtCanvas::MeasureText(const TextStyle& style, const std::string& utf8) {
    if (utf8.empty()) {
        return 0;
    }
    if (const int* recent = recentMeasures_.Find(style, utf8)) {
        return *recent;
    }
    std::string key(reinterpret_cast<const char*>(&style.fontSize), sizeof style.fontSize);
    key.append(style.fontName).append(1, '\0').append(utf8);
    if (const auto found = advances_.find(key); found != advances_.end()) {
        recentMeasures_.Remember(style, utf8, found->second);
        return found->second;
    }
    if (advances_.size() >= kMaxCachedAdvances) {
        advances_.clear();
    }
    const int advance = Advance(style, QString::fromStdString(utf8));
    advances_.emplace(std::move(key), advance);
    recentMeasures_.Remember(style, utf8, advance);
    return advance;
}

void CQtCanvas::ForgetTexts() {
    textCache_.clear();
    recentRenders_ = {};
}

namespace {
bool SameStyle(const TextStyle& a, const TextStyle& b) {
    return a.fontSize == b.fontSize && a.fillColor == b.fillColor && a.fillAlpha == b.fillAlpha &&
           a.strokeColor == b.strokeColor && a.strokeAlpha == b.strokeAlpha &&
           a.strokeWidth == b.strokeWidth && a.align == b.align && a.fontName == b.fontName;
}
} // namespace

template <class Result>
const Result* CQtCanvas::RecentTexts<Result>::Find(const TextStyle& style,
                                                   const std::string& utf8) {
    if (next < calls.size() && calls[next].utf8 == utf8 && SameStyle(calls[next].style, style)) {
        return &calls[next++].result;
    }
    return nullptr;
}

template <class Result>
void CQtCanvas::RecentTexts<Result>::Remember(const TextStyle& style, const std::string& utf8,
                                              Result result) {
    constexpr std::size_t kMaxCalls = 1024; // a frame's texts, with room to spare
    if (next >= kMaxCalls) {
        return;
    }
    if (next == calls.size()) {
        calls.push_back({style, utf8, result});
    } else {
        calls[next] = {style, utf8, result};
    }
    ++next;
}

PixelBuffer CQtCanvas::ReadPixels(int x, int y, int w, int h) const {
    return ToPixelBuffer(Image().copy(DeviceRect(QRect(x, y, w, h)).intersected(image_.rect())),
                         scale_);
}

void CQtCanvas::BeginFrame() {
    FinishPending();
    FillTexts();
    inFrame_ = true;
    ops_.clear();
    if (textCache_.size() >= kMaxCachedTexts) {
        ForgetTexts();
    }
    recentRenders_.next = 0;
    recentMeasures_.next = 0;
}

bool CQtCanvas::DrawOp::SameAs(const DrawOp& other) const {
    return image.identity != 0 && image.identity == other.image.identity && kind == other.kind &&
           target == other.target && alpha == other.alpha && image.pixels == other.image.pixels &&
           image.width == other.image.width && image.height == other.image.height &&
           image.scale == other.image.scale;
}

// The union of every draw that is not in both frames; a draw of pixels without an identity
// is never the same as before.
QRect CQtCanvas::ChangedArea() const {
    const QRect whole(0, 0, width_, height_);
    if (wholeFrame_) {
        return whole;
    }
    const auto absent = [](const DrawOp& op, size_t index, const std::vector<DrawOp>& frame) {
        if (op.image.identity == 0) {
            return true;
        }
        if (index < frame.size() && op.SameAs(frame[index])) {
            return false; // the common case: the same draw at the same place in the order
        }
        return std::none_of(frame.begin(), frame.end(),
                            [&](const DrawOp& other) { return op.SameAs(other); });
    };
    QRect changed;
    for (size_t i = 0; i < ops_.size(); ++i) {
        if (absent(ops_[i], i, previous_)) {
            changed |= ops_[i].target;
        }
    }
    for (size_t i = 0; i < previous_.size(); ++i) {
        if (absent(previous_[i], i, ops_)) {
            changed |= previous_[i].target;
        }
    }
    return changed & whole;
}

// The draws before the first one without an identity (the window's background, the panels,
// the well's casing) rarely change: their result is kept whole in base_ and copied where
// the frame changed, instead of being drawn again.
size_t CQtCanvas::UpdateBase() {
    const auto firstVolatile = std::find_if(
        ops_.begin(), ops_.end(), [](const DrawOp& op) { return op.image.identity == 0; });
    const auto prefix = static_cast<size_t>(firstVolatile - ops_.begin());
    if (painterOnly_ || prefix == 0) {
        baseOps_ = 0;
        return 0;
    }
    bool same = prefix == baseOps_ && prefix <= previous_.size();
    for (size_t i = 0; same && i < prefix; ++i) {
        same = ops_[i].SameAs(previous_[i]);
    }
    if (!same) {
        if (base_.size() != image_.size()) {
            base_ = QImage(image_.size(), QImage::Format_ARGB32_Premultiplied);
        }
        // A first draw that copies over the whole canvas (the window's background) leaves
        // nothing of the fill: a pass over the whole picture saved on every change of it.
        const DrawOp& first = ops_.front();
        if (first.kind != OpKind::Copy || !first.target.contains(QRect(0, 0, width_, height_)) ||
            first.image.scale != scale_) {
            base_.fill(Qt::white);
        }
        for (size_t i = 0; i < prefix; ++i) {
            Draw(base_, ops_[i], base_.rect());
        }
        baseOps_ = prefix;
    }
    return prefix;
}

PixelRect CQtCanvas::EndFrame() {
    Warmed();
    inFrame_ = false;
    FillTexts();
    const QRect changed = ChangedArea();
    pendingFirst_ = UpdateBase();
    wholeFrame_ = painterOnly_;
    std::swap(ops_, previous_);
    ops_.clear();
    pendingArea_ = DeviceRect(changed) & image_.rect();
    pending_ = !pendingArea_.isEmpty();
    if (!surface_) {
        FinishPending();
    }
    return {changed.x(), changed.y(), changed.width(), changed.height()};
}

void CQtCanvas::DrawFrame(QImage& into, size_t first, const QRect& clip) {
    if (first > 0) {
        CopyArea(into, base_, clip);
    }
    for (size_t i = first; i < previous_.size(); ++i) {
        Draw(into, previous_[i], clip);
    }
}

void CQtCanvas::FinishPending() {
    if (!pending_) {
        return;
    }
    Warmed();
    CatchUpWithSurface(); // a frame drawn without a base draws over what was there
    pending_ = false;
    DrawFrame(image_, pendingFirst_, pendingArea_);
    if (surface_) {
        surfaceBehind_ |= pendingArea_;
    }
}

void CQtCanvas::AttachSurface(std::function<const QImage*()> surface) {
    FinishPending();
    CatchUpWithSurface();
    surface_ = std::move(surface);
    surfaceBehind_ = image_.rect(); // until the window has painted it all
}

bool CQtCanvas::DrawPendingInto(QImage& surface, const QPoint& offset) {
    Warmed();
    const QImage::Format format = surface.format();
    const bool fits =
        (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied) &&
        surface.rect().contains(QRect(offset, image_.size()));
    if (!pending_ || !fits || !surfaceBehind_.isEmpty()) {
        return false;
    }
    const SurfaceId id{surface.constBits(), surface.size(), surface.bytesPerLine(), format, offset};
    if (!surfaceAhead_.isEmpty() &&
        (id.bits != drawnSurface_.bits || id.size != drawnSurface_.size ||
         id.bytesPerLine != drawnSurface_.bytesPerLine || id.format != drawnSurface_.format ||
         id.offset != drawnSurface_.offset)) {
        return false; // another surface than the one ahead of the back buffer
    }
    // The canvas's part of the surface, seen as an image of the canvas's size: opaque
    // premultiplied pixels are the same words in either format.
    uchar* corner = surface.bits() + offset.y() * surface.bytesPerLine() + offset.x() * 4;
    QImage view(corner, image_.width(), image_.height(), surface.bytesPerLine(),
                QImage::Format_ARGB32_Premultiplied);
    pending_ = false;
    DrawFrame(view, pendingFirst_, pendingArea_);
    drawnSurface_ = id;
    surfaceAhead_ |= pendingArea_;
    return true;
}

void CQtCanvas::SurfaceShows(const QRect& area) {
    if (area.contains(surfaceBehind_)) {
        surfaceBehind_ = {};
    }
}

// The surface is found again: it is used only if it is still the one drawn into. Otherwise
// (a window whose surface was made anew) the back buffer keeps what it has and the next frame
// is drawn whole.
void CQtCanvas::CatchUpWithSurface() const {
    if (surfaceAhead_.isEmpty()) {
        return;
    }
    Warmed();
    const QImage* surface = surface_ ? surface_() : nullptr;
    const SurfaceId& id = drawnSurface_;
    if (!surface || surface->constBits() != id.bits || surface->size() != id.size ||
        surface->bytesPerLine() != id.bytesPerLine || surface->format() != id.format) {
        wholeFrame_ = true;
        surfaceAhead_ = {};
        return;
    }
    const QRect area = surfaceAhead_;
    surfaceAhead_ = {};
    uchar* target = image_.bits();
    const auto rowBytes = static_cast<size_t>(area.width()) * 4;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        std::memcpy(target + row * static_cast<size_t>(image_.bytesPerLine()) + area.left() * 4,
                    surface->constBits() +
                        (row + id.offset.y()) * static_cast<size_t>(id.bytesPerLine) +
                        (area.left() + id.offset.x()) * 4,
                    rowBytes);
    }
}

void CQtCanvas::DrawNow(const DrawOp& op) {
    Warmed();
    FinishPending();
    CatchUpWithSurface();
    Draw(image_, op, image_.rect());
    if (surface_) {
        surfaceBehind_ |= DeviceRect(op.target) & image_.rect();
    }
}

const QImage& CQtCanvas::Image() const {
    return ImageFor(image_.rect()); // the surface is never ahead outside the image
}

const QImage& CQtCanvas::ImageFor(const QRect& area) const {
    Warmed();
    const_cast<CQtCanvas*>(this)->FinishPending();
    if (surfaceAhead_.intersects(area)) {
        CatchUpWithSurface();
    }
    return image_;
}

void CQtCanvas::CopyArea(QImage& into, const QImage& from, const QRect& area) {
    const auto rowBytes = static_cast<size_t>(area.width()) * 4;
    const uchar* source = from.constBits();
    uchar* target = into.bits();
    for (int row = area.top(); row <= area.bottom(); ++row) {
        std::memcpy(target + row * static_cast<size_t>(into.bytesPerLine()) + area.left() * 4,
                    source + row * static_cast<size_t>(from.bytesPerLine()) + area.left() * 4,
                    rowBytes);
    }
}

void CQtCanvas::Draw(QImage& into, const DrawOp& op, const QRect& clip) {
    const QRect area = DeviceRect(op.target) & clip;
    if (area.isEmpty()) {
        return;
    }
    if (op.kind == OpKind::Sprites) {
        DrawSpritesInto(into, op, area);
    } else if (painterOnly_ || !DrawFast(into, op, area)) {
        DrawWithPainter(into, op, area);
    }
}

// An image at its own scale landing on whole device pixels is copied or blended row by row.
// A picture that stays the same (it has an identity) is also placed on the nearest whole
// device pixel, resampled once to the canvas's scale when it has another: a window of any
// size draws its pictures as fast as at their own.
bool CQtCanvas::DrawFast(QImage& into, const DrawOp& op, const QRect& area) {
    const double left = op.target.x() * scale_;
    const double top = op.target.y() * scale_;
    if (op.kind == OpKind::Scaled) {
        return false;
    }
    ImageRef picture = op.image;
    QPoint at(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
    if (op.image.scale != scale_ || !IsWhole(left) || !IsWhole(top)) {
        if (op.image.identity == 0) {
            return false;
        }
        if (op.image.scale != scale_) {
            const QRect placed = PlacedRect(op.target);
            picture = Resampled(op.image, placed.size());
            at = placed.topLeft();
        }
    }
    if (picture.IsEmpty()) {
        return false;
    }
    const QRect source(at, QSize(picture.width, picture.height));
    const QRect drawn = area & source;
    if (drawn.isEmpty()) {
        return true;
    }
    const int count = drawn.width();
    const int targetStride = static_cast<int>(into.bytesPerLine() / 4);
    // bits() once: every scanLine() call would check for sharing
    auto* target = reinterpret_cast<std::uint32_t*>(into.bits()) +
                   static_cast<size_t>(drawn.top()) * targetStride + drawn.left();
    const std::uint32_t* pixels =
        RowOf(picture, drawn.top() - source.top()) + (drawn.left() - source.left());
    const int sourceStride = (picture.stride > 0 ? picture.stride : picture.width * 4) / 4;
    if (op.kind == OpKind::Blend && picture.identity == 0) {
        BlendRect(target, targetStride, pixels, sourceStride, count, drawn.height(), op.alpha);
        return true;
    }
    if (op.kind == OpKind::Blend) {
        BlendRectInRuns(target, targetStride, pixels, sourceStride, count, drawn.height(), op.alpha,
                        RunsOf(picture), drawn.top() - source.top(), drawn.left() - source.left());
        return true;
    }
    for (int row = 0; row < drawn.height(); ++row) {
        std::memcpy(target + static_cast<size_t>(row) * targetStride,
                    pixels + static_cast<size_t>(row) * sourceStride,
                    static_cast<size_t>(count) * 4);
    }
    return true;
}

// Each edge on the device pixel nearest to it: pictures that touch stay touching.
QRect CQtCanvas::PlacedRect(const QRect& logical) const {
    const auto edge = [this](int at) { return static_cast<int>(std::lround(at * scale_)); };
    const int left = edge(logical.x());
    const int top = edge(logical.y());
    return {left, top, edge(logical.x() + logical.width()) - left,
            edge(logical.y() + logical.height()) - top};
}

ImageRef CQtCanvas::Resampled(const ImageRef& image, const QSize& size) {
    if (size.isEmpty()) {
        return {};
    }
    const ResampledKey key{image.identity, image.pixels, size.width(), size.height()};
    auto found = resampled_.find(key);
    if (found == resampled_.end()) {
        const qsizetype pixels = qsizetype(size.width()) * size.height();
        if (resampledPixels_ + pixels > kMaxResampledPixels) {
            resampled_.clear();
            resampledPixels_ = 0;
        }
        QImage scaled =
            WrapImage(image).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.convertTo(QImage::Format_ARGB32_Premultiplied);
        resampledPixels_ += pixels;
        found =
            resampled_.emplace(key, ResampledPicture{std::move(scaled), NewImageIdentity()}).first;
    }
    return PictureOf(found->second.image, scale_, found->second.identity);
}

std::size_t CQtCanvas::ResampledKeyHash::operator()(const ResampledKey& key) const {
    const std::size_t size = static_cast<std::size_t>(key.width) * 65537u + key.height;
    return std::hash<std::uint64_t>()(key.identity) ^ (std::hash<const void*>()(key.pixels) << 1) ^
           (size << 7);
}

void CQtCanvas::ForgetPictures() {
    FinishPending();
    previous_.clear(); // compared by identity only; the next frame is drawn whole anyway
    baseOps_ = 0;
    wholeFrame_ = true;
    runs_.clear();
    resampled_.clear();
    resampledPixels_ = 0;
    scaledPictures_.Clear();
}

std::size_t CQtCanvas::KeptPictureCount() const {
    return runs_.size() + resampled_.size() + scaledPictures_.Count();
}

// The runs are used at once by the caller, so the cache may be emptied at any draw.
const VisibleRuns& CQtCanvas::RunsOf(const ImageRef& image) {
    const auto found = runs_.find(image.identity);
    if (found != runs_.end() && found->second.pixels == image.pixels &&
        found->second.runs.firstRun.size() == static_cast<size_t>(image.height) + 1) {
        return found->second.runs;
    }
    if (found != runs_.end()) {
        runs_.erase(found);
    }
    if (runs_.size() >= kMaxCachedRuns) {
        runs_.clear();
    }
    PictureRuns runs{image.pixels, FindVisibleRuns(image)};
    return runs_.emplace(image.identity, std::move(runs)).first->second.runs;
}

void CQtCanvas::DrawWithPainter(QImage& into, const DrawOp& op, const QRect& area) {
    QPainter painter(&into);
    painter.setClipRect(area); // device pixels, before the scale
    painter.scale(scale_, scale_);
    if (op.kind == OpKind::Copy) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    } else {
        painter.setOpacity(op.alpha / 255.0);
    }
    if (op.kind == OpKind::Scaled || op.image.scale != scale_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter.drawImage(QRectF(op.target), WrapImage(op.image));
}

// The device pixels a sprite covers.
inline PixelArea CQtCanvas::SpriteArea(const Sprite& sprite) const {
    const QRect device = DeviceRect(QRect(sprite.x, sprite.y, sprite.w, sprite.h));
    return {device.left(), device.top(), device.right() + 1, device.bottom() + 1};
}

// Each sprite sampled at the device pixel ratio, so a scaled screen gets whole particles, not
// enlarged ones. A picture resampled to the sprite's size is blended as a plain rectangle,
// padding included as far as the clip: whole groups of four. On a scaled screen each sprite's
// rectangle is floored and ceiled to device pixels: the loop has an SSE4.1 copy for that.
GS_FAST_FLOORS void CQtCanvas::DrawSpritesInto(QImage& into, const DrawOp& op, const QRect& area) {
    const PixelArea clip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    auto* pixels = reinterpret_cast<std::uint32_t*>(into.bits());
    const int stride = static_cast<int>(into.bytesPerLine() / 4);
    constexpr std::size_t kAhead = 8; // far enough for the slot to arrive, near enough to stay
    for (std::size_t i = 0; i < op.spriteCount; ++i) {
        if (i + kAhead < op.spriteCount) {
            const Sprite& later = op.sprites[i + kAhead];
            const PixelArea area = SpriteArea(later);
            scaledPictures_.Prefetch(later.image, area.x1 - area.x0, area.y1 - area.y0);
        }
        const Sprite& sprite = op.sprites[i];
        const PixelArea target = SpriteArea(sprite);
        const PixelArea drawn{std::max(clip.x0, target.x0), std::max(clip.y0, target.y0),
                              std::min(clip.x1, target.x1), std::min(clip.y1, target.y1)};
        if (drawn.IsEmpty()) {
            continue;
        }
        const ImageRef picture =
            scaledPictures_.At(sprite.image, target.x1 - target.x0, target.y1 - target.y0);
        if (picture.IsEmpty()) {
            BlendPicture(pixels, stride, clip, sprite.image, target, sprite.alpha, columns_, rows_);
            continue;
        }
        const int right = std::min(clip.x1, target.x0 + picture.stride / 4);
        BlendRect(pixels + static_cast<size_t>(drawn.y0) * stride + drawn.x0, stride,
                  picture.pixels +
                      static_cast<size_t>(drawn.y0 - target.y0) * (picture.stride / 4) +
                      (drawn.x0 - target.x0),
                  picture.stride / 4, right - drawn.x0, drawn.y1 - drawn.y0, sprite.alpha);
    }
}
