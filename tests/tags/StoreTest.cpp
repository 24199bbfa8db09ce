// The embedded store: every file under data/, found by relative path in any letter case.

#include "app/files/EmbeddedStore.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
const std::filesystem::path kData = std::filesystem::path(GS_SOURCE_DIR) / "data";

std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(EmbeddedStoreTest, HoldsEveryDataFileByKind) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kData)) {
        const std::string relative = entry.path().lexically_relative(kData).generic_string();
        if (!entry.is_regular_file() || relative == "README.md" || relative[0] == '.') {
            continue;
        }
        ++files;
        const std::string extension = entry.path().extension().string();
        const ResourceKind kind = extension == ".ico" ? ResourceKind::Icon
                                  : extension == ".yml" && relative != "gasseparator.defaults.yml"
                                      ? ResourceKind::TagFile
                                      : ResourceKind::RawData;
        const ResourceBytes bytes = FindResource(relative, kind);
        ASSERT_TRUE(bytes) << relative;
        EXPECT_EQ(bytes.size, entry.file_size()) << relative;
    }
    EXPECT_EQ(ListResources().size(), files);
    EXPECT_FALSE(FindResource("README.md", ResourceKind::RawData));
}

TEST(EmbeddedStoreTest, LookupIgnoresLetterCaseButNotKind) {
    const std::string text = ReadResourceText("app.app.yml");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text, FileText(kData / "app.app.yml"));
    EXPECT_EQ(ReadResourceText("APP.APP.YML"), text);
    EXPECT_EQ(ReadResourceText("App.App.Yml"), text);
    EXPECT_EQ(ReadResourceText("views/no_such.btn.yml"), "");
    EXPECT_EQ(ReadResourceText("app.app.ym"), "");

    EXPECT_TRUE(FindResource("FONTS/EXO-BOLD.TTF", ResourceKind::RawData));
    EXPECT_FALSE(FindResource("fonts/Exo-Bold.ttf", ResourceKind::TagFile));
    // The defaults file is raw data, not a tag file.
    EXPECT_EQ(ReadResourceText("gasseparator.defaults.yml"), "");
    EXPECT_TRUE(FindResource("gasseparator.defaults.yml", ResourceKind::RawData));
}

TEST(EmbeddedStoreTest, ExtractResourceToFileWritesTheExactBytes) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("gs_store_extract_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "defaults.yml";
    std::ofstream(file) << "a longer text that must be truncated away entirely\n";

    EXPECT_TRUE(ExtractResourceToFile("GasSeparator.Defaults.yml", file));
    EXPECT_EQ(FileText(file), FileText(kData / "gasseparator.defaults.yml"));

    EXPECT_FALSE(ExtractResourceToFile("no_such.docx", dir / "missing.docx"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.docx"));
    EXPECT_FALSE(ExtractResourceToFile("app.app.yml", dir / "tag.yml")); // not raw data
    EXPECT_FALSE(ExtractResourceToFile("gasseparator.defaults.yml", dir / "no" / "dir.yml"));
    std::filesystem::remove_all(dir);
}
