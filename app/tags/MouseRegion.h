#pragma once
// A hit rectangle relative to its owner and the event a click raises.

#include "app/tags/Tag.h"

#include <string>

class TMouseRegion : public TPlaceable {
public:
    int width = 0;
    int height = 0;
    std::string clickEvent;

    void Load(const YAML::Node& node) override;
};
