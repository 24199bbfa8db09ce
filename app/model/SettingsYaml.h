#pragma once
// The YAML reading shared by the settings texts (defaults, presets, cases).

#include <yaml-cpp/yaml.h>

#include <string>

// `text` parsed as a YAML map; SettingsFileError when it is not YAML or not a map.
YAML::Node ParseSettingsMap(const std::string& text);
