#pragma once
// The parameter defaults record (the defaults file's keys).

#include "app/tags/Tag.h"

#include <string>

class TDefaults : public Tag {
public:
    double casingSize = 0.0;
    std::string presetName;
    double separatorOd = 0.0;
    double separatorId = 0.0;
    double dipTubeOd = 0.0;
    double dipTubeId = 0.0;
    double dipTubeLength = 0.0;
    double gasBubbleRiseVelocity = 0.0;
    double productionRate = 0.0;
    double spm = 0.0;

    void Load(const YAML::Node& node) override;
};
