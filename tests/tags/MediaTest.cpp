// Image, font and icon tags through the Qt platform layer.

#include "app/files/EmbeddedStore.h"
#include "app/platform/Platform.h"
#include "app/platform/PngDecoder.h"
#include "app/services/GlobalService.h"
#include "app/tags/PictureDecodeAhead.h"
#include "app/tags/Tags.h"
#include "tests/files/TestFiles.h"
#include "tests/tags/QtTestSupport.h"
#include "tests/tags/TagTestSupport.h"
#include "tests/well/FakePixelPages.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

using tagtest::TagTest;

class MediaTest : public TagTest {
protected:
    void SetUp() override {
        TagTest::SetUp();
        tagtest::EnsureQtMedia();
    }

    void WritePng(const std::string& relative, const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "PNG"));
        Write(relative, bytes.toStdString());
    }
};

TEST_F(MediaTest, ImagesBecomePremultipliedTopDownPixels) {
    QImage rgba(2, 3, QImage::Format_ARGB32);
    rgba.fill(qRgba(0, 0, 255, 255));
    rgba.setPixel(0, 0, qRgba(255, 0, 0, 128));
    WritePng("rgba.png", rgba);
    const auto* image = Get<TImage>(LoadTag("rgba.png"));
    ASSERT_EQ(image->width, 2);
    ASSERT_EQ(image->height, 3);
    ASSERT_EQ(image->bitmap.size(), 6u);
    const uint32_t first = image->bitmap[0]; // the top-left pixel
    EXPECT_EQ(first >> 24, 128u);
    EXPECT_NEAR(static_cast<int>((first >> 16) & 0xFF), 128, 1);
    EXPECT_EQ(first & 0xFFFF, 0u);
    EXPECT_EQ(image->bitmap[5], 0xFF0000FFu);

    QImage rgb(1, 2, QImage::Format_RGB888);
    rgb.setPixel(0, 0, qRgb(10, 20, 30));
    rgb.setPixel(0, 1, qRgb(40, 50, 60));
    WritePng("rgb.png", rgb);
    const auto* opaque = Get<TImage>(LoadTag("rgb.png"));
    ASSERT_EQ(opaque->bitmap.size(), 2u);
    EXPECT_EQ(opaque->bitmap[0], 0xFF0A141Eu);
    EXPECT_EQ(opaque->bitmap[1], 0xFF28323Cu);

    QImage palette(2, 1, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 255, 0, 255), qRgba(0, 0, 0, 0)});
    palette.setPixel(0, 0, 0);
    palette.setPixel(1, 0, 1);
    WritePng("palette.png", palette);
    const auto* indexed = Get<TImage>(LoadTag("palette.png"));
    ASSERT_EQ(indexed->bitmap.size(), 2u);
    EXPECT_EQ(indexed->bitmap[0], 0xFF00FF00u);
    EXPECT_EQ(indexed->bitmap[1], 0u);
}

TEST_F(MediaTest, ImageFilesThatCannotBeUsedFailTheLoadNamingTheFile) {
    Write("panel.btn.yml", "X: 0\nY: 0\nBase Image: ref(missing.png)\n");
    try {
        LoadTag("panel.btn.yml");
        FAIL() << "a missing image file fails the load";
    } catch (const TagError& error) {
        EXPECT_EQ(error.File(), (dir / "missing.png").string());
        EXPECT_EQ(error.Detail(), "cannot read the picture: No such file or directory");
        EXPECT_EQ(error.Chain(), (std::vector<std::string>{"panel.btn.yml", "missing.png"}));
    }
    Write("broken.png", "not a picture");
    EXPECT_THROW(LoadTag("broken.png"), TagError);
    // A zero device of the test's own (a FIFO where none may be made), through a link.
    if (!MakeDevice(dir / "zero", DeviceKind::Zero)) {
        ASSERT_TRUE(MakeFifo(dir / "zero"));
    }
    std::filesystem::create_symlink("zero", dir / "zero.png");
    EXPECT_THROW(LoadTag("zero.png"), TagError);
    EXPECT_EQ(TagManager()->TagCount(), 0);
}

