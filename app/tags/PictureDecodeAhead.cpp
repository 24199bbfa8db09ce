#include "app/tags/PictureDecodeAhead.h"

#include "app/files/EmbeddedStore.h"
#include "app/platform/ImageDecoder.h"
#include "app/platform/Platform.h"
#include "app/platform/PngDecoder.h"
#include "app/tags/MediaFile.h"
#include "app/tags/TagManager.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

namespace {
CPictureDecodeAhead* gCurrent = nullptr;

std::size_t BytesOf(const std::optional<DecodedPicture>& picture) {
    return picture ? picture->pixels.pixels.size() * sizeof(std::uint32_t) : 0;
}

bool IsPicture(const std::string& path, bool doubleSize) {
    const std::string name = FoldedResourceName(path);
    const auto endsWith = [&name](const std::string& end) {
        return name.size() >= end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith(".PNG") && (doubleSize || !endsWith("@2X.PNG"));
}

// The regular files of the directory tree, not following links into other folders.
void ListDirectory(const std::string& directory, bool doubleSize,
                   std::vector<CPictureDecodeAhead::Source>& out) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator it(directory, error);
    for (; !error && it != fs::recursive_directory_iterator() &&
           out.size() < CPictureDecodeAhead::kMaxPictures;
         it.increment(error)) {
        std::error_code statError;
        if (!it->is_regular_file(statError) ||
            it->file_size(statError) > CPictureDecodeAhead::kMaxFileBytes || statError) {
            continue;
        }
        const std::string relative = it->path().lexically_relative(directory).generic_string();
        if (IsPicture(relative, doubleSize)) {
            out.push_back({relative, directory + relative});
        }
    }
}

// The first bytes of a regular file, as many as it has up to the buffer's size.
template <std::size_t N>
std::size_t ReadFileStart(const std::string& path, std::array<unsigned char, N>& start) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || error) {
        return 0;
    }
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(N));
    return static_cast<std::size_t>(in.gcount());
}

// The bytes a picture takes decoded, from its PNG header; 0 when the header is not one.
std::size_t DecodedBytes(const CPictureDecodeAhead::Source& source) {
    std::array<unsigned char, kPngHeaderBytes> start{};
    std::size_t size = 0;
    if (!source.fullPath.empty()) {
        size = ReadFileStart(source.fullPath, start);
    } else if (const ResourceBytes stored = FindResource(source.path, ResourceKind::RawData)) {
        size = std::min(stored.size, start.size());
        std::copy_n(stored.data, size, start.begin());
    }
    const PixelSize pixels = PngPixelSize(start.data(), size);
    return PixelMemory::RoomFor(PngDecodePixels(static_cast<std::size_t>(pixels.width),
                                                static_cast<std::size_t>(pixels.height)) *
                                4);
}

// The pictures' decoded bytes together, bounded: the headers are only a guess at what
// decodes, and room set aside but never used costs no memory, only addresses.
std::size_t DecodedBytes(const std::vector<CPictureDecodeAhead::Source>& pictures) {
    constexpr std::size_t kMaxReserved = std::size_t{1} << 30;
    std::size_t total = 0;
    for (const CPictureDecodeAhead::Source& picture : pictures) {
        total = std::min(kMaxReserved, total + DecodedBytes(picture));
    }
    return total;
}
} // namespace

DecodedPicture DecodePicture(const std::string& path, const std::string& fullPath) {
    DecodedPicture out;
    IImageDecoder* decoder = Platform().imageDecoder;
    if (!fullPath.empty()) {
        std::vector<unsigned char> bytes;
        out.readError = ReadMediaFile(fullPath, bytes);
        out.decoded = !out.readError && decoder &&
                      decoder->DecodeImage(bytes.data(), bytes.size(), out.pixels);
    } else if (const ResourceBytes stored = FindResource(path, ResourceKind::RawData)) {
        out.decoded = decoder && decoder->DecodeImage(stored.data, stored.size, out.pixels);
    }
    return out;
}

std::vector<CPictureDecodeAhead::Source>
CPictureDecodeAhead::ListPictures(const std::string& tagDirectory, bool doubleSize) {
    std::vector<Source> pictures;
    if (!tagDirectory.empty()) {
        ListDirectory(tagDirectory, doubleSize, pictures);
        return pictures;
    }
    for (const ResourceEntry& entry : ListResources()) {
        const std::string path(entry.path);
        if (entry.kind == ResourceKind::RawData && entry.size <= kMaxFileBytes &&
            IsPicture(path, doubleSize) && pictures.size() < kMaxPictures) {
            pictures.push_back({path, {}});
        }
    }
    return pictures;
}

