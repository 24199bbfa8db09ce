#include "Compare.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace art {
namespace {

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

bool readAll(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return true;
}

quint32 littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    return value;
}

quint32 bigEndian32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    return value;
}

// The channel differences of two pictures, pixel by pixel.
struct PixelDifference {
    int largest = 0;
    long long pixels = 0;
    int worstX = 0;
    int worstY = 0;

    void add(const uchar* a, const uchar* b, int x, int y) {
        int most = 0;
        for (int channel = 0; channel < 4; ++channel)
            most = std::max(most, std::abs(a[channel] - b[channel]));
        if (most == 0)
            return;
        ++pixels;
        if (most > largest) {
            largest = most;
            worstX = x;
            worstY = y;
        }
    }

    void into(Comparison& result) const {
        result.largest = std::max(result.largest, largest);
        result.pixels += pixels;
        result.matches = largest <= kChannelTolerance;
        if (!result.matches)
            result.reason = QStringLiteral("pixel (%1, %2) differs by %3 levels")
                                .arg(worstX)
                                .arg(worstY)
                                .arg(largest);
    }
};

// The IHDR fields (size, bit depth, colour type, compression, filter, interlace); empty when
// the bytes are no PNG file.
QByteArray pngHeader(const QByteArray& png) {
    if (!png.startsWith(kPngSignature) || png.size() < 29 || png.mid(12, 4) != "IHDR")
        return {};
    return png.mid(16, 13);
}

QString describePngHeader(const QByteArray& header) {
    return QStringLiteral("%1x%2, %3-bit, colour type %4")
        .arg(bigEndian32(header, 0))
        .arg(bigEndian32(header, 4))
        .arg(static_cast<int>(header[8]))
        .arg(static_cast<int>(header[9]));
}

// Straight (not premultiplied) channels, as stored in the file.
void comparePng(const QByteArray& generated, const QByteArray& committed, Comparison& result) {
    const QByteArray header = pngHeader(generated);
    const QByteArray committedHeader = pngHeader(committed);
    if (header.isEmpty() || committedHeader.isEmpty()) {
        result.reason = QStringLiteral("not a PNG picture");
        return;
    }
    if (header != committedHeader) {
        result.reason = QStringLiteral("size or format differs: %1, committed %2")
                            .arg(describePngHeader(header), describePngHeader(committedHeader));
        return;
    }
    const QImage a = QImage::fromData(generated, "PNG").convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage::fromData(committed, "PNG").convertToFormat(QImage::Format_ARGB32);
    if (a.isNull() || b.isNull() || a.size() != b.size()) {
        result.reason = QStringLiteral("cannot decode the PNG picture");
        return;
    }
    PixelDifference difference;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            difference.add(a.constScanLine(y) + 4 * x, b.constScanLine(y) + 4 * x, x, y);
    difference.into(result);
}

// A 32-bit icon bitmap: its header, the BGRA rows (bottom-up) and the transparency mask.
void compareBitmap(const QByteArray& generated, const QByteArray& committed, Comparison& result) {
    if (generated.size() != committed.size() || generated.size() < 40 ||
        generated.left(40) != committed.left(40)) {
        result.reason = QStringLiteral("bitmap size or format differs");
        return;
    }
    const int width = static_cast<int>(littleEndian(generated, 4, 4));
    const int height = static_cast<int>(littleEndian(generated, 8, 4)) / 2;
    const qsizetype pixelBytes = qsizetype(width) * height * 4;
    if (littleEndian(generated, 14, 2) != 32 || 40 + pixelBytes > generated.size()) {
        result.reason = QStringLiteral("not a 32-bit bitmap");
        return;
    }
    const uchar* a = reinterpret_cast<const uchar*>(generated.constData()) + 40;
    const uchar* b = reinterpret_cast<const uchar*>(committed.constData()) + 40;
    PixelDifference difference;
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const qsizetype at = 4 * (qsizetype(row) * width + x);
            difference.add(a + at, b + at, x, height - 1 - row);
        }
    difference.into(result);
    if (result.matches && generated.mid(40 + pixelBytes) != committed.mid(40 + pixelBytes)) {
        result.matches = false;
        result.reason = QStringLiteral("transparency mask differs");
    }
}

struct IcoEntry {
    QByteArray fields; // width, height, colours, reserved, planes, bits per pixel
    QByteArray data;
    qsizetype offset = 0;
};

