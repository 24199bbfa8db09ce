#pragma once
// A font tag: registers the faces of its TrueType file for the process.

#include "app/tags/Tag.h"

class TFont : public Tag {
public:
    void Load(const YAML::Node& node) override;
};
