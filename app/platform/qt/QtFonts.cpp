#include "app/platform/qt/QtFonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {
// "Exo Bold" is the family "Exo" in the style "Bold" when no family has the whole name.
QFont FontForFace(const QString& face) {
    if (QFontDatabase::hasFamily(face)) {
        return QFont(face);
    }
    const qsizetype blank = face.lastIndexOf(' ');
    if (blank > 0) {
        const QString family = face.left(blank);
        const QString style = face.mid(blank + 1);
        if (QFontDatabase::hasFamily(family)) {
            QFont font = QFontDatabase::font(family, style, 12);
            if (style.compare("Bold", Qt::CaseInsensitive) == 0) {
                font.setBold(true);
            } else if (style.compare("Italic", Qt::CaseInsensitive) == 0) {
                font.setItalic(true);
            }
            return font;
        }
    }
    QFont font(face); // Qt substitutes a face, as the platform would
    return font;
}

// The fonts resolved so far by face name and cell height, and the faces by name: finding a
// face asks fontconfig, and every label measured and drawn asks for its font. A font
// registered later may change the answers, so registering one forgets them.
struct ResolvedFonts {
    std::mutex mutex;
    std::map<std::pair<std::string, int>, QFont> fonts;
    std::map<std::string, QFont> faces;
};

ResolvedFonts& Resolved() {
    static ResolvedFonts resolved;
    return resolved;
}

// A registered font file's face, and whether Qt knew its family already (installed on the
// system) when it was registered: a font of that family may then come from another file.
struct OutlineFont {
    QRawFont face;
    bool familyInstalled = false;
};

std::vector<OutlineFont>& OutlineFonts() {
    static std::vector<OutlineFont> fonts;
    return fonts;
}

// Ascent plus descent of `font` at its pixel size, from the registered face it is drawn with,
// when that face is certain: its family came only from registered files, and exactly one of
// them has the font's weight and slant. Measuring through Qt would make a font engine for that
// size, with a fontconfig match, only for this. The two agree: both are FreeType's metrics of
// the same face at the same size.
std::optional<double> RegisteredCellHeight(const QFont& font) {
    const QRawFont* match = nullptr;
    for (const OutlineFont& registered : OutlineFonts()) {
        const QRawFont& face = registered.face;
        if (face.familyName() != font.family()) {
            continue;
        }
        if (registered.familyInstalled) {
            return std::nullopt;
        }
        if (face.weight() == font.weight() &&
            (face.style() == QFont::StyleItalic) == font.italic()) {
            if (match) {
                return std::nullopt;
            }
            match = &face;
        }
    }
    if (!match) {
        return std::nullopt;
    }
    QRawFont sized = *match;
    sized.setPixelSize(font.pixelSize());
    return sized.ascent() + sized.descent();
}

// Called with the mutex held.
QFont ResolveFontNow(ResolvedFonts& resolved, const std::string& faceName, int cellHeight) {
    auto face = resolved.faces.find(faceName);
    if (face == resolved.faces.end()) {
        face =
            resolved.faces.emplace(faceName, FontForFace(QString::fromStdString(faceName))).first;
    }
    QFont font = face->second;
    font.setPixelSize(cellHeight);
    // A cell height counts ascent plus descent; a pixel size counts the em square.
    const std::optional<double> registered = RegisteredCellHeight(font);
    const double height =
        registered ? *registered : QFontMetricsF(font).ascent() + QFontMetricsF(font).descent();
    if (height > 0) {
        const int pixels = static_cast<int>(std::lround(cellHeight * cellHeight / height));
        font.setPixelSize(pixels > 0 ? pixels : 1);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A registered face at a size, or none (-1) for a face of Qt's (a fallback).
struct OutlineFace {
    QRawFont font;
    int registered = -1;
};

// The registered face of the same family and style as `used`, at its size; else `used`.
OutlineFace OutlineFontFor(const QRawFont& used) {
    const std::vector<OutlineFont>& fonts = OutlineFonts();
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const QRawFont& face = fonts[i].face;
        if (face.familyName() == used.familyName() && face.styleName() == used.styleName()) {
            QRawFont sized = face;
            sized.setPixelSize(used.pixelSize());
            return {sized, static_cast<int>(i)};
        }
    }
    return {used, -1};
}

// The outlines of the registered faces' glyphs by face, size and glyph: FreeType loads and
// converts a glyph's outline each time it is asked, and a frame's texts repeat their letters.
// An outline depends on nothing else, so the cache changes no pixel. Forgotten with the faces.
class GlyphOutlines {
public:
    QPainterPath Of(const OutlineFace& face, quint32 glyph) {
        if (face.registered < 0) {
            return face.font.pathForGlyph(glyph);
        }
        const Key key{face.registered, face.font.pixelSize(), glyph};
        const std::lock_guard<std::mutex> lock(mutex_);
        auto found = outlines_.find(key);
        if (found == outlines_.end()) {
            if (outlines_.size() >= kMaxOutlines) {
                outlines_.clear();
            }
            found = outlines_.emplace(key, face.font.pathForGlyph(glyph)).first;
        }
        return found->second;
    }
    void Forget() {
        const std::lock_guard<std::mutex> lock(mutex_);
        outlines_.clear();
    }

private:
    static constexpr std::size_t kMaxOutlines = 8192;
    using Key = std::tuple<int, double, quint32>;
    std::mutex mutex_;
    std::map<Key, QPainterPath> outlines_;
};

GlyphOutlines& Outlines() {
    static GlyphOutlines outlines;
    return outlines;
}
} // namespace

