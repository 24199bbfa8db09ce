#pragma once
// A kind of particle a region emits.

#include "app/tags/Tag.h"
#include "app/tags/TagReader.h"

#include <limits>

class TParticle : public Tag {
public:
    static constexpr int kIntMin = std::numeric_limits<int>::min();
    static constexpr int kIntMax = std::numeric_limits<int>::max();

    TagHandle image = 0; // TImage; its size is the particle's natural size
    double lifespan = static_cast<double>(kIntMax);
    double wiggleX = 0.0;
    double wiggleXPeriod = 0.0;
    int alphaMinimum = 255; // percent; the engine scales and clamps
    int alphaMaximum = 255;
    int particlesPerSecond = 0;
    int maxNumberOfParticles = kIntMax;
    double fadeInTime = 0.0;
    int velocityYMinimum = kIntMin;
    int velocityYMaximum = kIntMax;
    int velocityXMinimum = kIntMin;
    int velocityXMaximum = kIntMax;
    int minimumWidth = 0;  // default: the image's width
    int minimumHeight = 0; // default: the image's height
    EdgeBehavior edgeBehaviorX = EdgeBehavior::Bounce;
    EdgeBehavior edgeBehaviorY = EdgeBehavior::Bounce;
    double minimumBounceYLifespan = 0.0;
    double maximumBounceYLifespan = 0.0;
    int imageWidth = 0; // the image's size when the particle was loaded
    int imageHeight = 0;

    void Load(const YAML::Node& node) override;
};
