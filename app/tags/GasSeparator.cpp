#include "app/tags/GasSeparator.h"

#include "app/tags/Tags.h"

namespace {
TagHandle ReadRegion(const YAML::Node& node, const WellRegion& region) {
    switch (region.kind) {
    case RegionKind::DipTubeBubbles:
        return ReadRefAs<TDipTubeParticleRegion>(node, region.tagKey, "TDipTubeParticleRegion");
    case RegionKind::FlowIndicator:
        return ReadRefAs<TFlowIndicator>(node, region.tagKey, "TFlowIndicator");
    case RegionKind::General:
        break;
    }
    return ReadRefAs<TParticleRegion>(node, region.tagKey, "TParticleRegion");
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
    for (const WellRegion& region : kWellRegions) {
        regions[region.id] = ReadRegion(node, region);
    }
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
    for (const TagHandle region : regions) {
        PlaceChild(region, absX, absY);
    }
    for (const TagHandle line : DimensionLines()) {
        PlaceChild(line, absX, absY);
    }
}

std::vector<TagHandle> TGasSeparator::DimensionLines() const {
    return {casingDimensionLine,    separatorOdDimensionLine, separatorIdDimensionLine,
            dipTubeOdDimensionLine, dipTubeIdDimensionLine,   dipTubeLengthDimensionLine};
}
