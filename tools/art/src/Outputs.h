// The generator's outputs besides the manifest pictures.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace art {

struct ManifestEntry {
    QString path;
    int width = 0;
    int height = 0;
    bool opaque = false; // saved as RGB instead of RGBA
};

// The application icon at one size; variant 1 on a dark tile, variant 2 on a light one.
QImage drawAppIcon(int size, int variant);

// Writes icons/GasSeparatorIcon_1.ico and icons/GasSeparatorIcon_2.ico under outDir.
bool writeIcons(const QString& outDir);

// Writes the icon (variant 1) for the desktop install under a hicolor theme folder:
// <N>x<N>/apps/com.quillmore.GasSeparator.png for N = 16 to 256 and
// scalable/apps/com.quillmore.GasSeparator.svg.
bool writeInstallIcons(const QString& hicolorDir);

// Writes debug/well_overlay.png and debug/contact_sheet.png under outDir, from the pictures
// already written there.
bool writeDebugSheets(const QString& outDir, const std::vector<ManifestEntry>& entries);

} // namespace art
