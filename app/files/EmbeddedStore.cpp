#include "app/files/EmbeddedStore.h"

#include "app/files/AtomicFile.h"

#include <cstdint>

namespace {
// One row of the table the build generates from data/ (see cmake/EmbeddedStore.cmake).
struct StoreRecord {
    const char* path;
    const unsigned char* data;
    uint64_t size;
    uint64_t kind;
};
} // namespace

extern "C" const StoreRecord gs_store_table[];
extern "C" const uint64_t gs_store_count;

namespace {
char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}
} // namespace

std::string FoldedResourceName(std::string_view path) {
    std::string name(path);
    for (char& c : name) {
        c = FoldCase(c);
    }
    return name;
}

ResourceBytes FindResource(std::string_view path, ResourceKind kind) {
    for (uint64_t i = 0; i < gs_store_count; ++i) {
        const StoreRecord& record = gs_store_table[i];
        if (record.kind == static_cast<uint64_t>(kind) && SameName(record.path, path)) {
            return {record.data, static_cast<std::size_t>(record.size)};
        }
    }
    return {};
}

std::string ReadResourceText(std::string_view path) {
    const ResourceBytes bytes = FindResource(path, ResourceKind::TagFile);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.data), bytes.size)
                 : std::string();
}

bool ExtractResourceToFile(std::string_view path, const std::filesystem::path& file,
                           std::error_code& error) {
    const ResourceBytes bytes = FindResource(path, ResourceKind::RawData);
    if (!bytes) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return false;
    }
    return WriteFileAtomically(
        file, std::string(reinterpret_cast<const char*>(bytes.data), bytes.size), error);
}

bool ExtractResourceToFile(std::string_view path, const std::filesystem::path& file) {
    std::error_code ignored;
    return ExtractResourceToFile(path, file, ignored);
}

std::vector<ResourceEntry> ListResources() {
    std::vector<ResourceEntry> entries;
    for (uint64_t i = 0; i < gs_store_count; ++i) {
        const StoreRecord& record = gs_store_table[i];
        entries.push_back({record.path, static_cast<ResourceKind>(record.kind),
                           static_cast<std::size_t>(record.size)});
    }
    return entries;
}