TEST_F(MediaTest, EmbeddedImagesDecodeAndMissingOnesAreEmpty) {
    InitTags("");
    const auto* missing = Get<TImage>(LoadTag("views/no_such_picture.png"));
    EXPECT_EQ(missing->width, 0);
    EXPECT_EQ(missing->height, 0);
    EXPECT_TRUE(missing->bitmap.empty());

    if (!FindResource("app_background.png", ResourceKind::RawData)) {
        GTEST_SKIP() << "the pictures are not in data/ yet";
    }
    const auto* background = Get<TImage>(LoadTag("app_background.png"));
    EXPECT_EQ(background->width, 1300);
    EXPECT_EQ(background->height, 720);
    EXPECT_EQ(background->bitmap.size() * 4, 1300u * 720 * 4);
}

namespace {
// The decoder of a screen scaled by 2 or more.
class CScaledDecoder : public CQtImageDecoder {
public:
    int PictureScale() const override { return 2; }
};
} // namespace

TEST_F(MediaTest, AScaledScreenGetsTheDoubleSizePictureBesideEachWhenItIsExactlyDouble) {
    CScaledDecoder scaled;
    ScopedOverride<IImageDecoder> useScaled(Platform().imageDecoder, &scaled);
    QImage small(3, 2, QImage::Format_ARGB32);
    small.fill(Qt::red);
    QImage large(6, 4, QImage::Format_ARGB32);
    large.fill(Qt::blue);
    WritePng("sharp.png", small);
    WritePng("sharp@2x.png", large);
    WritePng("odd.png", small);
    WritePng("odd@2x.png", large.copy(0, 0, 5, 4)); // not double: the bitmap is drawn instead
    WritePng("plain.png", small);

    const auto* sharp = Get<TImage>(LoadTag("sharp.png"));
    const ImageRef picture = sharp->Picture();
    EXPECT_EQ(picture.width, 6);
    EXPECT_EQ(picture.scale, 2.0);
    EXPECT_EQ(picture.LogicalWidth(), 3);
    EXPECT_EQ(picture.LogicalHeight(), 2);
    EXPECT_EQ(picture.pixels[0], 0xFF0000FFu);
    EXPECT_EQ(picture.identity, sharp->Bitmap().identity); // one picture, two sizes
    EXPECT_EQ(sharp->Bitmap().width, 3);
    for (const char* name : {"odd.png", "plain.png"}) {
        const ImageRef only = Get<TImage>(LoadTag(name))->Picture();
        EXPECT_EQ(only.width, 3) << name;
        EXPECT_EQ(only.scale, 1.0) << name;
    }
    InitTags(""); // the embedded store has the generator's @2x pictures
    if (FindResource("app_background@2x.png", ResourceKind::RawData)) {
        EXPECT_EQ(Get<TImage>(LoadTag("app_background.png"))->Picture().width, 2600);
    }
}

TEST_F(MediaTest, FontsRegisterTheirFacesUnderTheirNames) {
    InitTags("");
    ASSERT_TRUE(FindResource("fonts/Exo-Bold.ttf", ResourceKind::RawData));
    const TagHandle bold = LoadTag("fonts/Exo-Bold.ttf");
    RefreshTag(bold); // registering the same face again is harmless
    LoadTag("fonts/Exo-Italic.ttf");
    LoadTag("fonts/Exo-Regular.ttf");

    CQtScreenFontFactory factory;
    const auto boldFont = factory.CreateScreenFont("Exo Bold", 55);
    const QFont& font = static_cast<const CQtScreenFont&>(*boldFont).Font();
    EXPECT_EQ(QFontInfo(font).family(), "Exo");
    EXPECT_EQ(QFontInfo(font).weight(), QFont::Bold);
    const auto italic = factory.CreateScreenFont("Exo Italic", 17);
    EXPECT_TRUE(QFontInfo(static_cast<const CQtScreenFont&>(*italic).Font()).italic());
    // An unknown face still yields a font.
    EXPECT_NE(factory.CreateScreenFont("No Such Face", 12), nullptr);
}

