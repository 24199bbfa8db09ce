// The committed pictures against the one manifest that the generator also draws from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "tests/assets/AssetReaders.h"

namespace {

using namespace assets;

TEST(Pictures, ManifestListsEveryPictureOfTheTreeOnce) {
    const auto entries = ReadManifest();
    ASSERT_EQ(entries.size(), 91u);
    std::set<std::string> paths;
    for (const auto& entry : entries) {
        EXPECT_TRUE(paths.insert(entry.path).second) << "listed twice: " << entry.path;
        EXPECT_GT(entry.width, 0) << entry.path;
        EXPECT_GT(entry.height, 0) << entry.path;
    }
}

TEST(Pictures, EachPictureHasItsManifestSizeAndLayout) {
    for (const auto& entry : ReadManifest()) {
        SCOPED_TRACE(entry.path);
        const auto file = ReadFile(DataDir() + "/" + entry.path);
        ASSERT_TRUE(file) << "missing";
        const auto header = ReadPngHeader(*file);
        ASSERT_TRUE(header) << "not a well-formed PNG";
        EXPECT_EQ(header->width, std::uint32_t(entry.width));
        EXPECT_EQ(header->height, std::uint32_t(entry.height));
        EXPECT_EQ(header->bitDepth, 8);
        EXPECT_EQ(header->colourType, entry.opaque ? 2 : 6); // RGB or RGBA
    }
}

// Sizes that the program's behaviour depends on: particles take their natural size from their
// pictures, and the button pictures must match their mouse regions.
TEST(Pictures, SizesTheProgramDependsOn) {
    const std::map<std::string, std::pair<int, int>> fixed = {
        {"app_background.png", {1300, 720}},
        {"views/well_model/images/wellbore_casing.png", {272, 722}},
        {"views/well_model/images/wellbore_separator.png", {272, 722}},
        {"views/well_model/images/plunger.png", {81, 177}},
        {"views/well_model/images/ball_valve.png", {27, 26}},
        {"views/well_model/images/ball_valve_base.png", {88, 24}},
        {"views/well_model/images/capacity_warning.png", {209, 140}},
        {"views/well_model/images/dim_casing-width.png", {251, 111}},
        {"views/well_model/images/dim_dip-tube-length.png", {175, 236}},
        {"views/well_model/images/bubble_large_01.png", {49, 28}},
        {"views/well_model/images/bubble_smallDouble.png", {14, 10}},
        {"views/well_model/images/flow_triangle.png", {15, 13}},
        {"views/well_model/images/fluid_02.png", {4, 5}},
        {"views/trapezoid_menu/images/button_run-base.png", {212, 67}},
        {"views/trapezoid_menu/images/button_help-pressed.png", {183, 34}},
        {"views/contact_dialog/images/website-hover.png", {244, 21}},
        {"views/savepreset_dialog/images/save-pressed.png", {107, 29}},
    };
    for (const auto& [path, size] : fixed) {
        SCOPED_TRACE(path);
        const auto file = ReadFile(DataDir() + "/" + path);
        ASSERT_TRUE(file);
        const auto header = ReadPngHeader(*file);
        ASSERT_TRUE(header);
        EXPECT_EQ(int(header->width), size.first);
        EXPECT_EQ(int(header->height), size.second);
    }
}

std::string DoubleResolutionPath(const std::string& path) {
    return path.substr(0, path.size() - 4) + "@2x.png";
}

// Scaled screens use a sibling drawn at twice the resolution; the program swaps it in for the
// 1x file, so its size and layout must follow that file exactly.
TEST(Pictures, EachPictureHasAnAt2xSiblingOfTwiceItsSizeAndItsLayout) {
    for (const auto& entry : ReadManifest()) {
        SCOPED_TRACE(entry.path);
        const auto single = ReadFile(DataDir() + "/" + entry.path);
        const auto twice = ReadFile(DataDir() + "/" + DoubleResolutionPath(entry.path));
        ASSERT_TRUE(single && twice) << "missing";
        const auto one = ReadPngHeader(*single), two = ReadPngHeader(*twice);
        ASSERT_TRUE(one && two) << "not a well-formed PNG";
        EXPECT_EQ(two->width, 2 * one->width);
        EXPECT_EQ(two->height, 2 * one->height);
        EXPECT_EQ(two->bitDepth, one->bitDepth);
        EXPECT_EQ(two->colourType, one->colourType);
    }
}

// No @2x file without its picture: none for icons or documents, none left by a removed picture.
TEST(Pictures, EveryAt2xFileBelongsToAManifestPicture) {
    namespace fs = std::filesystem;
    std::set<std::string> expected;
    for (const auto& entry : ReadManifest())
        expected.insert(DoubleResolutionPath(entry.path));
    size_t found = 0;
    for (const auto& item : fs::recursive_directory_iterator(DataDir())) {
        const std::string path = fs::relative(item.path(), DataDir()).generic_string();
        if (path.find("@2x") == std::string::npos)
            continue;
        EXPECT_TRUE(expected.count(path)) << "no manifest picture for " << path;
        ++found;
    }
    EXPECT_EQ(found, expected.size());
}

TEST(Pictures, ReaderRejectsDamagedFiles) {
    auto file = ReadFile(DataDir() + "/views/well_model/images/bubble_01.png");
    ASSERT_TRUE(file);
    Bytes corrupt = *file;
    corrupt[18] ^= 0x01; // width byte: the IHDR CRC no longer matches
    EXPECT_FALSE(ReadPngHeader(corrupt));
    Bytes truncated(file->begin(), file->end() - 12);
    EXPECT_FALSE(ReadPngHeader(truncated));
    EXPECT_FALSE(ReadPngHeader(Bytes{'n', 'o', 't', 'p', 'n', 'g'}));
}

// Every media file that a tag file refers to must be shipped.
TEST(Pictures, EveryMediaFileReferencedByATagExists) {
    namespace fs = std::filesystem;
    const std::regex reference(R"(ref\(([^)]+\.(png|ttf|ico))\))");
    int checked = 0;
    for (const auto& item : fs::recursive_directory_iterator(DataDir())) {
        if (item.path().extension() != ".yml")
            continue;
        std::ifstream in(item.path());
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), reference);
             it != std::sregex_iterator(); ++it) {
            const std::string target = (*it)[1];
            EXPECT_TRUE(fs::exists(DataDir() + "/" + target))
                << item.path().string() << " refers to missing " << target;
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "no tag file refers to media yet";
}

} // namespace
