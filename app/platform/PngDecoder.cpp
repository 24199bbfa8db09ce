#include "app/platform/PngDecoder.h"

#include "app/platform/Canvas.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::uint32_t kMaxSide = 1 << 15;

std::uint32_t BigEndian(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

struct Chunk {
    const unsigned char* type = nullptr;
    const unsigned char* data = nullptr;
    std::size_t size = 0;

    bool Is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
    bool IsCritical() const { return (type[0] & 0x20) == 0; }
};

// The chunks in order, each one whole and its checksum right; false at the first that is not.
bool ReadChunks(const unsigned char* data, std::size_t size, std::vector<Chunk>& chunks) {
    std::size_t at = sizeof kSignature;
    while (size - at >= 12) {
        const std::size_t length = BigEndian(data + at);
        if (length > size - at - 12) {
            return false;
        }
        const Chunk chunk{data + at + 4, data + at + 8, length};
        if (libdeflate_crc32(0, chunk.type, length + 4) != BigEndian(chunk.data + length)) {
            return false;
        }
        chunks.push_back(chunk);
        at += length + 12;
        if (chunk.Is("IEND")) {
            return true;
        }
    }
    return false; // no end
}

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int channels = 0; // 3: RGB, 4: RGBA
};

// 8 bits a channel, RGB or RGBA, the standard compression and filters, not interlaced.
bool ReadHeader(const Chunk& chunk, Header& header) {
    if (!chunk.Is("IHDR") || chunk.size != 13) {
        return false;
    }
    const unsigned char* d = chunk.data;
    header.width = BigEndian(d);
    header.height = BigEndian(d + 4);
    header.channels = d[9] == 6 ? 4 : d[9] == 2 ? 3 : 0;
    return header.width > 0 && header.height > 0 && header.width <= kMaxSide &&
           header.height <= kMaxSide && d[8] == 8 && header.channels != 0 && d[10] == 0 &&
           d[11] == 0 && d[12] == 0;
}

// The compressed data: one run of IDAT chunks, then only IEND and chunks that do not change
// the pixels here. A palette or a transparent colour goes to the general decoder.
bool CollectData(const std::vector<Chunk>& chunks, std::vector<Chunk>& data) {
    for (std::size_t i = 1; i < chunks.size(); ++i) {
        const Chunk& chunk = chunks[i];
        if (chunk.Is("IDAT")) {
            if (!data.empty() && !chunks[i - 1].Is("IDAT")) {
                return false;
            }
            data.push_back(chunk);
        } else if ((chunk.IsCritical() && !chunk.Is("IEND")) || chunk.Is("tRNS")) {
            return false;
        }
    }
    return !data.empty();
}

int Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Byte-wise arithmetic on the four bytes of a word, without carries between them.
std::uint32_t AddBytes(std::uint32_t x, std::uint32_t y) {
    return ((x & 0x7f7f7f7fu) + (y & 0x7f7f7f7fu)) ^ ((x ^ y) & 0x80808080u);
}
std::uint32_t AverageBytes(std::uint32_t x, std::uint32_t y) {
    return (x & y) + (((x ^ y) & 0xfefefefeu) >> 1);
}
std::uint32_t LoadWord(const unsigned char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, 4);
    return word;
}
void StoreWord(unsigned char* at, std::uint32_t word) {
    std::memcpy(at, &word, 4);
}

#if defined(__SSE2__)
// Paeth on the bytes of a pixel at once, in 16-bit lanes: four bytes are read and written for
// a pixel of three too (the fourth is the next pixel's, written again in its turn), so the
// last pixel of such a row is left to the byte loop. Returns where it stopped.
std::size_t PaethPixels(unsigned char* row, const unsigned char* filtered,
                        const unsigned char* above, std::size_t bytes, std::size_t channels) {
    const __m128i zero = _mm_setzero_si128();
    const auto load = [zero](const unsigned char* at) {
        return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(LoadWord(at))), zero);
    };
    const auto absolute = [zero](__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(zero, x)); };
    const auto choose = [](__m128i mask, __m128i yes, __m128i no) {
        return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
    };
    __m128i a = zero;
    __m128i c = zero;
    std::size_t i = 0;
    for (; i + 4 <= bytes; i += channels) {
        const __m128i b = load(above + i);
        const __m128i towardsA = _mm_sub_epi16(b, c);
        const __m128i towardsB = _mm_sub_epi16(a, c);
        const __m128i pa = absolute(towardsA);
        const __m128i pb = absolute(towardsB);
        const __m128i pc = absolute(_mm_add_epi16(towardsA, towardsB));
        const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i nearest =
            choose(_mm_cmpeq_epi16(least, pa), a, choose(_mm_cmpeq_epi16(least, pb), b, c));
        const __m128i sum =
            _mm_add_epi8(_mm_packus_epi16(nearest, nearest),
                         _mm_cvtsi32_si128(static_cast<int>(LoadWord(filtered + i))));
        StoreWord(row + i, static_cast<std::uint32_t>(_mm_cvtsi128_si32(sum)));
        a = _mm_unpacklo_epi8(sum, zero);
        c = b;
    }
    return i;
}

