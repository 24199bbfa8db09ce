// gas-separator-art MANIFEST FONT_DIR OUT_DIR
// Draws every picture listed in MANIFEST into OUT_DIR (same relative paths as under data/), each
// also at twice the resolution as NAME@2x.png beside it, then the two icons, the icons for the
// desktop install (OUT_DIR/packaging/) and the debug sheets (OUT_DIR/debug/). The output is fully
// determined by the source and the committed fonts: fixed drawing, a fixed-seed random source,
// no timestamps.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <set>

#include "Outputs.h"
#include "Painting.h"

namespace {

using art::ManifestEntry;

bool readManifest(const QString& path, std::vector<ManifestEntry>& entries) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read manifest %s\n", qPrintable(path));
        return false;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
        if (parts.size() != 4 || !parts[0].endsWith(".png") ||
            (parts[3] != "rgb" && parts[3] != "rgba")) {
            std::fprintf(stderr, "bad manifest line: %s\n", qPrintable(line));
            return false;
        }
        entries.push_back({parts[0], parts[1].toInt(), parts[2].toInt(), parts[3] == "rgb"});
    }
    return !entries.empty();
}

bool loadFonts(const QString& fontDir) {
    for (const char* name : {"Exo-Regular.ttf", "Exo-Bold.ttf", "Exo-Italic.ttf"}) {
        if (QFontDatabase::addApplicationFont(fontDir + "/" + name) < 0) {
            std::fprintf(stderr, "cannot load font %s/%s\n", qPrintable(fontDir), name);
            return false;
        }
    }
    return true;
}

// Every picture is drawn at these device pixel ratios: the shipped size and the @2x sibling.
constexpr int kScales[] = {1, 2};

// "dir/name.png" at scale 1, "dir/name@2x.png" at scale 2.
QString scaledPath(const QString& path, int scale) {
    if (scale == 1)
        return path;
    return path.chopped(4) + QStringLiteral("@%1x.png").arg(scale);
}

bool savePicture(const QImage& drawn, const ManifestEntry& entry, int scale,
                 const QString& outDir) {
    const QString path = scaledPath(entry.path, scale);
    if (drawn.width() != entry.width * scale || drawn.height() != entry.height * scale) {
        std::fprintf(stderr, "%s drawn at %dx%d, manifest says %dx%d\n", qPrintable(path),
                     drawn.width(), drawn.height(), entry.width * scale, entry.height * scale);
        return false;
    }
    const QImage image =
        drawn.convertToFormat(entry.opaque ? QImage::Format_RGB888 : QImage::Format_ARGB32);
    const QString target = outDir + "/" + path;
    QDir().mkpath(QFileInfo(target).path());
    if (!image.save(target, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return false;
    }
    return true;
}

bool drawAll(const std::vector<ManifestEntry>& entries, const QString& outDir) {
    art::DrawerTable table;
    art::addUiDrawers(table);
    art::addPanelDrawers(table);
    art::addWellDrawers(table);
    std::set<QString> used;
    for (const ManifestEntry& entry : entries) {
        auto found = table.find(entry.path);
        if (found == table.end()) {
            std::fprintf(stderr, "no drawing for %s\n", qPrintable(entry.path));
            return false;
        }
        for (int scale : kScales) {
            const art::PictureScale atScale(scale);
            if (!savePicture(found->second(entry.width, entry.height), entry, scale, outDir))
                return false;
        }
        used.insert(entry.path);
    }
    for (const auto& [path, drawer] : table) {
        if (!used.count(path)) {
            std::fprintf(stderr, "drawing for %s is not in the manifest\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MANIFEST FONT_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[3]);
    std::vector<ManifestEntry> entries;
    if (!readManifest(QString::fromLocal8Bit(argv[1]), entries))
        return 1;
    if (!loadFonts(QString::fromLocal8Bit(argv[2])))
        return 1;
    if (!drawAll(entries, outDir))
        return 1;
    if (!art::writeIcons(outDir) || !art::writeInstallIcons(outDir + "/packaging/icons/hicolor"))
        return 1;
    if (!art::writeDebugSheets(outDir, entries))
        return 1;
    std::printf("wrote %zu pictures at 1x and 2x, 2 icons, the install icons and the debug "
                "sheets to %s\n",
                entries.size(), qPrintable(outDir));
    return 0;
}
