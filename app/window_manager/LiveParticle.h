#pragma once
// One live particle of a particle region: where it is, how it moves and how it looks. A plain
// record owned by its region; all coordinates are region coordinates.

#include "app/tags/ParticleRegion.h"
#include "app/tags/Tag.h"
#include "app/tags/TagReader.h"

#include "app/platform/Canvas.h"

#include <cstddef>
#include <vector>

struct ParticleRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const ParticleRect&) const = default;
};

// The particles' random numbers: the C library's rand() sequence (the same numbers from the
// same seed, 1 until seeded), drawn without the lock rand() takes on every call: a frame draws
// thousands of them. For the user-interface thread.
int ParticleRandom();
void SeedParticleRandom(unsigned seed);
// v changed by up to +-9 % in steps of 1 %, two draws of ParticleRandom().
double Jitter(double v);
// A fresh ParticleRandom() % 100 as a fraction 0, 0.01, ... 0.99.
double RandomHundredth();
// sin and cos of a wiggle's turn by `angle` (under 0.6 either way), to the last bit.
struct WiggleTurn {
    double sin = 0;
    double cos = 1;
};
WiggleTurn WiggleTurnOf(double angle);
// As WiggleTurnOf, remembered by the angle's bits (on each thread).
WiggleTurn RememberedWiggleTurn(double angle);
// The closed intervals of both axes overlap (touching counts).
bool RectsIntersect(const ParticleRect& a, const ParticleRect& b);
bool RectContains(const ParticleRect& outer, const ParticleRect& inner);

class alignas(64) CLiveParticle {
public:
    // A fresh particle of the type `particleTag` somewhere in the spawn rectangle of the
    // region `regionTag`. Missing tags leave it dead.
    void Spawn(TagHandle particleTag, TagHandle regionTag);
    void Update(double seconds);
    bool IsDead() const { return lifespan <= age; }
    void StartShrink();
    void SetBounds(int left, int top, int right, int bottom) {
        bounds = {left, top, right, bottom};
    }
    void SetBounds(const ParticleRect& rect) { bounds = rect; }
    void SetEdgeBehaviorY(EdgeBehavior behavior) { edgeBehaviorY = behavior; }
    // Both edge behaviours as the type has them; leaving Bounce on Y ends a vertical bounce.
    void RestoreEdgeBehaviors();
    // The range's maximum, except for a one-in-a-hundred chance of its minimum.
    void PickVelocityX();
    void PickVelocityY();
    void SetJitteredVelocityX(double v) { velocityX = Jitter(v); }
    void SetJitteredVelocityY(double v) { velocityY = Jitter(v); }
    ParticleRect Rect() const { return {x, y, x + drawnWidth, y + drawnHeight}; }
    void Draw(ICanvas& canvas) const;
    // As Draw, with the particle's picture already looked up.
    void Draw(ICanvas& canvas, const ImageRef& picture) const;
    // How it is drawn with `picture`: grown from nothing and faded in over the fade-in time.
    Sprite SpriteOf(const ImageRef& picture) const;

    // The fields are in the order of their use: what drawing reads lies in the first cache
    // line of the record, what a move reads in the first three, so that listing the sprites
    // reads one line of each record and a move three: thousands of particles move and are
    // drawn every frame.
    double age = 0;
    double fadeInTime = 0;
    int x = 0;
    int y = 0;
    int drawnWidth = 0;
    int drawnHeight = 0;
    int alpha = 255;
    TagHandle image = 0;
    bool front = false;
    bool shrinking = false;
    bool bounceYActive = false;
    double lifespan = 0;
    double bounceTimer = 0;
    double offsetX = 0;
    double offsetY = 0;
    double velocityX = 0;
    double velocityY = 0;
    double wiggleAmplitude = 0;
    double wigglePeriod = 0;
    // sin and cos of the wiggle's phase (2 pi / period * age), turned on by each update's step
    // instead of a sine per particle per frame; taken afresh from the age now and then, so
    // the rounding of the turns never adds up.
    double wiggleSin = 0;
    double wiggleCos = 1;
    int turnsSinceFresh = 0;
    int baseX = 0;
    int baseY = 0;
    ParticleRect bounds;
    EdgeBehavior edgeBehaviorX = EdgeBehavior::Bounce;
    EdgeBehavior edgeBehaviorY = EdgeBehavior::Bounce;
    TagHandle type = 0;
    double bounceYLifespan = 0;
    double bounceYSpeed = 0;
    double shrinkTime = 0;
    double velocityXMinimum = 0;
    double velocityXMaximum = 0;
    double velocityYMinimum = 0;
    double velocityYMaximum = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    int minimumWidth = 0;
    int minimumHeight = 0;
    int alphaMinimum = 255;
    int alphaMaximum = 255;

private:
    void SpawnSize();
    void SpawnPosition(const SpawnRect& creation);
    void SpawnAlpha(int minimumPercent, int maximumPercent);
    void Shrink();
    double Wiggle() const;
    void TurnWigglePhase(double seconds);
    void CheckLeft(double wiggle);
    void CheckRight(double wiggle);
    void CheckTop();
    void CheckBottom();
    double BounceYSpeed() const;
};

// The particles of a region, oldest first, in one block of memory, with the dead ones removed
// in the same pass that moves the others: each living particle is moved up over the dead
// ones newer than it, so a frame whose dead particles are the oldest (the usual case: one
// lifespan, born in order) moves nothing; the list then starts further into the block.
class ParticleList {
public:
    std::size_t size() const { return storage_.size() - first_; }
    bool empty() const { return size() == 0; }
    CLiveParticle* begin() { return storage_.data() + first_; }
    CLiveParticle* end() { return storage_.data() + storage_.size(); }
    const CLiveParticle* begin() const { return storage_.data() + first_; }
    const CLiveParticle* end() const { return storage_.data() + storage_.size(); }
    CLiveParticle& operator[](std::size_t i) { return storage_[first_ + i]; }
    const CLiveParticle& operator[](std::size_t i) const { return storage_[first_ + i]; }
    CLiveParticle& back() { return storage_.back(); }
    const CLiveParticle& back() const { return storage_.back(); }
    void push_back(const CLiveParticle& particle);
    void clear();
    // Newest first: a dead particle is handed to `removed` and dropped, any other is moved
    // into place and handed to `update`. The living keep their order.
    template <class Removed, class Update> void RemoveDeadAndUpdate(Removed removed, Update update);

private:
    std::vector<CLiveParticle> storage_; // the list is [first_, end)
    std::size_t first_ = 0;
};

template <class Removed, class Update>
void ParticleList::RemoveDeadAndUpdate(Removed removed, Update update) {
    if (first_ == storage_.size()) {
        return; // empty (perhaps never filled: no storage to step back through)
    }
    CLiveParticle* const first = begin();
    CLiveParticle* place = end();
    for (CLiveParticle* particle = end(); particle-- != first;) {
        // The records come from memory one after another, downwards: the lines a move reads
        // are asked for a few records ahead, so that they arrive together rather than in turn.
        constexpr std::ptrdiff_t kAhead = 6;
        if (particle - first >= kAhead) {
            const char* ahead = reinterpret_cast<const char*>(particle - kAhead);
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + 64);
            __builtin_prefetch(ahead + 128);
        }
        if (particle->IsDead()) {
            removed(*particle);
            continue;
        }
        if (--place != particle) {
            *place = *particle;
        }
        update(*place);
    }
    first_ = static_cast<std::size_t>(place - storage_.data());
}
