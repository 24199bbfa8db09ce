#pragma once
// Value readers used by every tag's Load. Required readers fail with TagError when the key
// is missing; the optional ones return their default when the key is absent. A present value
// that does not convert is an error either way.

#include "Tag.h"

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
