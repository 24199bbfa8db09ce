#pragma once
// Rectangles that emit particles.

#include "app/tags/Tag.h"

#include <vector>

struct SpawnRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class TParticleRegion : public TPlaceable {
public:
    int height = 0;
    int width = 0;
    int particleCreationBoundsX = 0;
    int particleCreationBoundsY = 0;
    int particleCreationBoundsHeight = 0; // default: region height
    int particleCreationBoundsWidth = 0;  // default: region width
    int minimumHeight = 0;                // default: region height
    std::vector<TagHandle> particles;     // TParticle
    int bottomCurveRadius = 0;
    // Spawn rectangle relative to the region: bounds X/Y to X/Y + width/height.
    SpawnRect creationBounds;

    void Load(const YAML::Node& node) override;
};

class TDipTubeParticleRegion : public TParticleRegion {
public:
    int dipTubeX = 0; // the dip tube's rectangle inside the region
    int dipTubeY = 0;
    int dipTubeHeight = 0;
    int dipTubeWidth = 0;

    void Load(const YAML::Node& node) override;
};

class TFlowIndicator : public TParticleRegion {};
