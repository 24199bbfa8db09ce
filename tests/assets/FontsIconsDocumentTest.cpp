// Fonts, icons (embedded and for the desktop install) and the information document as shipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "tests/assets/AssetReaders.h"

namespace {

using namespace assets;

struct FontCase {
    const char* file;
    const char* style;
};

TEST(Fonts, EachExoFaceCarriesItsFullFamilyAndStyleNames) {
    for (const FontCase font :
         {FontCase{"Exo-Regular.ttf", "Regular"}, FontCase{"Exo-Bold.ttf", "Bold"},
          FontCase{"Exo-Italic.ttf", "Italic"}}) {
        SCOPED_TRACE(font.file);
        const auto file = ReadFile(DataDir() + "/fonts/" + font.file);
        ASSERT_TRUE(file);
        const auto names = ReadFontNames(*file);
        ASSERT_TRUE(names);
        EXPECT_EQ(names->at(1), "Exo");
        EXPECT_EQ(names->at(2), font.style);
        EXPECT_EQ(names->at(4), std::string("Exo ") + font.style);
        EXPECT_EQ(FontChecksum(*file), 0xB1B0AFBAu) << "head.checkSumAdjustment is wrong";
    }
}

TEST(Fonts, LicenceShipsBesideTheFonts) {
    const auto licence = ReadFile(DataDir() + "/fonts/OFL.txt");
    ASSERT_TRUE(licence);
    const std::string text(licence->begin(), licence->end());
    EXPECT_NE(text.find("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
}

TEST(Icons, BothIconsHoldSixSquare32BitImages) {
    for (const char* name : {"GasSeparatorIcon_1.ico", "GasSeparatorIcon_2.ico"}) {
        SCOPED_TRACE(name);
        const auto file = ReadFile(DataDir() + "/icons/" + name);
        ASSERT_TRUE(file);
        const auto images = ReadIcon(*file);
        ASSERT_TRUE(images);
        std::multiset<int> sizes;
        for (const IconImage& image : *images) {
            sizes.insert(image.size);
            EXPECT_EQ(image.bitCount, 32) << image.size;
            if (!image.png) {
                EXPECT_EQ(image.dibWidth, image.size);
                EXPECT_EQ(image.dibHeight, 2 * image.size); // colour rows plus the AND mask
                EXPECT_EQ(image.dibBitCount, 32);
            }
        }
        EXPECT_EQ(sizes, (std::multiset<int>{16, 24, 32, 48, 64, 256}));
    }
}

TEST(Icons, ReaderRejectsAnImageOutsideTheFile) {
    auto file = ReadFile(DataDir() + "/icons/GasSeparatorIcon_1.ico");
    ASSERT_TRUE(file);
    Bytes cut(file->begin(), file->begin() + file->size() / 2);
    EXPECT_FALSE(ReadIcon(cut));
}

const std::string kHicolor = std::string(GS_SOURCE_DIR) + "/packaging/icons/hicolor";
const std::string kIconName = "com.quillmore.GasSeparator";

TEST(InstallIcons, OneSquareRgbaPngPerThemeSize) {
    for (std::uint32_t size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        SCOPED_TRACE(folder);
        const auto file = ReadFile(kHicolor + "/" + folder + "/apps/" + kIconName + ".png");
        ASSERT_TRUE(file);
        const auto header = ReadPngHeader(*file);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, size);
        EXPECT_EQ(header->height, size);
        EXPECT_EQ(header->colourType, 6); // RGBA
    }
}

TEST(InstallIcons, ScalableIconIsA256PixelSvgWithEveryGradientItUses) {
    const auto file = ReadFile(kHicolor + "/scalable/apps/" + kIconName + ".svg");
    ASSERT_TRUE(file);
    const std::string text(file->begin(), file->end());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find(R"(<svg width="256" height="256")"), std::string::npos);
    EXPECT_NE(text.find(R"(viewBox="0 0 256 256")"), std::string::npos);
    EXPECT_NE(text.find("</svg>"), std::string::npos) << "truncated";
    const std::regex use(R"(url\(#([^)]+)\))");
    int uses = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), use);
         it != std::sregex_iterator(); ++it, ++uses)
        EXPECT_NE(text.find("id=\"" + (*it)[1].str() + "\""), std::string::npos) << (*it)[1];
    EXPECT_GT(uses, 0);
}

class InformationDocument : public ::testing::Test {
protected:
    void SetUp() override {
        auto file = ReadFile(DataDir() + "/docs/GasSeparatorSimulatorGuide.docx");
        ASSERT_TRUE(file);
        bytes = *file;
    }
    Bytes bytes;
};

TEST_F(InformationDocument, IsAWordPackage) {
    const auto names = ReadZipNames(bytes);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->front(), "[Content_Types].xml");
    for (const char* part : {"word/document.xml", "word/styles.xml", "_rels/.rels"})
        EXPECT_NE(std::find(names->begin(), names->end(), part), names->end()) << part;
    const auto types = ReadZipEntry(bytes, "[Content_Types].xml");
    ASSERT_TRUE(types);
    const std::string text(types->begin(), types->end());
    EXPECT_NE(text.find("wordprocessingml.document.main+xml"), std::string::npos);
}

TEST_F(InformationDocument, ExplainsTheModelAndNamesTheContacts) {
    const auto document = ReadZipEntry(bytes, "word/document.xml");
    ASSERT_TRUE(document);
    const std::string text(document->begin(), document->end());
    for (const char* phrase :
         {"What a downhole gas separator does", "Maximum capacity", "Recommended dip tube length",
          "Gas penetration", "Input limits", "gasseparator.defaults.yml",
          "support@quillmore.example", "+1 555 0100", "https://www.quillmore.example"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
}

} // namespace