std::size_t AddRows(unsigned char* row, const unsigned char* filtered, const unsigned char* above,
                    std::size_t bytes) {
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i sum =
            _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(filtered + i)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), sum);
    }
    return i;
}

// Four RGBA pixels at a time, premultiplied in 16-bit lanes with the rounding of the word loop
// below, then put in the order blue, green, red, alpha. Returns the pixels done.
std::size_t PremultiplyPixels(const unsigned char* row, std::uint32_t* pixels, std::size_t width) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i colours = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i alphaTimesWhole = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const __m128i half = _mm_set1_epi16(128);
    const auto two = [&](__m128i wide) {
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(wide, 0xFF), 0xFF);
        __m128i t =
            _mm_mullo_epi16(wide, _mm_or_si128(_mm_and_si128(alpha, colours), alphaTimesWhole));
        t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
        constexpr int kBlueGreenRedAlpha = _MM_SHUFFLE(3, 0, 1, 2);
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(t, kBlueGreenRedAlpha), kBlueGreenRedAlpha);
    };
    std::size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x * 4));
        const __m128i done = _mm_packus_epi16(two(_mm_unpacklo_epi8(bytes, zero)),
                                              two(_mm_unpackhi_epi8(bytes, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + x), done);
    }
    return x;
}
#else
std::size_t PaethPixels(unsigned char*, const unsigned char*, const unsigned char*, std::size_t,
                        std::size_t) {
    return 0;
}
std::size_t AddRows(unsigned char*, const unsigned char*, const unsigned char*, std::size_t) {
    return 0;
}
std::size_t PremultiplyPixels(const unsigned char*, std::uint32_t*, std::size_t) {
    return 0;
}
#endif

// Undoes a row's filter into `row`, from its filtered bytes and the row above (zeros for the
// first row). False for an unknown filter.
bool Unfilter(int filter, unsigned char* row, const unsigned char* filtered,
              const unsigned char* above, std::size_t bytes, int channels) {
    const auto n = static_cast<std::size_t>(channels);
    switch (filter) {
    case 0:
        std::memcpy(row, filtered, bytes);
        return true;
    case 1:
        std::memcpy(row, filtered, n);
        if (channels == 4) {
            for (std::size_t i = 4; i < bytes; i += 4) {
                StoreWord(row + i, AddBytes(LoadWord(filtered + i), LoadWord(row + i - 4)));
            }
            return true;
        }
        for (std::size_t i = n; i < bytes; ++i) {
            row[i] = static_cast<unsigned char>(filtered[i] + row[i - n]);
        }
        return true;
    case 2:
        for (std::size_t i = AddRows(row, filtered, above, bytes); i < bytes; ++i) {
            row[i] = static_cast<unsigned char>(filtered[i] + above[i]);
        }
        return true;
    case 3:
        for (std::size_t i = 0; i < n; ++i) {
            row[i] = static_cast<unsigned char>(filtered[i] + (above[i] >> 1));
        }
        if (channels == 4) {
            for (std::size_t i = 4; i < bytes; i += 4) {
                const std::uint32_t average =
                    AverageBytes(LoadWord(row + i - 4), LoadWord(above + i));
                StoreWord(row + i, AddBytes(LoadWord(filtered + i), average));
            }
            return true;
        }
        for (std::size_t i = n; i < bytes; ++i) {
            row[i] = static_cast<unsigned char>(filtered[i] + ((row[i - n] + above[i]) >> 1));
        }
        return true;
    case 4:
        for (std::size_t i = PaethPixels(row, filtered, above, bytes, n); i < bytes; ++i) {
            const int a = i >= n ? row[i - n] : 0;
            const int c = i >= n ? above[i - n] : 0;
            row[i] = static_cast<unsigned char>(filtered[i] + Paeth(a, above[i], c));
        }
        return true;
    default:
        return false;
    }
}

