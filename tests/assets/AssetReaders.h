// Minimal readers for the shipped media formats (PNG header, TrueType name table, ICO
// directory, zip central directory), so the asset tests need no image or font library.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace assets {

using Bytes = std::vector<std::uint8_t>;

std::string DataDir(); // the repository's data/ folder
std::optional<Bytes> ReadFile(const std::string& path);

struct ManifestEntry {
    std::string path;
    int width = 0;
    int height = 0;
    bool opaque = false;
};
std::vector<ManifestEntry> ReadManifest(); // tools/art/manifest.txt

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
};
// The IHDR of a PNG; fails on a bad signature, a missing IHDR, a bad IHDR CRC or no IEND.
std::optional<PngHeader> ReadPngHeader(const Bytes& file);

// Name records of a TrueType font for the Windows platform (3, 1, 0x409), by name ID.
std::optional<std::map<int, std::string>> ReadFontNames(const Bytes& file);
// Sum of the font's 32-bit words; a font with a correct head.checkSumAdjustment sums to
// 0xB1B0AFBA.
std::uint32_t FontChecksum(const Bytes& file);

struct IconImage {
    int size = 0; // 256 for a 0 byte in the directory
    int bitCount = 0;
    bool png = false;
    int dibWidth = 0, dibHeight = 0, dibBitCount = 0; // for BMP entries
};
std::optional<std::vector<IconImage>> ReadIcon(const Bytes& file);

// Entry names of a zip file from its central directory (local headers checked too).
std::optional<std::vector<std::string>> ReadZipNames(const Bytes& file);
// The uncompressed bytes of one zip entry (stored or deflated).
std::optional<Bytes> ReadZipEntry(const Bytes& file, const std::string& name);

} // namespace assets
