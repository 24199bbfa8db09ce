#pragma once
// Tag files parsed on the picture worker once its pictures are decoded, while the
// user-interface thread is still reading the tags: parsing the YAML is the largest part of the
// tag load left to that thread, and by then the worker has nothing else to do. The worker takes
// the files in the reverse of the order the load comes to them (the refs of each file's text,
// depth first from the root), so the two threads meet in the middle instead of in the same
// files. Each file is parsed once: by the worker, or by the load when it comes to one the worker
// has not begun; either way the load gets exactly what parsing it in place gives, errors
// included. Files no tag asks for are let go with the parse-ahead. One at a time, made and
// used on the user-interface thread.

#include <yaml-cpp/yaml.h>

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CTagParseAhead {
public:
    // One tag file read and parsed, as the load would have read and parsed it.
    struct Parsed {
        std::string problem;      // why the file has no text (see ReadTagSource)
        YAML::Node document;      // when parsing succeeded
        std::exception_ptr error; // what parsing threw, rethrown where the load parses
    };
    // The worker lists at most this many files, holding at most this much of their text (the
    // shipped tags are some 260 files and 62 KB); the rest are parsed in place.
    static constexpr std::size_t kMaxFiles = 4096;
    static constexpr std::size_t kMaxSourceBytes = 1 << 20;

    // From the root tag `root`, of the tag directory `tagDirectory` (the embedded store when
    // empty). Publishes itself as Current(); nothing is read until Work.
    CTagParseAhead(std::string root, std::string tagDirectory,
                   std::size_t maxSourceBytes = kMaxSourceBytes);
    ~CTagParseAhead();
    CTagParseAhead(const CTagParseAhead&) = delete;
    CTagParseAhead& operator=(const CTagParseAhead&) = delete;

    // On the worker: lists the files, then parses them from the last on, until `stopping`.
    void Work(const std::function<bool()>& stopping);
    // The file, parsed ahead or waited for; nullopt when the caller is to parse it in place
    // (the worker has not begun it, or it was taken before).
    std::optional<Parsed> Take(const std::string& path);
    // The parse-ahead of the load in progress, or null.
    static CTagParseAhead* Current();

    // The tag files that `text` refers to, in the order they are written ("ref(path)").
    static std::vector<std::string> DocumentRefs(const std::string& text);

private:
    enum class State { Waiting, Parsing, Done, Taken };
    struct Entry {
        State state = State::Waiting;
        std::string source;
        std::optional<Parsed> parsed;
    };
    std::vector<std::string> LoadOrder(const std::function<bool()>& stopping);

    std::string root_;
    std::string tagDirectory_;
    std::size_t maxSourceBytes_;
    std::unordered_map<std::string, Entry> entries_;
    std::mutex mutex_;
    std::condition_variable done_;
    CTagParseAhead* previous_ = nullptr;
};