QFont ResolveFont(const std::string& faceName, int cellHeight) {
    if (faceName.empty() || cellHeight <= 0) {
        return QGuiApplication::font();
    }
    ResolvedFonts& resolved = Resolved();
    const std::lock_guard<std::mutex> lock(resolved.mutex);
    const auto key = std::make_pair(faceName, cellHeight);
    auto found = resolved.fonts.find(key);
    if (found == resolved.fonts.end()) {
        found = resolved.fonts.emplace(key, ResolveFontNow(resolved, faceName, cellHeight)).first;
    }
    return found->second;
}

namespace {
// Whether Qt knows the family already from a file not added here (one installed on the
// system): a font of that family may then come from either file. Asked before Qt is given a
// file of the family.
bool IsInstalledFamily(const QString& family) {
    for (const OutlineFont& registered : OutlineFonts()) {
        if (registered.face.familyName() == family) {
            return registered.familyInstalled; // Qt knows the family from our own file
        }
    }
    return QFontDatabase::hasFamily(family);
}
} // namespace

int AddFontFile(const QByteArray& fontFile) {
    const QRawFont font(fontFile, 12, QFont::PreferNoHinting);
    const bool familyInstalled = font.isValid() && IsInstalledFamily(font.familyName());
    const int id = QFontDatabase::addApplicationFontFromData(fontFile);
    if (id < 0) {
        return id;
    }
    {
        ResolvedFonts& resolved = Resolved();
        const std::lock_guard<std::mutex> lock(resolved.mutex);
        resolved.fonts.clear();
        resolved.faces.clear();
    }
    if (font.isValid()) {
        OutlineFonts().push_back({font, familyInstalled});
        Outlines().Forget();
    }
    return id;
}

QPainterPath TextOutline(const QFont& font, const QString& text, const QPointF& origin) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // On Qt's grid of 1/64 pixel, as QPainterPath::addText places text; glyph positions are
    // from the line's top.
    const auto onGrid = [](double value) { return std::floor(value * 64 + 0.5) / 64; };
    const QPointF shift(onGrid(origin.x()), onGrid(origin.y()) - line.ascent());
    // The glyphs' outlines (shared with the cache) and places, then put together in one
    // allocation; each is moved to its place only as it is added.
    std::vector<std::pair<QPainterPath, QPointF>> glyphOutlines;
    int elements = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const OutlineFace face = OutlineFontFor(run.rawFont());
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            glyphOutlines.emplace_back(Outlines().Of(face, glyphs[i]), positions[i] + shift);
            elements += glyphOutlines.back().first.elementCount();
        }
    }
    QPainterPath path; // left without data when there is no glyph, as Qt's empty path is
    if (elements > 0) {
        path.reserve(elements);
    }
    for (const auto& [outline, place] : glyphOutlines) {
        path.addPath(outline.translated(place));
    }
    return path;
}

QString WrappedToolTip(const std::string& utf8, int columns) {
    const QStringList words = QString::fromStdString(utf8).split(' ', Qt::SkipEmptyParts);
    QString text;
    qsizetype lineLength = 0;
    for (const QString& word : words) {
        if (lineLength > 0 && lineLength + 1 + word.size() > columns) {
            text += '\n';
            lineLength = 0;
        } else if (lineLength > 0) {
            text += ' ';
            ++lineLength;
        }
        text += word;
        lineLength += word.size();
    }
    return text;
}
