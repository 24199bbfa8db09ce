#include "app/tags/TagReader.h"

#include "app/tags/TagManager.h"

#include <yaml-cpp/yaml.h>

namespace {
std::string Quoted(const char* key) {
    return std::string("\"") + key + "\"";
}

[[noreturn]] void FailAt(const YAML::Node& value, const std::string& detail) {
    const YAML::Mark mark = value.Mark();
    if (mark.is_null()) {
        throw TagValueError(detail);
    }
    throw TagValueError(detail, mark.line + 1, mark.column + 1);
}

// The value under `key`, or an invalid node when the key is absent. A document that is not
// a map (and not empty) cannot hold keys at all.
YAML::Node Lookup(const YAML::Node& node, const char* key) {
    if (node.IsNull()) {
        return YAML::Node(YAML::NodeType::Undefined);
    }
    if (!node.IsMap()) {
        FailAt(node, "expected a map of keys, reading " + Quoted(key));
    }
    const YAML::Node value = node[key];
    return value.IsDefined() ? value : YAML::Node(YAML::NodeType::Undefined);
}

YAML::Node Required(const YAML::Node& node, const char* key) {
    YAML::Node value = Lookup(node, key);
    if (!value.IsDefined()) {
        throw TagValueError("missing key " + Quoted(key));
    }
    return value;
}

std::string ScalarText(const YAML::Node& value) {
    return value.IsScalar() ? "'" + value.Scalar() + "'" : "a non-scalar value";
}

template <class T> T Convert(const YAML::Node& value, const char* key, const char* typeName) {
    T result{};
    if (!value.IsScalar() || !YAML::convert<T>::decode(value, result)) {
        FailAt(value,
               "bad value for " + Quoted(key) + ": " + ScalarText(value) + " is not " + typeName);
    }
    return result;
}

template <class T>
T ReadOptional(const YAML::Node& node, const char* key, const T& fallback, const char* name) {
    const YAML::Node value = Lookup(node, key);
    return value.IsDefined() ? Convert<T>(value, key, name) : fallback;
}

TagHandle ResolveValue(const YAML::Node& value, const char* key) {
    if (!value.IsScalar()) {
        FailAt(value, "bad value for " + Quoted(key) + ": a ref must be a scalar");
    }
    std::string path;
    try {
        path = RefPath(value.Scalar());
    } catch (const TagValueError& error) {
        FailAt(value, "bad value for " + Quoted(key) + ": " + error.what());
    }
    if (TagType(path).empty()) {
        FailAt(value,
               "bad value for " + Quoted(key) + ": the path '" + path + "' has no type extension");
    }
    return ResolveRef(path);
}
} // namespace

int ReadInt(const YAML::Node& node, const char* key) {
    return Convert<int>(Required(node, key), key, "an integer");
}

int ReadInt(const YAML::Node& node, const char* key, int fallback) {
    return ReadOptional<int>(node, key, fallback, "an integer");
}

double ReadDouble(const YAML::Node& node, const char* key) {
    return Convert<double>(Required(node, key), key, "a number");
}

double ReadDouble(const YAML::Node& node, const char* key, double fallback) {
    return ReadOptional<double>(node, key, fallback, "a number");
}

bool ReadBool(const YAML::Node& node, const char* key, bool fallback) {
    return ReadOptional<bool>(node, key, fallback, "a boolean");
}

std::string ReadString(const YAML::Node& node, const char* key) {
    return Convert<std::string>(Required(node, key), key, "a string");
}

std::string ReadString(const YAML::Node& node, const char* key, const std::string& fallback) {
    return ReadOptional<std::string>(node, key, fallback, "a string");
}

std::string RefPath(const std::string& text) {
    if (text.size() < 5) {
        throw TagValueError("'" + text + "' is not a ref(path) value");
    }
    return text.substr(4, text.size() - 5);
}

TagHandle ReadRef(const YAML::Node& node, const char* key) {
    return ResolveValue(Required(node, key), key);
}

TagHandle ReadOptionalRef(const YAML::Node& node, const char* key) {
    const YAML::Node value = Lookup(node, key);
    return value.IsDefined() ? ResolveValue(value, key) : 0;
}

std::vector<TagHandle> ReadRefList(const YAML::Node& node, const char* key) {
    const YAML::Node list = Lookup(node, key);
    std::vector<TagHandle> handles;
    if (!list.IsDefined()) {
        return handles;
    }
    if (!list.IsSequence()) {
        FailAt(list, "bad value for " + Quoted(key) + ": expected a list of refs");
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        handles.push_back(ResolveValue(list[i], key));
    }
    return handles;
}

uint32_t ReadColor(const YAML::Node& node, const char* key, uint32_t fallback) {
    const YAML::Node value = Lookup(node, key);
    if (!value.IsDefined()) {
        return fallback;
    }
    if (!value.IsSequence() || value.size() < 3) {
        FailAt(value, "bad value for " + Quoted(key) + ": expected a colour [R, G, B]");
    }
    uint32_t color = 0xFF000000u;
    for (std::size_t i = 0; i < 3; ++i) {
        // Only the low eight bits of each component count (also for negative values).
        const auto component = static_cast<uint32_t>(Convert<int>(value[i], key, "an integer"));
        color |= (component & 0xFFu) << (8 * (2 - i));
    }
    return color;
}

EdgeBehavior ReadEdgeBehavior(const YAML::Node& node, const char* key) {
    const std::string text = ReadString(node, key, "");
    if (text == "Flow") {
        return EdgeBehavior::Flow;
    }
    return text == "Death" ? EdgeBehavior::Death : EdgeBehavior::Bounce;
}

void FailRefClass(const YAML::Node& node, const char* key, TagHandle handle, const char* expected) {
    const Tag* tag = GetTag(handle);
    const std::string found = tag ? tag->path : std::string("nothing");
    FailAt(node[key], "bad value for " + Quoted(key) + ": " + found + " is not a " + expected);
}
