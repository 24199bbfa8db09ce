#include "app/platform/qt/QtMedia.h"

#include "app/platform/FatalError.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtCanvas.h"
#include "app/platform/qt/QtFonts.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>

#include <cstdlib>

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

bool CQtImageDecoder::DecodeImage(const unsigned char* data, std::size_t size, PixelBuffer& out) {
    QImage image;
    if (!image.loadFromData(Bytes(data, size))) {
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

bool CQtImageDecoder::DecodeIcon(const unsigned char* data, std::size_t size, int iconSize,
                                 PixelBuffer& out) {
    QByteArray bytes = Bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QImage image = PickIconImage(reader, iconSize);
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
    const int id = QFontDatabase::addApplicationFontFromData(bytes);
    if (id >= 0) {
        RegisterOutlineFont(bytes);
    }
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
    PlatformServices& services = Platform();
    services.imageDecoder = &decoder;
    services.fontRegistry = &fonts;
    services.screenFontFactory = &screenFonts;
}

void InstallQtFatalErrorHandler() {
    SetFatalErrorHandler(ShowFatalError);
}