CPictureDecodeAhead::CPictureDecodeAhead(CTagParseAhead* then)
    : CPictureDecodeAhead(
          ListPictures(TagManager() ? TagManager()->TagDirectory() : std::string(),
                       Platform().imageDecoder && Platform().imageDecoder->PictureScale() > 1),
          then) {}

CPictureDecodeAhead::CPictureDecodeAhead(std::vector<Source> pictures, CTagParseAhead* then)
    : previous_(gCurrent), then_(then) {
    if (!pictures.empty() && Platform().imageDecoder) {
        // The pictures decoded share one mapping of huge pages, made their size together.
        PixelMemory::Reserve(DecodedBytes(pictures));
    }
    for (Source& source : pictures) {
        const std::string key = Key(source.path, source.fullPath);
        if (byKey_.emplace(key, entries_.size()).second) {
            entries_.push_back({std::move(source), State::Waiting, {}});
        }
    }
    gCurrent = this;
    if ((!entries_.empty() && Platform().imageDecoder) || then_) {
        worker_ = std::thread([this] { Work(); });
    }
}

CPictureDecodeAhead::~CPictureDecodeAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    done_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
    PixelMemory::EndReserve();
    gCurrent = previous_;
}

CPictureDecodeAhead* CPictureDecodeAhead::Current() {
    return gCurrent;
}

// The store's names are found without regard to letter case; file paths are taken as written.
std::string CPictureDecodeAhead::Key(const std::string& path, const std::string& fullPath) {
    if (!fullPath.empty()) {
        return "file:" + fullPath;
    }
    return "store:" + FoldedResourceName(path);
}

// The pictures, then the tag files, until the load ends.
void CPictureDecodeAhead::Work() {
    DecodePictures();
    if (then_) {
        then_->Work([this] {
            const std::lock_guard<std::mutex> lock(mutex_);
            return stopping_;
        });
    }
}

// Takes the pictures in order, skipping those a tag has claimed or its thread is decoding; a
// failure of its own (out of memory) leaves the picture to the tag.
void CPictureDecodeAhead::DecodePictures() {
    for (Entry& entry : entries_) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            done_.wait(lock, [this] { return stopping_ || heldBytes_ < kMaxHeldBytes; });
            if (stopping_) {
                return;
            }
            if (entry.state != State::Waiting) {
                continue;
            }
            entry.state = State::Decoding;
        }
        Decode(entry);
    }
}

// Decodes a picture claimed (Decoding) by the calling thread and hands it on as Done.
void CPictureDecodeAhead::Decode(Entry& entry) {
    std::optional<DecodedPicture> result;
    try {
        result = DecodePicture(entry.source.path, entry.source.fullPath);
    } catch (...) {
        result.reset();
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        entry.result = std::move(result);
        entry.state = State::Done;
        heldBytes_ += BytesOf(entry.result);
    }
    done_.notify_all();
}

// The last picture nobody has begun, while there is room for it; null when there is none.
// The worker goes from the first on, so the two threads meet only at the end.
CPictureDecodeAhead::Entry* CPictureDecodeAhead::LastWaiting() {
    if (heldBytes_ >= kMaxHeldBytes) {
        return nullptr;
    }
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (entry->state == State::Waiting) {
            return &*entry;
        }
    }
    return nullptr;
}

std::optional<DecodedPicture> CPictureDecodeAhead::Take(const std::string& path,
                                                        const std::string& fullPath) {
    const auto found = byKey_.find(Key(path, fullPath));
    if (found == byKey_.end()) {
        return std::nullopt;
    }
    Entry& entry = entries_[found->second];
    std::unique_lock<std::mutex> lock(mutex_);
    if (entry.state == State::Waiting) { // the worker has not come to it: decode it here
        entry.state = State::Taken;
        lock.unlock();
        return DecodePicture(entry.source.path, entry.source.fullPath);
    }
    // While the worker decodes it, this thread decodes others instead of waiting idle.
    while (entry.state == State::Decoding) {
        Entry* other = worker_.joinable() ? LastWaiting() : nullptr;
        if (!other) {
            done_.wait(lock, [&] { return entry.state != State::Decoding; });
            break;
        }
        other->state = State::Decoding;
        lock.unlock();
        Decode(*other);
        lock.lock();
    }
    if (entry.state == State::Taken) {
        return std::nullopt;
    }
    entry.state = State::Taken;
    heldBytes_ -= BytesOf(entry.result);
    lock.unlock();
    done_.notify_all(); // the worker may be waiting for room
    return std::move(entry.result);
}
