#pragma once
// The bubbles inside the dip tube and the pump chamber above it. Each bubble is confined to
// the rectangle it is in: the tube, the chamber under the plunger, the space above the
// chamber (where it shrinks away), or the parts below the valves while they are seated.

#include "app/window_manager/ParticleRegionView.h"

class CDipTubeBubbleRegionView : public CParticleRegionView {
public:
    // Takes the tube rectangle from the tag, then configures as any region.
    void Configure(TagHandle tag) override;
    void OnParticleUpdate(CLiveParticle& particle, double seconds) override;
    // Three in four bubbles get a sideways speed; then the overrides apply.
    void OnParticleSpawned(CLiveParticle& particle) override;

    void SetTravelingValveSeated(bool seated);
    void SetStandingValveSeated(bool seated);
    // The chamber under the plunger, in region coordinates.
    void SetChamber(int left, int top, int right, int bottom);

    void DescribeState(ViewState& state) const override;

    bool TravelingValveSeated() const { return travelingValveSeated_; }
    bool StandingValveSeated() const { return standingValveSeated_; }
    const ParticleRect& Tube() const { return tube_; }
    const ParticleRect& Chamber() const { return chamber_; }
    const ParticleRect& Upper() const { return upper_; }
    const ParticleRect& Lower() const { return lower_; }
    const ParticleRect& Column() const { return column_; }

private:
    void Recompute();
    // Confines a particle below the chamber; false when it is not there or no valve holds it.
    bool ConfineBelowChamber(CLiveParticle& particle, const ParticleRect& rect) const;

    bool travelingValveSeated_ = false;
    bool standingValveSeated_ = false;
    ParticleRect tube_;
    ParticleRect chamber_;
    ParticleRect upper_;
    ParticleRect lower_;
    ParticleRect column_;
};
