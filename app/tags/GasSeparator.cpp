#include "app/tags/GasSeparator.h"

#include "app/tags/Tags.h"

namespace {
TagHandle Region(const YAML::Node& node, const char* key) {
    return ReadRefAs<TParticleRegion>(node, key, "TParticleRegion");
}

TagHandle DimensionLine(const YAML::Node& node, const char* key) {
    return ReadRefAs<TDimensionLine>(node, key, "TDimensionLine");
}
} // namespace

void TGasSeparator::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    gasSeparatorX = ReadInt(node, "Gas Separator X");
    gasSeparatorY = ReadInt(node, "Gas Separator Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    gasSeparatorImage = ReadRefAs<TImage>(node, "Gas Separator Image", "TImage");
    plunger = ReadRefAs<TPlunger>(node, "Plunger", "TPlunger");
    valve = ReadRefAs<TValve>(node, "Valve", "TValve");
    valveBase = ReadRefAs<TValveBase>(node, "Valve Base", "TValveBase");
    casingParticleRegion = Region(node, "Casing Particle Region");
    perfLeftParticleRegion = Region(node, "Perf Left Particle Region");
    perfLeftTopParticleRegion = Region(node, "Perf Left Top Particle Region");
    perfLeftTopFluidParticleRegion = Region(node, "Perf Left Top Fluid Particle Region");
    perfLeftBottomParticleRegion = Region(node, "Perf Left Bottom Particle Region");
    perfRightParticleRegion = Region(node, "Perf Right Particle Region");
    perfRightTopParticleRegion = Region(node, "Perf Right Top Particle Region");
    perfRightTopFluidParticleRegion = Region(node, "Perf Right Top Fluid Particle Region");
    perfRightBottomParticleRegion = Region(node, "Perf Right Bottom Particle Region");
    dipTubeLeftParticleRegion = Region(node, "Dip Tube Left Particle Region");
    dipTubeLeftFluidParticleRegion = Region(node, "Dip Tube Left Fluid Particle Region");
    dipTubeCenterFluidParticleRegion = Region(node, "Dip Tube Center Fluid Particle Region");
    dipTubeCenterBottomFluidParticleRegion =
        Region(node, "Dip Tube Center Bottom Fluid Particle Region");
    dipTubeTopFluidParticleRegion = Region(node, "Dip Tube Top Fluid Particle Region");
    dipTubeCenterParticleRegion = ReadRefAs<TDipTubeParticleRegion>(
        node, "Dip Tube Center Particle Region", "TDipTubeParticleRegion");
    dipTubeRightParticleRegion = Region(node, "Dip Tube Right Particle Region");
    dipTubeRightFluidParticleRegion = Region(node, "Dip Tube Right Fluid Particle Region");
    dipTubeFlowIndicator =
        ReadRefAs<TFlowIndicator>(node, "Dip Tube Flow Indicator", "TFlowIndicator");
    casingDimensionLine = DimensionLine(node, "Casing Dimension Line");
    separatorOdDimensionLine = DimensionLine(node, "Separator OD Dimension Line");
    separatorIdDimensionLine = DimensionLine(node, "Separator ID Dimension Line");
    dipTubeOdDimensionLine = DimensionLine(node, "Dip Tube OD Dimension Line");
    dipTubeIdDimensionLine = DimensionLine(node, "Dip Tube ID Dimension Line");
    dipTubeLengthDimensionLine = DimensionLine(node, "Dip Tube Length Dimension Line");
    dimensionLineLifespan = ReadDouble(node, "Dimension Line Lifespan");
    dimensionLineBeginFade = ReadDouble(node, "Dimension Line Begin Fade");
}

void TGasSeparator::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    separatorAbsX = absX + gasSeparatorX;
    separatorAbsY = absY + gasSeparatorY;
    for (const TagHandle part : {plunger, valve, valveBase}) {
        PlaceChild(part, absX, absY);
    }
    for (const TagHandle region : ParticleRegions()) {
        PlaceChild(region, absX, absY);
    }
    PlaceChild(dipTubeFlowIndicator, absX, absY);
    for (const TagHandle line : DimensionLines()) {
        PlaceChild(line, absX, absY);
    }
}

std::vector<TagHandle> TGasSeparator::ParticleRegions() const {
    return {casingParticleRegion,
            perfLeftParticleRegion,
            perfLeftTopParticleRegion,
            perfLeftTopFluidParticleRegion,
            perfLeftBottomParticleRegion,
            perfRightParticleRegion,
            perfRightTopParticleRegion,
            perfRightTopFluidParticleRegion,
            perfRightBottomParticleRegion,
            dipTubeLeftParticleRegion,
            dipTubeLeftFluidParticleRegion,
            dipTubeCenterFluidParticleRegion,
            dipTubeCenterBottomFluidParticleRegion,
            dipTubeTopFluidParticleRegion,
            dipTubeCenterParticleRegion,
            dipTubeRightParticleRegion,
            dipTubeRightFluidParticleRegion};
}

std::vector<TagHandle> TGasSeparator::DimensionLines() const {
    return {casingDimensionLine,    separatorOdDimensionLine, separatorIdDimensionLine,
            dipTubeOdDimensionLine, dipTubeIdDimensionLine,   dipTubeLengthDimensionLine};
}
