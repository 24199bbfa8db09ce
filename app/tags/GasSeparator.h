#pragma once
// The animated well: casing, separator, pump, particle regions and dimension lines.

#include "app/tags/Tag.h"

#include <vector>

class TGasSeparator : public TPlaceable {
public:
    int gasSeparatorX = 0; // separator image offset from the well model's position
    int gasSeparatorY = 0;
    TagHandle backgroundImage = 0;      // TImage (casing)
    TagHandle gasSeparatorImage = 0;    // TImage (separator)
    TagHandle plunger = 0;              // TPlunger
    TagHandle valve = 0;                // TValve (standing valve)
    TagHandle valveBase = 0;            // TValveBase
    TagHandle casingParticleRegion = 0; // TParticleRegion, as are the regions below
    TagHandle perfLeftParticleRegion = 0;
    TagHandle perfLeftTopParticleRegion = 0;
    TagHandle perfLeftTopFluidParticleRegion = 0;
    TagHandle perfLeftBottomParticleRegion = 0;
    TagHandle perfRightParticleRegion = 0;
    TagHandle perfRightTopParticleRegion = 0;
    TagHandle perfRightTopFluidParticleRegion = 0;
    TagHandle perfRightBottomParticleRegion = 0;
    TagHandle dipTubeLeftParticleRegion = 0;
    TagHandle dipTubeLeftFluidParticleRegion = 0;
    TagHandle dipTubeCenterFluidParticleRegion = 0;
    TagHandle dipTubeCenterBottomFluidParticleRegion = 0;
    TagHandle dipTubeTopFluidParticleRegion = 0;
    TagHandle dipTubeCenterParticleRegion = 0; // TDipTubeParticleRegion
    TagHandle dipTubeRightParticleRegion = 0;
    TagHandle dipTubeRightFluidParticleRegion = 0;
    TagHandle dipTubeFlowIndicator = 0; // TFlowIndicator
    TagHandle casingDimensionLine = 0;  // TDimensionLine, as are the five below
    TagHandle separatorOdDimensionLine = 0;
    TagHandle separatorIdDimensionLine = 0;
    TagHandle dipTubeOdDimensionLine = 0;
    TagHandle dipTubeIdDimensionLine = 0;
    TagHandle dipTubeLengthDimensionLine = 0;
    double dimensionLineLifespan = 0.0;  // seconds a dimension line stays visible
    double dimensionLineBeginFade = 0.0; // seconds after which it starts to fade
    int separatorAbsX = 0;               // absolute position of the separator image
    int separatorAbsY = 0;

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;

    // The seventeen particle regions in reading order (the flow indicator not included).
    std::vector<TagHandle> ParticleRegions() const;
    // The six dimension lines in reading order.
    std::vector<TagHandle> DimensionLines() const;
};
