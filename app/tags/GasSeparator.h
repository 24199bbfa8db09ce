#pragma once
// The animated well: casing, separator, pump, particle regions and dimension lines.

#include "app/tags/Tag.h"
#include "app/tags/ViewNames.h"

#include <array>
#include <vector>

// The well's particle regions, in the order they are read from the tag, placed, created,
// updated and shut down.
enum WellRegionId {
    Casing,
    PerfLeft,
    PerfLeftTop,
    PerfLeftTopFluid,
    PerfLeftBottom,
    PerfRight,
    PerfRightTop,
    PerfRightTopFluid,
    PerfRightBottom,
    DipTubeLeft,
    DipTubeLeftFluid,
    DipTubeCenterFluid,
    DipTubeCenterBottomFluid,
    DipTubeTopFluid,
    DipTubeCenter,
    DipTubeRight,
    DipTubeRightFluid,
    FlowIndicator,
    kWellRegionCount
};

// The tag class a region is read as, and the view class that shows it.
enum class RegionKind {
    General,        // TParticleRegion, CParticleRegionView
    DipTubeBubbles, // TDipTubeParticleRegion, CDipTubeBubbleRegionView
    FlowIndicator,  // TFlowIndicator, CFlowIndicatorView
};

// Where a region's particles are drawn: under the separator picture (only the casing's
// bubbles show through its transparent parts), over it, or split around the standing valve
// and the plunger (the dip tube's bubbles, some behind and some in front of them).
enum class RegionLayer { UnderSeparator, OverSeparator, AroundPlunger };

struct WellRegion {
    WellRegionId id;
    const char* tagKey;
    const char* viewName;
    RegionKind kind;
    RegionLayer layer;
    int drawRank; // the drawing order within the layer
};

// One row per region, in WellRegionId order; everything about the regions follows from it.
inline constexpr WellRegion kWellRegions[kWellRegionCount] = {
    {Casing, "Casing Particle Region", ViewName::kCasingRegion, RegionKind::General,
     RegionLayer::UnderSeparator, 0},
    {PerfLeft, "Perf Left Particle Region", ViewName::kPerfLeftRegion, RegionKind::General,
     RegionLayer::OverSeparator, 0},
    {PerfLeftTop, "Perf Left Top Particle Region", ViewName::kPerfLeftTopRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 1},
    {PerfLeftTopFluid, "Perf Left Top Fluid Particle Region", ViewName::kPerfLeftTopFluidRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 2},
    {PerfLeftBottom, "Perf Left Bottom Particle Region", ViewName::kPerfLeftBottomRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 3},
    {PerfRight, "Perf Right Particle Region", ViewName::kPerfRightRegion, RegionKind::General,
     RegionLayer::OverSeparator, 1},
    {PerfRightTop, "Perf Right Top Particle Region", ViewName::kPerfRightTopRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 4},
    {PerfRightTopFluid, "Perf Right Top Fluid Particle Region", ViewName::kPerfRightTopFluidRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 5},
    {PerfRightBottom, "Perf Right Bottom Particle Region", ViewName::kPerfRightBottomRegion,
     RegionKind::General, RegionLayer::UnderSeparator, 6},
    {DipTubeLeft, "Dip Tube Left Particle Region", ViewName::kDipTubeLeftRegion,
     RegionKind::General, RegionLayer::OverSeparator, 2},
    {DipTubeLeftFluid, "Dip Tube Left Fluid Particle Region", ViewName::kDipTubeLeftFluidRegion,
     RegionKind::General, RegionLayer::OverSeparator, 3},
    {DipTubeCenterFluid, "Dip Tube Center Fluid Particle Region",
     ViewName::kDipTubeCenterFluidRegion, RegionKind::General, RegionLayer::OverSeparator, 5},
    {DipTubeCenterBottomFluid, "Dip Tube Center Bottom Fluid Particle Region",
     ViewName::kDipTubeCenterBottomFluidRegion, RegionKind::General, RegionLayer::OverSeparator, 4},
    {DipTubeTopFluid, "Dip Tube Top Fluid Particle Region", ViewName::kDipTubeTopFluidRegion,
     RegionKind::General, RegionLayer::OverSeparator, 6},
    {DipTubeCenter, "Dip Tube Center Particle Region", ViewName::kDipTubeCenterRegion,
     RegionKind::DipTubeBubbles, RegionLayer::AroundPlunger, 0},
    {DipTubeRight, "Dip Tube Right Particle Region", ViewName::kDipTubeRightRegion,
     RegionKind::General, RegionLayer::OverSeparator, 7},
    {DipTubeRightFluid, "Dip Tube Right Fluid Particle Region", ViewName::kDipTubeRightFluidRegion,
     RegionKind::General, RegionLayer::OverSeparator, 8},
    {FlowIndicator, "Dip Tube Flow Indicator", ViewName::kFlowIndicator, RegionKind::FlowIndicator,
     RegionLayer::OverSeparator, 9},
};

// The regions of one layer in drawing order.
template <RegionLayer layer> constexpr auto RegionsDrawnIn() {
    constexpr int count = [] {
        int n = 0;
        for (const WellRegion& region : kWellRegions) {
            n += region.layer == layer ? 1 : 0;
        }
        return n;
    }();
    std::array<WellRegionId, count> order{};
    for (int rank = 0, next = 0; next < count; ++rank) {
        for (const WellRegion& region : kWellRegions) {
            if (region.layer == layer && region.drawRank == rank) {
                order[next++] = region.id;
            }
        }
    }
    return order;
}

class TGasSeparator : public TPlaceable {
public:
    int gasSeparatorX = 0; // separator image offset from the well model's position
    int gasSeparatorY = 0;
    TagHandle backgroundImage = 0;                     // TImage (casing)
    TagHandle gasSeparatorImage = 0;                   // TImage (separator)
    TagHandle plunger = 0;                             // TPlunger
    TagHandle valve = 0;                               // TValve (standing valve)
    TagHandle valveBase = 0;                           // TValveBase
    std::array<TagHandle, kWellRegionCount> regions{}; // by WellRegionId
    TagHandle casingDimensionLine = 0;                 // TDimensionLine, as are the five below
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

    TagHandle Region(WellRegionId id) const { return regions[id]; }
    // The six dimension lines in reading order.
    std::vector<TagHandle> DimensionLines() const;
};
