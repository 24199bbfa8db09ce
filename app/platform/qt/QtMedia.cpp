#include "app/platform/qt/QtMedia.h"

#include "app/platform/FatalError.h"
#include "app/platform/IconDecoder.h"
#include "app/platform/Platform.h"
#include "app/platform/PngDecoder.h"
#include "app/platform/qt/PosixPixelPages.h"
#include "app/platform/qt/QtCanvas.h"
#include "app/platform/qt/QtFonts.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QRgb>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
QByteArray Bytes(const unsigned char* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// The smallest image at least `size` square, else the largest one.
QImage PickIconImage(QImageReader& reader, int size) {
    QImage best;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            continue;
        }
        const bool bigEnough = image.width() >= size;
        const bool bestBigEnough = !best.isNull() && best.width() >= size;
        if (best.isNull() || (bigEnough && (!bestBigEnough || image.width() < best.width())) ||
            (!bigEnough && !bestBigEnough && image.width() > best.width())) {
            best = image;
        }
    }
    return best;
}

void ShowFatalError(const std::string& title, const std::string& message, int code) {
    QMessageBox::critical(nullptr, QString::fromStdString(title), QString::fromStdString(message));
    std::exit(code);
}
} // namespace

namespace {
// Decodes a picture of 32-bit pixels (RGB32, ARGB32 or premultiplied) straight into the
// buffer's memory and premultiplies it there, as QImage's own conversion does: no second
// buffer to allocate, fault in and copy from. False, leaving `out` untouched, for anything
// else; the caller then decodes it the general way.
bool DecodeInPlace(QImageReader& reader, PixelBuffer& out) {
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    const bool wide = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                      format == QImage::Format_ARGB32_Premultiplied;
    const qint64 bytes = static_cast<qint64>(size.width()) * size.height() * 4;
    const qint64 limit = static_cast<qint64>(QImageReader::allocationLimit()) << 20;
    if (!wide || size.isEmpty() || (limit > 0 && bytes > limit)) {
        return false;
    }
    PixelVector pixels(static_cast<std::size_t>(size.width()) * size.height());
    QImage image(reinterpret_cast<uchar*>(pixels.data()), size.width(), size.height(),
                 size.width() * 4, format);
    if (!reader.read(&image) || image.constBits() != reinterpret_cast<uchar*>(pixels.data()) ||
        image.format() != format) {
        return false;
    }
    if (format == QImage::Format_ARGB32) {
        for (std::uint32_t& pixel : pixels) {
            pixel = qPremultiply(pixel);
        }
    }
    out = NewPixelBuffer(size.width(), size.height(), std::move(pixels));
    return true;
}
} // namespace

namespace {
// The most decoded bytes Qt's readers take, which the fast decoders keep to as well.
std::size_t AllocationLimitBytes() {
    const auto limit = static_cast<std::size_t>(QImageReader::allocationLimit()) << 20;
    return limit > 0 ? limit : SIZE_MAX;
}
} // namespace

// The plain PNG files of the pictures by the fast decoder; every other file, and any it doubts,
// by Qt's readers.
bool CQtImageDecoder::DecodeImage(const unsigned char* data, std::size_t size, PixelBuffer& out) {
    if (DecodePlainPng(data, size, AllocationLimitBytes(), out)) {
        return true;
    }
    QByteArray bytes = Bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (DecodeInPlace(reader, out)) {
        return true;
    }
    QImage image;
    if (!image.loadFromData(bytes)) {
        out = {};
        return false;
    }
    // Premultiplied where the picture was decoded, not in a second copy of it.
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    out = ToPixelBuffer(image);
    return true;
}

// The pictures follow the sharpest screen: QT_SCALE_FACTOR and the desktop's scale both
// show in the device pixel ratio.
int CQtImageDecoder::PictureScale() const {
    return qGuiApp && qGuiApp->devicePixelRatio() > 1.0 ? 2 : 1;
}

// A plain icon file decodes only the image picked, without Qt's readers; any other by them.
bool CQtImageDecoder::DecodeIcon(const unsigned char* data, std::size_t size, int iconSize,
                                 PixelBuffer& out) {
    PixelBuffer picked;
    QImage image;
    if (DecodePlainIcon(data, size, iconSize, AllocationLimitBytes(), picked)) {
        if (picked.width == iconSize && picked.height == iconSize) {
            out = std::move(picked);
            return true;
        }
        image = WrapImage(RefOf(picked)); // scaled below, while `picked` still holds it
    } else {
        QByteArray bytes = Bytes(data, size);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        image = PickIconImage(reader, iconSize);
    }
    if (image.isNull()) {
        out = {};
        return false;
    }
    if (image.width() != iconSize || image.height() != iconSize) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                    .scaled(iconSize, iconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    out = ToPixelBuffer(image);
    return true;
}

// Qt keeps every font added, also the same one again, for the life of the process: a tag reload
// would add the three fonts each time.
int CQtFontRegistry::RegisterFont(const unsigned char* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto known = registered_.find(bytes); known != registered_.end()) {
        return known->second;
    }
    const int id = AddFontFile(bytes);
    const int faces =
        id < 0 ? 0 : static_cast<int>(QFontDatabase::applicationFontFamilies(id).size());
    registered_.emplace(bytes, faces);
    return faces;
}

CQtScreenFont::CQtScreenFont(const std::string& faceName, int cellHeight)
    : faceName_(faceName), cellHeight_(cellHeight), font_(ResolveFont(faceName, cellHeight)) {}

std::unique_ptr<IScreenFont> CQtScreenFontFactory::CreateScreenFont(const std::string& faceName,
                                                                    int cellHeight) {
    return std::make_unique<CQtScreenFont>(faceName, cellHeight);
}

void InstallQtMediaServices() {
    static CQtImageDecoder decoder;
    static CQtFontRegistry fonts;
    static CQtScreenFontFactory screenFonts;
    // Never destroyed: pictures that static objects hold are freed during the exit, in no
    // set order with this.
    static CPosixPixelPages* const pixelPages = new CPosixPixelPages;
    PlatformServices& services = Platform();
    services.pixelPages = pixelPages;
    services.imageDecoder = &decoder;
    services.fontRegistry = &fonts;
    services.screenFontFactory = &screenFonts;
}

void InstallQtFatalErrorHandler() {
    SetFatalErrorHandler(ShowFatalError);
}