bool parseIco(const QByteArray& bytes, QByteArray& header, std::vector<IcoEntry>& entries) {
    if (bytes.size() < 6)
        return false;
    header = bytes.left(6);
    const int count = static_cast<int>(littleEndian(bytes, 4, 2));
    if (bytes.size() < 6 + 16 * count)
        return false;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + 16 * i;
        const qsizetype size = littleEndian(bytes, at + 8, 4);
        const qsizetype offset = littleEndian(bytes, at + 12, 4);
        if (offset + size > bytes.size())
            return false;
        entries.push_back({bytes.mid(at, 8), bytes.mid(offset, size), offset});
    }
    return true;
}

// Entry by entry: the directory alike (the byte counts and offsets aside, since a PNG entry's
// compressed size follows its pixels), each entry's picture within the tolerance.
void compareIco(const QByteArray& generated, const QByteArray& committed, Comparison& result) {
    QByteArray header, committedHeader;
    std::vector<IcoEntry> entries, committedEntries;
    if (!parseIco(generated, header, entries) ||
        !parseIco(committed, committedHeader, committedEntries)) {
        result.reason = QStringLiteral("not an icon file");
        return;
    }
    if (header != committedHeader || entries.size() != committedEntries.size()) {
        result.reason = QStringLiteral("the icon directory differs");
        return;
    }
    result.matches = true;
    for (std::size_t i = 0; i < entries.size() && result.matches; ++i) {
        const IcoEntry& a = entries[i];
        const IcoEntry& b = committedEntries[i];
        Comparison entry;
        if (a.fields != b.fields)
            entry.reason = QStringLiteral("size or format differs");
        else if (a.data.startsWith(kPngSignature))
            comparePng(a.data, b.data, entry);
        else
            compareBitmap(a.data, b.data, entry);
        result.largest = std::max(result.largest, entry.largest);
        result.pixels += entry.pixels;
        result.matches = entry.matches;
        if (!entry.matches)
            result.reason = QStringLiteral("entry %1: %2").arg(i).arg(entry.reason);
    }
}

// `value` moved by `levels`, or the other way when that would leave 0 to 255.
int shifted(int value, int levels) {
    const int moved = value + levels;
    return moved >= 0 && moved <= 255 ? moved : value - levels;
}

bool perturbIco(QByteArray& bytes, int levels) {
    QByteArray header;
    std::vector<IcoEntry> entries;
    if (!parseIco(bytes, header, entries))
        return false;
    for (const IcoEntry& entry : entries) {
        if (entry.data.startsWith(kPngSignature) || entry.data.size() < 44)
            continue;
        const qsizetype at = entry.offset + 40; // the blue channel of the bottom-left pixel
        bytes[at] = static_cast<char>(shifted(static_cast<uchar>(bytes[at]), levels));
        return true;
    }
    return false;
}

bool perturbPng(QByteArray& bytes, int levels) {
    QImage image = QImage::fromData(bytes, "PNG");
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return false; // another layout would be written back in another PNG format
    const int x = image.width() / 2;
    const int y = image.height() / 2;
    const QRgb pixel = image.pixel(x, y);
    image.setPixel(x, y,
                   qRgba(shifted(qRed(pixel), levels), qGreen(pixel), qBlue(pixel), qAlpha(pixel)));
    bytes.clear();
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG");
}

} // namespace

Comparison compareFiles(const QString& generated, const QString& committed) {
    Comparison result;
    QByteArray a, b;
    if (!readAll(generated, a)) {
        result.reason = QStringLiteral("cannot read the generated file");
        return result;
    }
    if (!readAll(committed, b)) {
        result.reason = QStringLiteral("cannot read the committed file");
        return result;
    }
    if (a == b) {
        result.identical = result.matches = true;
        return result;
    }
    const QString suffix = QFileInfo(committed).suffix().toLower();
    if (suffix == QLatin1String("png"))
        comparePng(a, b, result);
    else if (suffix == QLatin1String("ico"))
        compareIco(a, b, result);
    else
        result.reason = QStringLiteral("the bytes differ");
    return result;
}

bool perturbPicture(const QString& in, const QString& out, int levels) {
    QByteArray bytes;
    if (!readAll(in, bytes))
        return false;
    const bool changed = QFileInfo(in).suffix().toLower() == QLatin1String("ico")
                             ? perturbIco(bytes, levels)
                             : perturbPng(bytes, levels);
    QFile file(out);
    return changed && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace art
