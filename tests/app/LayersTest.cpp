// Each folder of the program includes only the layers it may use (README, "Layers"): a model that
// reaches for Qt or a view that reaches for a controller fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
// The folders a folder's sources may include from, besides their own.
const std::map<std::string, std::vector<std::string>> kMayUse = {
    {"app/model", {}},
    {"app/platform", {}},
    {"app/files", {"app/platform/"}},
    {"app/services", {"app/model/", "app/files/", "app/platform/", "common/"}},
    {"app/tags", {"app/services/", "app/model/", "app/files/", "app/platform/", "common/"}},
    {"app/window_manager",
     {"app/tags/", "app/services/", "app/model/", "app/files/", "app/platform/", "common/"}},
};

// The project headers (`#include "..."`) of one source file.
std::vector<std::string> ProjectIncludes(const fs::path& file) {
    std::ifstream in(file);
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> found;
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, match, include)) {
            found.push_back(match[1]);
        }
    }
    return found;
}

// Angle includes of Qt.
bool IncludesQt(const fs::path& file) {
    std::ifstream in(file);
    static const std::regex qt(R"(^\s*#\s*include\s*<Q)");
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, qt)) {
            return true;
        }
    }
    return false;
}
} // namespace

TEST(Layers, EveryFolderIncludesOnlyWhatItMayUse) {
    const fs::path root = GS_SOURCE_DIR;
    for (const auto& [folder, allowed] : kMayUse) {
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            if (!entry.is_regular_file()) {
                continue; // app/platform/qt is the Qt layer, checked below
            }
            const fs::path& file = entry.path();
            EXPECT_FALSE(IncludesQt(file)) << file;
            for (const std::string& header : ProjectIncludes(file)) {
                bool ok = header.rfind(folder + "/", 0) == 0;
                for (const std::string& prefix : allowed) {
                    ok = ok || header.rfind(prefix, 0) == 0;
                }
                EXPECT_TRUE(ok) << file.string() << " includes " << header;
            }
        }
    }
}
