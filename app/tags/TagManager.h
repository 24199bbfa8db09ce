#pragma once
// The tag manager: turns relative paths into loaded, shared tag objects, places the tree and
// re-reads it in place. One per process; user-interface thread only.
//
// Error policy of the tag layer: a tag that cannot be loaded (a missing or unreadable file, bad
// YAML, a missing key, a value that does not convert, a ref to the wrong kind of tag, a cycle,
// a picture of the tag directory that cannot be read or decoded)
// throws TagError naming the file, the position and the chain of referring tags; nothing of a
// failed load is registered. The callers decide: the start-up reports it and ends, a reload
// reports it and keeps running. GetTag beyond the registry throws std::out_of_range (a
// programming error). Using the tag functions with no manager is reported as a wiring error.

#include "app/tags/Tag.h"

#include <yaml-cpp/yaml.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

class CTagManager {
public:
    // A new, empty tag of the class the extension names, or nullptr (with a debug trace).
    static Tag* CreateTag(const std::string& type);

    // LoadTagAt(path, false), then OnLoaded on the result. Throws TagError.
    TagHandle LoadTag(const std::string& path);
    // The registered tag; nullptr for 0; std::out_of_range beyond the registry.
    Tag* GetTag(TagHandle handle) const;
    // Re-reads the tag and everything it refers to; handles stay valid. Throws TagError.
    void RefreshTag(TagHandle handle);

    // LoadTagAt(path, refreshing), without OnLoaded; used by the ref readers.
    TagHandle ResolveRef(const std::string& path);
    // First registered tag whose path equals `path` byte for byte, or 0.
    TagHandle FindTag(const std::string& path) const;
    // Registers the tag, replacing (and destroying) a tag with the same path in place.
    TagHandle RegisterTag(std::unique_ptr<Tag> tag);
    // Loads (or, unless forced, shares) the tag at `path`. Throws TagError; a failed load
    // registers nothing for `path`.
    TagHandle LoadTagAt(const std::string& path, bool force);

    void SetTagDirectory(const std::string& directory) { tagDirectory = directory; }
    const std::string& TagDirectory() const { return tagDirectory; }
    bool Refreshing() const { return refreshing; }
    // Number of registered tags (handles 1 to TagCount()).
    int TagCount() const { return tags.empty() ? 0 : static_cast<int>(tags.size()) - 1; }

private:
    std::vector<std::unique_ptr<Tag>> tags; // element 0 stays empty
    std::string tagDirectory;               // prefix for tag files; empty: embedded store
    bool refreshing = false;
    std::vector<std::string> loading; // paths being loaded, outermost first (cycle check)

    std::unique_ptr<Tag> ReadTag(const std::string& path);
    YAML::Node ParseDocument(const Tag& tag, std::string& problem) const;
    void LoadDocument(Tag& tag);
};

// Whether the tag file at `path` is YAML (its name ends in "yml"); the class of any other
// tag (a picture, a font) reads its file itself.
bool IsTagDocument(const std::string& path);

// The text of the tag file at `path`: from `fullPath` when set, else from the embedded store;
// `problem` says why there is none (empty when there is one). Any thread.
std::string ReadTagSource(const std::string& path, const std::string& fullPath,
                          std::string& problem);

// The process-wide manager, published by its owner (the application, or a tool or test that
// loads tags of its own); null when there is none.
extern CTagManager* gTagManager;
inline CTagManager* TagManager() {
    return gTagManager;
}

// Sets the process-wide manager's tag directory. The directory is joined to each path as it
// is, so it normally ends with a slash.
void InitTags(const std::string& directory);

TagHandle LoadTag(const std::string& path);
Tag* GetTag(TagHandle handle);
void RefreshTag(TagHandle handle);
TagHandle ResolveRef(const std::string& path);

// The tag at `handle` as class T, or nullptr when there is none or it has another class. A tag
// of exactly class T (nearly every call: views look up their tags every frame) is known by its
// type alone, without the search through the class tree a dynamic_cast makes.
template <class T> T* GetTagAs(TagHandle handle) {
    Tag* tag = GetTag(handle);
    if (tag && typeid(*tag) == typeid(T)) {
        return static_cast<T*>(tag);
    }
    return dynamic_cast<T*>(tag);
}

// The type extension of a path: the second piece when split at '.' ("a.b/c.btn.yml" gives
// "b/c"); empty when the path has no '.'.
std::string TagType(const std::string& path);

// The tag directory configured by the environment variable GAS_SEPARATOR_TAG_DIR; empty when
// unset or empty (tags then come from the embedded store). A slash is appended when missing.
std::string TagDirectoryFromEnvironment();
