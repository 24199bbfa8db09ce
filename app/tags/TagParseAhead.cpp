#include "app/tags/TagParseAhead.h"

#include "app/tags/TagManager.h"

#include <unordered_set>
#include <utility>

namespace {
CTagParseAhead* gCurrent = nullptr;
} // namespace

CTagParseAhead::CTagParseAhead(std::string root, std::string tagDirectory,
                               std::size_t maxSourceBytes)
    : root_(std::move(root)), tagDirectory_(std::move(tagDirectory)),
      maxSourceBytes_(maxSourceBytes), previous_(gCurrent) {
    gCurrent = this;
}

CTagParseAhead::~CTagParseAhead() {
    gCurrent = previous_;
}

CTagParseAhead* CTagParseAhead::Current() {
    return gCurrent;
}

std::vector<std::string> CTagParseAhead::DocumentRefs(const std::string& text) {
    std::vector<std::string> refs;
    for (std::size_t at = text.find("ref("); at != std::string::npos;
         at = text.find("ref(", at + 4)) {
        const std::size_t end = text.find_first_of(")\n", at + 4);
        if (end == std::string::npos || text[end] != ')') {
            continue;
        }
        std::string path = text.substr(at + 4, end - at - 4);
        if (IsTagDocument(path)) {
            refs.push_back(std::move(path));
        }
    }
    return refs;
}

// The files in the order the load comes to them, as far as their text tells: depth first from
// the root, each file's refs in the order they are written. Reads each file's text once.
std::vector<std::string> CTagParseAhead::LoadOrder(const std::function<bool()>& stopping) {
    std::vector<std::string> order;
    std::unordered_set<std::string> seen{root_};
    std::vector<std::string> pending{root_}; // a stack: the next file on top
    std::size_t heldBytes = 0;
    while (!pending.empty() && order.size() < kMaxFiles && !stopping()) {
        std::string path = std::move(pending.back());
        pending.pop_back();
        std::string problem;
        const std::string fullPath = tagDirectory_.empty() ? std::string() : tagDirectory_ + path;
        std::string source = ReadTagSource(path, fullPath, problem);
        heldBytes += source.size();
        if (heldBytes > maxSourceBytes_) {
            break; // this file and those after it are parsed in place
        }
        std::vector<std::string> refs = DocumentRefs(source);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            Entry& entry = entries_[path];
            if (entry.state == State::Waiting) { // else the load has taken it already
                entry.source = std::move(source);
                entry.parsed = Parsed{std::move(problem), {}, nullptr};
            }
        }
        order.push_back(std::move(path));
        for (auto ref = refs.rbegin(); ref != refs.rend(); ++ref) {
            if (seen.insert(*ref).second) {
                pending.push_back(std::move(*ref));
            }
        }
    }
    return order;
}

void CTagParseAhead::Work(const std::function<bool()>& stopping) {
    const std::vector<std::string> order = LoadOrder(stopping);
    for (auto path = order.rbegin(); path != order.rend() && !stopping(); ++path) {
        Entry* entry = nullptr;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            entry = &entries_.at(*path);
            if (entry->state != State::Waiting) {
                continue;
            }
            entry->state = State::Parsing;
        }
        // The entry stays where it is while others are added (the map's nodes do not move), and
        // the load does not touch it while it is being parsed.
        try {
            entry->parsed->document = YAML::Load(entry->source);
        } catch (...) {
            entry->parsed->error = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            entry->state = State::Done;
        }
        done_.notify_all();
    }
}

std::optional<CTagParseAhead::Parsed> CTagParseAhead::Take(const std::string& path) {
    std::unique_lock<std::mutex> lock(mutex_);
    Entry& entry = entries_[path]; // a file the worker has not listed stays the caller's
    done_.wait(lock, [&] { return entry.state != State::Parsing; });
    const bool parsed = entry.state == State::Done;
    entry.state = State::Taken;
    if (!parsed) {
        return std::nullopt;
    }
    std::optional<Parsed> result = std::move(entry.parsed);
    entry.source.clear();
    return result;
}
