#include "tests/assets/AssetReaders.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace assets {
namespace {

std::uint32_t Be32(const Bytes& b, size_t at) {
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) |
           (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}
std::uint16_t Be16(const Bytes& b, size_t at) {
    return std::uint16_t((b[at] << 8) | b[at + 1]);
}
std::uint32_t Le32(const Bytes& b, size_t at) {
    return b[at] | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}
std::uint16_t Le16(const Bytes& b, size_t at) {
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}

std::string Utf16BeToAscii(const Bytes& b, size_t at, size_t length) {
    std::string text;
    for (size_t i = 0; i + 1 < length; i += 2) {
        const std::uint16_t unit = Be16(b, at + i);
        text.push_back(unit < 128 ? char(unit) : '?');
    }
    return text;
}

struct ZipEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t compressedSize = 0, size = 0, localOffset = 0;
};

std::optional<std::vector<ZipEntry>> ReadCentralDirectory(const Bytes& b) {
    if (b.size() < 22)
        return std::nullopt;
    size_t end = b.size() - 22;
    while (Le32(b, end) != 0x06054b50) {
        if (end == 0 || b.size() - end > 22 + 65535)
            return std::nullopt;
        --end;
    }
    const std::uint16_t count = Le16(b, end + 10);
    size_t at = Le32(b, end + 16);
    std::vector<ZipEntry> entries;
    for (int i = 0; i < count; ++i) {
        if (at + 46 > b.size() || Le32(b, at) != 0x02014b50)
            return std::nullopt;
        ZipEntry entry;
        entry.method = Le16(b, at + 10);
        entry.compressedSize = Le32(b, at + 20);
        entry.size = Le32(b, at + 24);
        const std::uint16_t nameLength = Le16(b, at + 28);
        const std::uint16_t extra = Le16(b, at + 30), comment = Le16(b, at + 32);
        entry.localOffset = Le32(b, at + 42);
        if (at + 46 + nameLength > b.size())
            return std::nullopt;
        entry.name.assign(b.begin() + at + 46, b.begin() + at + 46 + nameLength);
        if (entry.localOffset + 30 > b.size() || Le32(b, entry.localOffset) != 0x04034b50)
            return std::nullopt;
        entries.push_back(entry);
        at += 46 + nameLength + extra + comment;
    }
    return entries;
}

} // namespace

std::string DataDir() {
    return std::string(GS_SOURCE_DIR) + "/data";
}

std::optional<Bytes> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<ManifestEntry> ReadManifest() {
    std::ifstream in(std::string(GS_SOURCE_DIR) + "/tools/art/manifest.txt");
    std::vector<ManifestEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        ManifestEntry entry;
        std::string layout;
        fields >> entry.path >> entry.width >> entry.height >> layout;
        entry.opaque = layout == "rgb";
        entries.push_back(entry);
    }
    return entries;
}

std::optional<PngHeader> ReadPngHeader(const Bytes& b) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (b.size() < 8 + 25 + 12 || !std::equal(kSignature, kSignature + 8, b.begin()))
        return std::nullopt;
    if (Be32(b, 8) != 13 || std::string(b.begin() + 12, b.begin() + 16) != "IHDR")
        return std::nullopt;
    if (crc32(0, &b[12], 17) != Be32(b, 29))
        return std::nullopt;
    if (std::string(b.end() - 8, b.end() - 4) != "IEND")
        return std::nullopt;
    return PngHeader{Be32(b, 16), Be32(b, 20), b[24], b[25]};
}

std::optional<std::map<int, std::string>> ReadFontNames(const Bytes& b) {
    if (b.size() < 12)
        return std::nullopt;
    const std::uint16_t tables = Be16(b, 4);
    for (int i = 0; i < tables; ++i) {
        const size_t record = 12 + 16 * i;
        if (record + 16 > b.size())
            return std::nullopt;
        if (std::string(b.begin() + record, b.begin() + record + 4) != "name")
            continue;
        const size_t table = Be32(b, record + 8), length = Be32(b, record + 12);
        if (table + length > b.size() || length < 6)
            return std::nullopt;
        const std::uint16_t count = Be16(b, table + 2), strings = Be16(b, table + 4);
        std::map<int, std::string> names;
        for (int n = 0; n < count; ++n) {
            const size_t r = table + 6 + 12 * n;
            if (r + 12 > table + length)
                return std::nullopt;
            if (Be16(b, r) != 3 || Be16(b, r + 2) != 1 || Be16(b, r + 4) != 0x409)
                continue;
            const size_t at = table + strings + Be16(b, r + 10), size = Be16(b, r + 8);
            if (at + size > table + length)
                return std::nullopt;
            names[Be16(b, r + 6)] = Utf16BeToAscii(b, at, size);
        }
        return names;
    }
    return std::nullopt;
}

std::uint32_t FontChecksum(const Bytes& b) {
    std::uint32_t sum = 0;
    for (size_t i = 0; i < b.size(); i += 4) {
        std::uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < b.size() ? b[i + k] : 0);
        sum += word;
    }
    return sum;
}

std::optional<std::vector<IconImage>> ReadIcon(const Bytes& b) {
    if (b.size() < 6 || Le16(b, 0) != 0 || Le16(b, 2) != 1)
        return std::nullopt;
    const std::uint16_t count = Le16(b, 4);
    std::vector<IconImage> images;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        if (entry + 16 > b.size())
            return std::nullopt;
        IconImage image;
        image.size = b[entry] == 0 ? 256 : b[entry];
        if (b[entry + 1] != b[entry])
            return std::nullopt; // square images only
        image.bitCount = Le16(b, entry + 6);
        const std::uint32_t size = Le32(b, entry + 8), offset = Le32(b, entry + 12);
        if (std::uint64_t(offset) + size > b.size() || size < 40)
            return std::nullopt;
        image.png = b[offset] == 0x89 && b[offset + 1] == 'P';
        if (!image.png) {
            if (Le32(b, offset) != 40)
                return std::nullopt;
            image.dibWidth = int(Le32(b, offset + 4));
            image.dibHeight = int(Le32(b, offset + 8));
            image.dibBitCount = Le16(b, offset + 14);
        }
        images.push_back(image);
    }
    return images;
}

std::optional<std::vector<std::string>> ReadZipNames(const Bytes& b) {
    auto entries = ReadCentralDirectory(b);
    if (!entries)
        return std::nullopt;
    std::vector<std::string> names;
    for (const ZipEntry& entry : *entries)
        names.push_back(entry.name);
    return names;
}

std::optional<Bytes> ReadZipEntry(const Bytes& b, const std::string& name) {
    auto entries = ReadCentralDirectory(b);
    if (!entries)
        return std::nullopt;
    for (const ZipEntry& entry : *entries) {
        if (entry.name != name)
            continue;
        const size_t data = entry.localOffset + 30 + Le16(b, entry.localOffset + 26) +
                            Le16(b, entry.localOffset + 28);
        if (data + entry.compressedSize > b.size())
            return std::nullopt;
        if (entry.method == 0)
            return Bytes(b.begin() + data, b.begin() + data + entry.size);
        if (entry.method != 8)
            return std::nullopt;
        Bytes out(entry.size);
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return std::nullopt;
        stream.next_in = const_cast<Bytef*>(&b[data]);
        stream.avail_in = entry.compressedSize;
        stream.next_out = out.data();
        stream.avail_out = uInt(out.size());
        const int result = inflate(&stream, Z_FINISH);
        inflateEnd(&stream);
        if (result != Z_STREAM_END || stream.total_out != entry.size)
            return std::nullopt;
        return out;
    }
    return std::nullopt;
}

} // namespace assets