// Qt keeps every added font until the process ends; the index it gives the next one counts
// them, so a probe added and removed again tells whether a reload registered anything.
TEST_F(MediaTest, ReloadingTheFontsRegistersThemNoMore) {
    InitTags("");
    const TagHandle bold = LoadTag("fonts/Exo-Bold.ttf");
    const ResourceBytes italic = FindResource("fonts/Exo-Italic.ttf", ResourceKind::RawData);
    ASSERT_TRUE(italic);
    const QByteArray probe(reinterpret_cast<const char*>(italic.data),
                           static_cast<qsizetype>(italic.size));
    const auto probeIndex = [&probe] {
        const int id = QFontDatabase::addApplicationFontFromData(probe);
        QFontDatabase::removeApplicationFont(id);
        return id;
    };
    const int before = probeIndex();
    for (int i = 0; i < 50; ++i) {
        RefreshTag(bold);
    }
    EXPECT_EQ(probeIndex(), before);
}

TEST_F(MediaTest, IconsGiveALargeAndASmallImage) {
    InitTags("");
    if (!FindResource("icons/GasSeparatorIcon_1.ico", ResourceKind::Icon)) {
        GTEST_SKIP() << "the icons are not in data/ yet";
    }
    const auto* icon = Get<TIcon>(LoadTag("icons/GasSeparatorIcon_1.ico"));
    EXPECT_EQ(icon->largeIcon.width, 32);
    EXPECT_EQ(icon->largeIcon.pixels.size(), 32u * 32u);
    EXPECT_EQ(icon->smallIcon.width, 16);
    EXPECT_FALSE(icon->iconData.empty());

    const auto* missing = Get<TIcon>(LoadTag("icons/none.ico"));
    EXPECT_TRUE(missing->largeIcon.pixels.empty());
    EXPECT_TRUE(missing->iconData.empty());
}

// Pictures decoded on the second thread are the ones decoding them in place gives, @2x ones
// and errors included; each is handed out once, and only while its decode-ahead lives.
TEST_F(MediaTest, PicturesDecodedAheadAreThoseDecodedInPlaceErrorsIncluded) {
    CScaledDecoder scaled;
    ScopedOverride<IImageDecoder> useScaled(Platform().imageDecoder, &scaled);
    QImage small(3, 2, QImage::Format_ARGB32);
    small.fill(qRgba(200, 100, 0, 128));
    QImage large(6, 4, QImage::Format_ARGB32);
    large.fill(Qt::blue);
    WritePng("views/sharp.png", small);
    WritePng("views/sharp@2x.png", large);
    Write("views/broken.png", "not a picture");
    Write("panel.btn.yml", "X: 0\nY: 0\nBase Image: ref(views/broken.png)\n");
    std::filesystem::create_directories(dir / "views/loop");
    std::filesystem::create_directory_symlink(dir / "views", dir / "views/loop/back");
    ASSERT_EQ(mkfifo((dir / "views/fifo.png").c_str(), 0600), 0);

    const std::string root = dir.string() + "/";
    std::vector<std::string> listed;
    for (const auto& source : CPictureDecodeAhead::ListPictures(root, true)) {
        EXPECT_EQ(source.fullPath, root + source.path);
        listed.push_back(source.path);
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"views/broken.png", "views/sharp.png",
                                                "views/sharp@2x.png"}));
    EXPECT_EQ(CPictureDecodeAhead::ListPictures(root, false).size(), 2u);

    const auto loadSharp = [&] {
        const auto* image = Get<TImage>(LoadTag("views/sharp.png"));
        return std::make_pair(image->bitmap, image->picture2x.pixels);
    };
    const auto inPlace = loadSharp();
    std::string inPlaceError;
    try {
        LoadTag("panel.btn.yml");
    } catch (const TagError& error) {
        inPlaceError = error.what();
    }
    ASSERT_FALSE(inPlaceError.empty());

    ResetTags();
    InitTags(root);
    {
        CPictureDecodeAhead ahead;
        EXPECT_EQ(CPictureDecodeAhead::Current(), &ahead);
        EXPECT_EQ(loadSharp(), inPlace);
        try {
            LoadTag("panel.btn.yml");
            FAIL() << "a picture that cannot be decoded fails the load";
        } catch (const TagError& error) {
            EXPECT_EQ(error.what(), inPlaceError);
        }
        EXPECT_FALSE(ahead.Take("views/sharp.png", root + "views/sharp.png")); // taken before
        EXPECT_FALSE(ahead.Take("views/other.png", root + "views/other.png")); // not listed
    }
    EXPECT_EQ(CPictureDecodeAhead::Current(), nullptr);

    // Whichever thread comes first, the embedded store's pictures come out the same.
    InitTags("");
    const auto stored = CPictureDecodeAhead::ListPictures("", false);
    std::vector<PixelVector> ahead;
    {
        CPictureDecodeAhead decoding;
        for (const auto& source : stored) {
            ahead.push_back(Get<TImage>(LoadTag(source.path))->bitmap);
        }
        for (const auto& source : stored) { // every one was handed to its tag
            EXPECT_FALSE(decoding.Take(source.path, "")) << source.path;
        }
    }
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(DecodePicture(stored[i].path, "").pixels.pixels, ahead[i]) << stored[i].path;
    }
}

