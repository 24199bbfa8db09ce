#include "app/tags/Particle.h"

#include "app/tags/Tags.h"

void TParticle::Load(const YAML::Node& node) {
    // The image is loaded first, so its size is known for the minimum-size defaults.
    image = ReadRefAs<TImage>(node, "Image", "TImage");
    const TImage* picture = GetTagAs<TImage>(image);
    imageWidth = picture->width;
    imageHeight = picture->height;
    lifespan = ReadDouble(node, "Lifespan", static_cast<double>(kIntMax));
    wiggleX = ReadDouble(node, "Wiggle X", 0.0);
    wiggleXPeriod = ReadDouble(node, "Wiggle X Period", 0.0);
    alphaMinimum = ReadInt(node, "Alpha Minimum", 255);
    alphaMaximum = ReadInt(node, "Alpha Maximum", 255);
    particlesPerSecond = ReadInt(node, "Particles Per Second", 0);
    maxNumberOfParticles = ReadInt(node, "Max Number of Particles", kIntMax);
    fadeInTime = ReadDouble(node, "Fade in Time", 0.0);
    velocityYMinimum = ReadInt(node, "Velocity Y Minimum", kIntMin);
    velocityYMaximum = ReadInt(node, "Velocity Y Maximum", kIntMax);
    velocityXMinimum = ReadInt(node, "Velocity X Minimum", kIntMin);
    velocityXMaximum = ReadInt(node, "Velocity X Maximum", kIntMax);
    minimumWidth = ReadInt(node, "Minimum Width", imageWidth);
    minimumHeight = ReadInt(node, "Minimum Height", imageHeight);
    edgeBehaviorX = ReadEdgeBehavior(node, "Edge Behavior X");
    edgeBehaviorY = ReadEdgeBehavior(node, "Edge Behavior Y");
    minimumBounceYLifespan = ReadDouble(node, "Minimum Bounce Y Lifespan", 0.0);
    maximumBounceYLifespan = ReadDouble(node, "Maximum Bounce Y Lifespan", 0.0);
}
