// Helpers shared by the tests that read the shipped tag tree under data/.
#pragma once

#include <gtest/gtest.h>
#include <yaml-cpp/yaml.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tagtree {

inline std::filesystem::path DataDir() {
    return std::filesystem::path(GS_SOURCE_DIR) / "data";
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Loads a tag file by its path relative to the tag root; throws when the file is missing so
// that a test fails with the path in the message rather than on an empty node.
inline YAML::Node Tag(const std::string& rel) {
    const auto file = DataDir() / rel;
    if (!std::filesystem::exists(file))
        throw std::runtime_error("missing tag file " + rel);
    return YAML::LoadFile(file.string());
}

inline bool IsRefText(const std::string& text) {
    return text.size() > 5 && text.rfind("ref(", 0) == 0 && text.back() == ')';
}

// The path inside ref(...), cut the way the tag reader cuts it: four characters off the front
// and one off the back.
inline std::string RefPath(const YAML::Node& value) {
    const auto text = value.as<std::string>();
    if (!IsRefText(text))
        throw std::runtime_error("not a ref: " + text);
    return text.substr(4, text.size() - 5);
}

inline std::vector<std::string> RefList(const YAML::Node& list) {
    std::vector<std::string> paths;
    for (const auto& item : list)
        paths.push_back(RefPath(item));
    return paths;
}

// The type extension: the second piece of the path split at '.'.
// A picture's width and height as the art manifest lists them; (0, 0) when it is not listed.
inline std::pair<int, int> PictureSize(const std::string& rel) {
    std::istringstream manifest(ReadBytes(DataDir() / ".." / "tools" / "art" / "manifest.txt"));
    std::string path;
    int width = 0, height = 0;
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line);
        if (fields >> path >> width >> height && path == rel) {
            return {width, height};
        }
    }
    return {0, 0};
}

inline std::string TypeOf(const std::string& path) {
    const auto first = path.find('.');
    if (first == std::string::npos)
        return {};
    const auto second = path.find('.', first + 1);
    return path.substr(first + 1,
                       second == std::string::npos ? std::string::npos : second - first - 1);
}

inline bool IsMedia(const std::string& path) {
    return path.size() < 3 || path.substr(path.size() - 3) != "yml";
}

// Every .yml file below data/, as paths relative to it with forward slashes.
inline std::vector<std::string> AllYamlFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataDir())) {
        if (entry.is_regular_file() && entry.path().extension() == ".yml")
            files.push_back(entry.path().lexically_relative(DataDir()).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace tagtree
