#pragma once
// Pictures decoded on a second thread while the tags that refer to them are still being read:
// decoding the pictures is most of the start-up's work, and reading the tags leaves the other
// core idle. Each listed picture is decoded once, by the worker or, when a tag comes to it
// before the worker has begun it, by the tag's own thread; either way the tag gets exactly what
// decoding it in place gives, errors included. A tag that would wait for the worker to finish
// its picture decodes others meanwhile. Pictures no tag asks for are let go with the
// decode-ahead. One at a time, made and used on the user-interface thread.

#include "app/platform/Canvas.h"
#include "app/platform/PngDecoder.h"
#include "app/tags/TagParseAhead.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

// One picture read and decoded: from the tag directory when `fullPath` is set, else from the
// embedded store by `path`.
struct DecodedPicture {
    std::error_code readError; // the tag directory's file could not be read
    bool decoded = false;
    PixelBuffer pixels;
};
DecodedPicture DecodePicture(const std::string& path, const std::string& fullPath);

class CPictureDecodeAhead {
public:
    // Where a picture comes from: a file of the tag directory (`fullPath`), else the store.
    struct Source {
        std::string path;
        std::string fullPath;
    };
    // Pictures beyond these are left to be decoded in place, should a tag use them.
    static constexpr std::size_t kMaxPictures = 1024;
    static constexpr std::uintmax_t kMaxFileBytes = 4 << 20;
    // The worker waits while the pictures it decoded and no tag has taken yet hold this much,
    // so a folder of pictures no tag uses cannot fill the memory.
    static constexpr std::size_t kMaxHeldBytes = 64 << 20;

    // Every picture of the tag directory, or of the embedded store when `tagDirectory` is
    // empty; the "@2x" ones only with `doubleSize`.
    static std::vector<Source> ListPictures(const std::string& tagDirectory, bool doubleSize);

    // Lists the pictures of the tag manager's directory (with the @2x ones on a scaled
    // screen), starts decoding them and publishes itself as Current(). With `then`, the worker
    // parses its tag files ahead once the pictures are done.
    explicit CPictureDecodeAhead(CTagParseAhead* then = nullptr);
    explicit CPictureDecodeAhead(std::vector<Source> pictures, CTagParseAhead* then = nullptr);
    // Stops after the picture or tag file in hand.
    ~CPictureDecodeAhead();
    CPictureDecodeAhead(const CPictureDecodeAhead&) = delete;
    CPictureDecodeAhead& operator=(const CPictureDecodeAhead&) = delete;

    // The picture, decoded ahead, waited for, or decoded now; nullopt when it is not listed,
    // was taken before, or the worker failed on it (the caller then decodes it in place).
    std::optional<DecodedPicture> Take(const std::string& path, const std::string& fullPath);
    // The decode-ahead of the load in progress, or null.
    static CPictureDecodeAhead* Current();

private:
    enum class State { Waiting, Decoding, Done, Taken };
    struct Entry {
        Source source;
        State state = State::Waiting;
        std::optional<DecodedPicture> result;
    };
    static std::string Key(const std::string& path, const std::string& fullPath);
    void Work();
    void DecodePictures();
    void Decode(Entry& entry);
    Entry* LastWaiting();

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> byKey_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool stopping_ = false;
    std::size_t heldBytes_ = 0; // of the pictures decoded and not yet taken
    CPictureDecodeAhead* previous_ = nullptr;
    CTagParseAhead* then_ = nullptr;
    std::thread worker_;
};
