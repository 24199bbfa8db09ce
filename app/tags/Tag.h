#pragma once
// The base of every tag: a loaded, typed record of one tag file or media file, owned by the
// tag manager and reached through its handle.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace YAML {
class Node;
}

// Index of a tag in the manager's registry; 0 names no tag. Stable across a refresh.
using TagHandle = int32_t;

class Tag {
public:
    Tag() = default;
    Tag(const Tag&) = delete;
    Tag& operator=(const Tag&) = delete;
    virtual ~Tag() = default;

    std::string type;     // the type extension ("btn", "png", ...)
    std::string path;     // relative path as referenced; the registry key
    std::string fullPath; // tag directory + path, or empty for the embedded store
    TagHandle handle = 0;

    // Reads the tag's keys; media tags receive an empty node and read their file instead.
    virtual void Load(const YAML::Node& node) = 0;
    // Run on the tag LoadTag returns and on the tag RefreshTag refreshes.
    virtual void OnLoaded() {}
};

// A tag with a position: "X"/"Y" offsets from the parent's absolute origin, and the absolute
// window coordinates the placement walk computes.
class TPlaceable : public Tag {
public:
    int x = 0;
    int y = 0;
    int absX = 0;
    int absY = 0;

    // Generic rule: absolute position = parent origin + offset; subclasses then place the
    // tags they reference with their own absolute origin.
    virtual void Place(int parentX, int parentY);
};

// A failed tag load: the file, the position in it when known, what was wrong, and the chain
// of tags that referred to the file (outermost first, ending with the file itself).
class TagError : public std::runtime_error {
public:
    TagError(std::string file, int line, int column, std::string detail,
             std::vector<std::string> chain = {});

    const std::string& File() const { return file_; }
    int Line() const { return line_; } // 1-based; 0 when unknown
    int Column() const { return column_; }
    const std::string& Detail() const { return detail_; }
    const std::vector<std::string>& Chain() const { return chain_; }

    // The same error as seen from `referrer`, which refers to the failing tag.
    TagError ReferredFrom(const std::string& referrer) const;
    // For a person: the file in quotes, the line and column when known, what is wrong, then
    // the tags that refer to the file, one per line.
    std::string Explain() const;

private:
    std::string file_;
    int line_;
    int column_;
    std::string detail_;
    std::vector<std::string> chain_;
};

class IScreenFont;
// Replaces `font` at placement: the previous font is deleted first; a new one is created only
// for a non-empty face name and a size above 0 (and when the platform offers screen fonts).
void RecreateScreenFont(std::unique_ptr<IScreenFont>& font, const std::string& faceName, int size);
