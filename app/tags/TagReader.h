#pragma once
// Value readers used by every tag's Load. Required readers fail with TagError when the key
// is missing; the optional ones return their default when the key is absent. A present value
// that does not convert is an error either way.

#include "app/tags/Tag.h"
#include "app/tags/TagManager.h"

#include <stdexcept>

#include <cstdint>
#include <string>
#include <vector>

enum class EdgeBehavior { Bounce = 0, Flow = 1, Death = 2 };

int ReadInt(const YAML::Node& node, const char* key);
int ReadInt(const YAML::Node& node, const char* key, int fallback);
double ReadDouble(const YAML::Node& node, const char* key);
double ReadDouble(const YAML::Node& node, const char* key, double fallback);
bool ReadBool(const YAML::Node& node, const char* key, bool fallback);
std::string ReadString(const YAML::Node& node, const char* key);
std::string ReadString(const YAML::Node& node, const char* key, const std::string& fallback);
// A "ref(path)" scalar: four leading and one trailing character are dropped unchecked; the
// rest is resolved through the tag manager.
TagHandle ReadRef(const YAML::Node& node, const char* key);
TagHandle ReadOptionalRef(const YAML::Node& node, const char* key);          // 0 when absent
std::vector<TagHandle> ReadRefList(const YAML::Node& node, const char* key); // empty if absent
// [R, G, B] packed as 0xFFRRGGBB from the low eight bits of each element.
uint32_t ReadColor(const YAML::Node& node, const char* key, uint32_t fallback);
// "Bounce", "Flow" or "Death"; absent or any other text: Bounce.
EdgeBehavior ReadEdgeBehavior(const YAML::Node& node, const char* key);

// The path inside a ref scalar's text; TagError when the text is too short to hold one.
std::string RefPath(const std::string& text);

// A value error found by a reader; the tag manager turns it into a TagError naming the file
// and the chain of referring tags. Line and column are 1-based, 0 when unknown.
class TagValueError : public std::runtime_error {
public:
    TagValueError(const std::string& detail, int line = 0, int column = 0)
        : std::runtime_error(detail), line(line), column(column) {}
    int line;
    int column;
};

// Fails the load: the ref under `key` names a tag that is not a `expected`.
[[noreturn]] void FailRefClass(const YAML::Node& node, const char* key, TagHandle handle,
                               const char* expected);

// ReadRef, ReadOptionalRef and ReadRefList that also check the class of the referenced tag,
// so a ref to the wrong kind of file fails the load instead of surprising a view later.
template <class T>
TagHandle ReadRefAs(const YAML::Node& node, const char* key, const char* className) {
    const TagHandle handle = ReadRef(node, key);
    if (!GetTagAs<T>(handle)) {
        FailRefClass(node, key, handle, className);
    }
    return handle;
}

template <class T>
TagHandle ReadOptionalRefAs(const YAML::Node& node, const char* key, const char* className) {
    const TagHandle handle = ReadOptionalRef(node, key);
    if (handle != 0 && !GetTagAs<T>(handle)) {
        FailRefClass(node, key, handle, className);
    }
    return handle;
}

template <class T>
std::vector<TagHandle> ReadRefListAs(const YAML::Node& node, const char* key,
                                     const char* className) {
    std::vector<TagHandle> handles = ReadRefList(node, key);
    for (const TagHandle handle : handles) {
        if (!GetTagAs<T>(handle)) {
            FailRefClass(node, key, handle, className);
        }
    }
    return handles;
}
