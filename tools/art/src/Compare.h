// Compares a generated file with its committed copy. Qt's rasteriser rounds differently from one
// x86-64 processor to another, so pictures are compared by their pixels: the same size and PNG
// format, and every channel of every pixel within one level. The .ico files hold pictures too
// (compared the same way, entry by entry). Every other file must be identical byte for byte.
#pragma once

#include <QByteArray>
#include <QString>

namespace art {

// The largest difference of a channel (0 to 255) that still counts as the same picture.
constexpr int kChannelTolerance = 1;

struct Comparison {
    bool identical = false; // byte for byte
    bool matches = false;   // identical, or pictures within kChannelTolerance
    int largest = 0;        // the largest channel difference found
    long long pixels = 0;   // pixels with any difference
    QString reason;         // why it does not match
};

Comparison compareFiles(const QString& generated, const QString& committed);

// Changes one channel of the middle pixel of a PNG (or of the first uncompressed .ico entry) by
// `levels` and writes the result: the compare tool's own check.
bool perturbPicture(const QString& in, const QString& out, int levels);

} // namespace art
