#pragma once
// A rectangle of the well picture full of particles: it spawns them from its particle types,
// moves them, keeps them inside by each type's edge rules and draws them, of which only the
// part above a variable visible bottom is shown.

#include "app/window_manager/BaseView.h"
#include "app/window_manager/LiveParticle.h"
#include "app/window_manager/PixelCanvas.h"

#include <utility>
#include <vector>

// One particle type of a region: its rate carry-over and how many of it are alive.
struct EmitterState {
    TagHandle particle = 0;
    double accumulator = 0;
    double liveCount = 0;
};

class CParticleRegionView : public CBaseView {
public:
    enum class Layer { All = 0, Front = 1, Back = 2 };
    // No tag value can stall the program or exhaust its memory: at most this many particles of
    // one type are created in one update (an absurd rate, or a kept-alive type whose count was
    // left at its huge default), and a region holds at most kMaxLiveParticles. The shipped
    // tree stays far below both.
    static constexpr int kMaxSpawnPerUpdate = 1000;
    static constexpr int kMaxLiveParticles = 20000;

    void Init(IMainWindow* window, const std::string& name) override;
    // Rebuilds the region from its tag: all particles and emitter states are dropped, the
    // level, the overrides and the emitting flag are kept.
    void Configure(TagHandle tag) override;
    void Shutdown() override;
    void Update(double seconds) override;
    // Hooks for the subclasses: before each particle's move, and after a spawn.
    virtual void OnParticleUpdate(CLiveParticle& /*particle*/, double /*seconds*/) {}
    virtual void OnParticleSpawned(CLiveParticle& particle);

    void DrawParticles(ICanvas& canvas, Layer layer = Layer::All) const;
    // 0 shows only the minimum height, 1 the whole region.
    void SetLevel(double fraction);
    void SetVelocityXOverride(double speed);
    void SetVelocityYOverride(double speed);
    void ClearVelocityYOverride();
    void StartEmitting() { emitting_ = true; }
    void StopEmitting() { emitting_ = false; }

    const char* Kind() const override { return "particle_region"; }
    void DescribeState(ViewState& state) const override;

    const ParticleList& Particles() const { return particles_; }
    ParticleList& Particles() { return particles_; }
    const std::vector<EmitterState>& Emitters() const { return emitters_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    double Level() const { return level_; }
    int VisibleBottomY() const { return visibleBottomY_; }
    bool IsEmitting() const { return emitting_; }
    bool HasVelocityYOverride() const { return overrideYOn_; }
    double VelocityYOverride() const { return overrideY_; }
    bool HasVelocityXOverride() const { return overrideXOn_; }
    double VelocityXOverride() const { return overrideX_; }

private:
    ImageRef PictureOf(TagHandle image, double scale) const;
    void RemoveDeadAndMove(double seconds);
    void Emit(double seconds);
    int SpawnCount(EmitterState& emitter, double seconds);
    void SpawnParticle(EmitterState& emitter);

    int x_ = 0;
    int y_ = 0;
    int height_ = 0;
    int width_ = 0;
    bool countTracking_ = false;
    bool emitting_ = true;
    double level_ = 0;
    double overrideX_ = 0;
    double overrideY_ = 0;
    bool overrideXOn_ = false;
    bool overrideYOn_ = false;
    int visibleBottomY_ = 0;
    int levelMinimumY_ = 0;
    int levelMaximumY_ = 0;
    ParticleList particles_; // oldest first
    std::vector<EmitterState> emitters_;
    // This frame's sprites of the back (or only) layer and of the front layer, kept until the
    // frame is drawn; reused from frame to frame.
    mutable std::vector<Sprite> sprites_[2];
    mutable std::vector<std::pair<TagHandle, ImageRef>> pictures_; // this frame's
};