// The pictures a load decodes share one mapping made for all of them from their headers, of
// exactly their size, and given back when the last of them goes.
TEST_F(MediaTest, ThePicturesOfALoadShareOneMappingOfTheirSizeThatGoesWithThem) {
    FakePixelPages pages;
    ScopedOverride<IPixelPages> usePages(Platform().pixelPages, &pages);
    InitTags("");
    const auto stored = CPictureDecodeAhead::ListPictures("", false);
    ASSERT_FALSE(stored.empty());
    std::size_t decodedBytes = 0;
    for (const auto& source : stored) {
        const PixelBuffer picture = DecodePicture(source.path, "").pixels;
        decodedBytes += PixelMemory::RoomFor(
            PngDecodePixels(static_cast<std::size_t>(picture.width), picture.height) * 4);
    }
    ASSERT_TRUE(pages.mapped.empty()) << "pictures outside a load come from the heap";
    {
        CPictureDecodeAhead decoding;
        ASSERT_EQ(pages.mapped.size(), 1u);
        const auto [room, size] = *pages.mapped.begin();
        EXPECT_EQ(size, (decodedBytes + 4095) / 4096 * 4096);
        for (const auto& source : stored) {
            const auto* image = Get<TImage>(LoadTag(source.path));
            EXPECT_EQ(pages.MappingOf(image->bitmap.data()), room) << source.path;
        }
    }
    EXPECT_EQ(pages.mapped.size(), 1u) << "the tags still hold their pictures";
    ResetTags();
    EXPECT_TRUE(pages.mapped.empty());

    // A header that is not a PNG's, or one no picture of ours could have, counts for nothing.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImage(7, 5, QImage::Format_ARGB32).save(&buffer, "PNG"));
    const auto sizeOf = [](const QByteArray& bytes) {
        const PixelSize size = PngPixelSize(reinterpret_cast<const unsigned char*>(bytes.data()),
                                            static_cast<std::size_t>(bytes.size()));
        return std::make_pair(size.width, size.height);
    };
    EXPECT_EQ(sizeOf(png), std::make_pair(7, 5));
    EXPECT_EQ(sizeOf(png.left(23)), std::make_pair(0, 0));
    QByteArray huge = png;
    huge[16] = 0x7f; // a width of about two thousand million
    EXPECT_EQ(sizeOf(huge), std::make_pair(0, 0));
    QByteArray notPng = png;
    notPng[1] = 'Q';
    EXPECT_EQ(sizeOf(notPng), std::make_pair(0, 0));
}
