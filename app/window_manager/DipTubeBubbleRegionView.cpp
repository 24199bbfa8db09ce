#include "app/window_manager/DipTubeBubbleRegionView.h"

#include "app/tags/ParticleRegion.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/LiveParticle.h"

#include <cstdlib>
#include <string>

namespace {
// The tube reaches this far beyond its drawn ends, so bubbles can leave it smoothly.
constexpr int kTubeOverlap = 4;
// The space above the chamber ends this far above the chamber's top.
constexpr int kUpperGap = 4;

std::string RectText(const ParticleRect& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}
} // namespace

void CDipTubeBubbleRegionView::Configure(TagHandle tag) {
    if (const TDipTubeParticleRegion* region = GetTagAs<TDipTubeParticleRegion>(tag)) {
        tube_ = {region->dipTubeX, region->dipTubeY - kTubeOverlap,
                 region->dipTubeX + region->dipTubeWidth,
                 region->dipTubeY + region->dipTubeHeight + kTubeOverlap};
        Recompute();
    }
    CParticleRegionView::Configure(tag);
}

void CDipTubeBubbleRegionView::SetTravelingValveSeated(bool seated) {
    if (travelingValveSeated_ != seated) {
        travelingValveSeated_ = seated;
        Recompute();
    }
}

void CDipTubeBubbleRegionView::SetStandingValveSeated(bool seated) {
    if (standingValveSeated_ != seated) {
        standingValveSeated_ = seated;
        Recompute();
    }
}

void CDipTubeBubbleRegionView::SetChamber(int left, int top, int right, int bottom) {
    chamber_ = {left, top, right, bottom};
    Recompute();
}

void CDipTubeBubbleRegionView::Recompute() {
    upper_ = {chamber_.left, 0, chamber_.right, chamber_.top - kUpperGap};
    lower_ = {tube_.left, chamber_.bottom, tube_.right, tube_.bottom};
    column_ = {tube_.left, chamber_.top, tube_.right, tube_.bottom};
}

bool CDipTubeBubbleRegionView::ConfineBelowChamber(CLiveParticle& particle,
                                                   const ParticleRect& rect) const {
    if (rect.top < chamber_.bottom) {
        return false;
    }
    if (standingValveSeated_) {
        particle.SetBounds(lower_);
    } else if (travelingValveSeated_) {
        particle.SetBounds(column_);
    } else {
        return false;
    }
    particle.SetEdgeBehaviorY(EdgeBehavior::Bounce);
    return true;
}

void CDipTubeBubbleRegionView::OnParticleUpdate(CLiveParticle& particle, double /*seconds*/) {
    const ParticleRect rect = particle.Rect();
    if (ConfineBelowChamber(particle, rect)) {
        return;
    }
    if (RectsIntersect(rect, chamber_) && (travelingValveSeated_ || !RectContains(tube_, rect))) {
        particle.SetBounds(chamber_);
        particle.SetEdgeBehaviorY(EdgeBehavior::Bounce);
        return;
    }
    if (RectsIntersect(upper_, rect)) {
        particle.StartShrink();
    }
    particle.SetBounds(RectContains(upper_, rect) ? upper_ : tube_);
    particle.RestoreEdgeBehaviors();
    if (HasVelocityYOverride()) {
        particle.SetJitteredVelocityY(VelocityYOverride());
    } else {
        particle.PickVelocityY();
    }
}

void CDipTubeBubbleRegionView::OnParticleSpawned(CLiveParticle& particle) {
    if (ParticleRandom() % 4 <= 2) {
        particle.PickVelocityX();
    }
    CParticleRegionView::OnParticleSpawned(particle);
}

void CDipTubeBubbleRegionView::DescribeState(ViewState& state) const {
    CParticleRegionView::DescribeState(state);
    state.emplace_back("traveling_valve_seated", BoolText(travelingValveSeated_));
    state.emplace_back("standing_valve_seated", BoolText(standingValveSeated_));
    state.emplace_back("chamber", RectText(chamber_));
}
