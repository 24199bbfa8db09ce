#pragma once
// The YAML reading shared by the settings texts (defaults, presets, cases), and the check for
// repeated keys the tag files share with them.

#include <yaml-cpp/yaml.h>

#include <optional>
#include <string>
#include <string_view>

// `text` parsed as a YAML map; SettingsFileError when it is not YAML or not a map.
YAML::Node ParseSettingsMap(const std::string& text);

// The first key of `map` written a second time, and the lines (from 1) of both: a key written
// twice is ambiguous, as the parser keeps the first line while a person who adds a corrected
// line at the end means the last. `exempt` may repeat. None when each key is written once.
struct RepeatedKey {
    std::string key;
    int firstLine = 0;
    int secondLine = 0;
    int secondColumn = 0;
    // "\"SPM\" is given twice (lines 16 and 24)"
    std::string Text() const;
};
std::optional<RepeatedKey> FirstRepeatedKey(const YAML::Node& map, std::string_view exempt = {});

// The start of a message on the value of `key` in `map`: "bad value for \"SPM\" (line 16)",
// the line being the key's, where a person looks (an empty value's own mark is the next line's).
std::string BadValueOf(const YAML::Node& map, std::string_view key);