// A row of RGB or RGBA bytes as premultiplied pixels.
void ToPixels(const unsigned char* row, std::uint32_t* pixels, std::size_t width, int channels) {
    if (channels == 4) {
        RgbaToPixels(row, pixels, width);
        return;
    }
    for (std::size_t x = 0; x < width; ++x, row += 3) {
        pixels[x] = 0xff000000u | std::uint32_t{row[0]} << 16 | std::uint32_t{row[1]} << 8 | row[2];
    }
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* decompressor) const {
        libdeflate_free_decompressor(decompressor);
    }
};

// Inflates the data into the end of the buffer, then turns row after row into pixels from its
// start: a row's pixels never reach the filtered rows not yet read.
bool Inflate(const std::vector<Chunk>& data, unsigned char* into, std::size_t bytes) {
    std::vector<unsigned char> joined;
    const unsigned char* in = data.front().data;
    std::size_t inBytes = data.front().size;
    if (data.size() > 1) {
        for (const Chunk& chunk : data) {
            joined.insert(joined.end(), chunk.data, chunk.data + chunk.size);
        }
        in = joined.data();
        inBytes = joined.size();
    }
    const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    return decompressor && libdeflate_zlib_decompress(decompressor.get(), in, inBytes, into, bytes,
                                                      nullptr) == LIBDEFLATE_SUCCESS;
}
} // namespace

void RgbaToPixels(const unsigned char* rgba, std::uint32_t* pixels, std::size_t width) {
    const std::size_t done = PremultiplyPixels(rgba, pixels, width);
    rgba += done * 4;
    for (std::size_t x = done; x < width; ++x, rgba += 4) {
        const std::uint32_t a = rgba[3];
        std::uint32_t rb = (std::uint32_t{rgba[0]} << 16 | rgba[2]) * a;
        rb = ((rb + ((rb >> 8) & 0xff00ffu) + 0x800080u) >> 8) & 0xff00ffu;
        std::uint32_t g = std::uint32_t{rgba[1]} * a;
        g = (g + ((g >> 8) & 0xffu) + 0x80u) & 0xff00u;
        pixels[x] = a << 24 | g | rb;
    }
}

PixelSize PngPixelSize(const unsigned char* bytes, std::size_t size) {
    static constexpr unsigned char kHeaderChunk[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (size < kPngHeaderBytes || std::memcmp(bytes, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(bytes + sizeof kSignature, kHeaderChunk, sizeof kHeaderChunk) != 0) {
        return {};
    }
    const std::uint32_t width = BigEndian(bytes + 16);
    const std::uint32_t height = BigEndian(bytes + 20);
    if (width > kMaxSide || height > kMaxSide) {
        return {};
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

std::size_t PngDecodePixels(std::size_t width, std::size_t height) {
    return width * height + (height + 3) / 4;
}

bool DecodePlainPng(const unsigned char* data, std::size_t size, std::size_t maxBytes,
                    PixelBuffer& out) {
    std::vector<Chunk> chunks;
    Header header;
    std::vector<Chunk> compressed;
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0 ||
        !ReadChunks(data, size, chunks) || !ReadHeader(chunks.front(), header) ||
        !CollectData(chunks, compressed)) {
        return false;
    }
    const std::size_t width = header.width;
    const std::size_t height = header.height;
    if (width * height * 4 > maxBytes) {
        return false;
    }
    const std::size_t rowBytes = width * static_cast<std::size_t>(header.channels);
    const std::size_t filteredBytes = height * (rowBytes + 1);
    PixelVector pixels(PngDecodePixels(width, height));
    unsigned char* filtered =
        reinterpret_cast<unsigned char*>(pixels.data()) + pixels.size() * 4 - filteredBytes;
    if (!Inflate(compressed, filtered, filteredBytes)) {
        return false;
    }
    std::vector<unsigned char> rows(2 * rowBytes); // this row and the one above, unfiltered
    unsigned char* row = rows.data();
    unsigned char* above = rows.data() + rowBytes;
    std::fill(above, above + rowBytes, 0);
    for (std::size_t y = 0; y < height; ++y, filtered += rowBytes + 1) {
        if (!Unfilter(filtered[0], row, filtered + 1, above, rowBytes, header.channels)) {
            return false;
        }
        ToPixels(row, pixels.data() + y * width, width, header.channels);
        std::swap(row, above);
    }
    pixels.resize(width * height);
    out = NewPixelBuffer(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
    return true;
}
