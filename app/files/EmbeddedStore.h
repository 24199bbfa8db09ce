#pragma once
// The data files compiled into the executable: every file under data/ (except its README),
// looked up by its relative path as written in refs ("views/button_bar.btnb.yml"), without
// regard to letter case. On Windows these were resources named with the path wrapped in
// double quotes; here the relative path itself is the name, no quotes.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

enum class ResourceKind {
    TagFile = 0, // *.yml except the defaults file
    RawData = 1, // images, fonts, documents, the defaults file
    Icon = 2,    // *.ico
};

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// The stored bytes of the resource of that kind, or an empty result.
ResourceBytes FindResource(std::string_view path, ResourceKind kind);
// The name as the store compares names, without regard to ASCII letter case: every spelling of
// one resource's name gives the same text.
std::string FoldedResourceName(std::string_view path);
// The bytes of the tag file exactly as stored; empty when there is none.
std::string ReadResourceText(std::string_view path);
// Writes the raw-data resource to `file`, replacing it atomically (app/AtomicFile.h). True only
// when the whole write succeeded; a missing resource writes nothing and returns false.
bool ExtractResourceToFile(std::string_view path, const std::filesystem::path& file,
                           std::error_code& error);
bool ExtractResourceToFile(std::string_view path, const std::filesystem::path& file);

struct ResourceEntry {
    std::string_view path; // as stored under data/
    ResourceKind kind;
    std::size_t size;
};
// Every stored resource in path order.
std::vector<ResourceEntry> ListResources();
