#include "app/window_manager/LiveParticle.h"

#include "app/platform/Canvas.h"
#include "app/platform/FastFloors.h"
#include "app/tags/Image.h"
#include "app/tags/TagManager.h"
// The particle tag class shares this unit's header name, so it comes in with all tags.
#include "app/tags/Tags.h" // also the model's kTwoPi

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {
// The shortest side a shrinking particle keeps.
constexpr int kShrinkMinimumSide = 6;
// Positions are kept far inside the int range so that a runaway speed or offset can never
// overflow a conversion or the edge arithmetic.
constexpr double kPositionLimit = 1.0e9;

int ToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -kPositionLimit, kPositionLimit));
}

int FloorToInt(double value) {
    return ToInt(std::floor(value));
}

// A speed bound left at its 32-bit default means "no speed on this axis": the unset range
// becomes 0, so a type without a range stands still unless its region overrides the speed.
double SpeedBound(int bound) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    return (bound == kMin || bound == kMax) ? 0.0 : static_cast<double>(bound);
}

double PickInRange(double minimum, double maximum) {
    double speed = minimum;
    if (maximum - minimum > 0) {
        speed = minimum + std::ceil(RandomHundredth()) * (maximum - minimum);
    }
    return speed;
}

// The remainder of a non-negative dividend; 0 for an empty divisor.
long long Mod(long long dividend, long long divisor) {
    return divisor > 0 ? dividend % divisor : 0;
}

int PercentToAlpha(int percent) {
    return std::clamp(static_cast<int>(std::floor(percent / 100.0 * 255.0)), 0, 255);
}

struct ParticleRandomState {
    random_data data{}; // zeroed before its first use, as the C library asks
    char state[128]{};  // 128 bytes: the same kind of generator as rand()'s
    ParticleRandomState() { initstate_r(1, state, sizeof state, &data); }
};

ParticleRandomState& TheParticleRandom() {
    static ParticleRandomState random;
    return random;
}
} // namespace

int ParticleRandom() {
    std::int32_t value = 0;
    random_r(&TheParticleRandom().data, &value);
    return value;
}

void SeedParticleRandom(unsigned seed) {
    srandom_r(seed, &TheParticleRandom().data);
}

double RandomHundredth() {
    return (ParticleRandom() % 100) / 100.0;
}

double Jitter(double v) {
    double d = (ParticleRandom() % 10) / 100.0;
    if (ParticleRandom() % 2 == 0) {
        d = -d;
    }
    return v + d * v;
}

bool RectsIntersect(const ParticleRect& a, const ParticleRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool RectContains(const ParticleRect& outer, const ParticleRect& inner) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

void CLiveParticle::Spawn(TagHandle particleTag, TagHandle regionTag) {
    const TParticle* kind = GetTagAs<TParticle>(particleTag);
    const TParticleRegion* region = GetTagAs<TParticleRegion>(regionTag);
    shrinkTime = 0;
    bounceYActive = false;
    shrinking = false;
    type = particleTag;
    if (!kind || !region) {
        age = lifespan = 0;
        return;
    }
    image = kind->image;
    imageWidth = drawnWidth = kind->imageWidth;
    imageHeight = drawnHeight = kind->imageHeight;
    minimumWidth = kind->minimumWidth;
    minimumHeight = kind->minimumHeight;
    SpawnSize();
    bounds = {0, 0, region->width, region->height};
    front = ParticleRandom() % 2 == 1;
    age = 0;
    lifespan = kind->lifespan;
    bounceTimer = 0;
    bounceYLifespan =
        RandomHundredth() * kind->maximumBounceYLifespan + kind->minimumBounceYLifespan;
    fadeInTime = kind->fadeInTime;
    SpawnPosition(region->creationBounds);
    wiggleAmplitude = Jitter(kind->wiggleX);
    wigglePeriod = Jitter(kind->wiggleXPeriod);
    wiggleSin = 0; // the phase at age 0
    wiggleCos = 1;
    turnsSinceFresh = 0;
    offsetX = offsetY = 0;
    velocityXMinimum = SpeedBound(kind->velocityXMinimum);
    velocityXMaximum = SpeedBound(kind->velocityXMaximum);
    velocityYMinimum = SpeedBound(kind->velocityYMinimum);
    velocityYMaximum = SpeedBound(kind->velocityYMaximum);
    PickVelocityY();
    velocityX = 0;
    edgeBehaviorX = kind->edgeBehaviorX;
    edgeBehaviorY = kind->edgeBehaviorY;
    SpawnAlpha(kind->alphaMinimum, kind->alphaMaximum);
}

// A random size between the minimum and the image size, only when both sides differ.
void CLiveParticle::SpawnSize() {
    if (minimumWidth != imageWidth && minimumHeight != imageHeight) {
        const double f = RandomHundredth();
        drawnWidth = ToInt(f * (imageWidth - minimumWidth) + minimumWidth);
        drawnHeight = ToInt(f * (imageHeight - minimumHeight) + minimumHeight);
    }
}

// Uses the image size, not the drawn size, to keep the particle inside the rectangle.
void CLiveParticle::SpawnPosition(const SpawnRect& creation) {
    const int spanX = creation.right - creation.left - imageWidth;
    baseX = x = creation.left + (spanX > 0 ? ParticleRandom() % spanX : 0);
    const int spanY = creation.bottom - creation.top - imageHeight;
    baseY = y = creation.top + (spanY > 0 ? ParticleRandom() % spanY : 0);
}

void CLiveParticle::SpawnAlpha(int minimumPercent, int maximumPercent) {
    alphaMinimum = PercentToAlpha(minimumPercent);
    alphaMaximum = PercentToAlpha(maximumPercent);
    alpha = alphaMaximum - alphaMinimum <= 0
                ? alphaMaximum
                : alphaMinimum + ParticleRandom() % (alphaMaximum - alphaMinimum);
}

void CLiveParticle::StartShrink() {
    if (!shrinking) {
        shrinking = true;
        shrinkTime = 0;
    }
}

void CLiveParticle::RestoreEdgeBehaviors() {
    if (const TParticle* kind = GetTagAs<TParticle>(type)) {
        edgeBehaviorX = kind->edgeBehaviorX;
        edgeBehaviorY = kind->edgeBehaviorY;
    }
    if (edgeBehaviorY != EdgeBehavior::Bounce) {
        bounceYActive = false;
    }
}

void CLiveParticle::PickVelocityX() {
    velocityX = PickInRange(velocityXMinimum, velocityXMaximum);
}

void CLiveParticle::PickVelocityY() {
    velocityY = PickInRange(velocityYMinimum, velocityYMaximum);
}

// A move floors three numbers: it has an SSE4.1 copy for that.
GS_FAST_FLOORS void CLiveParticle::Update(double seconds) {
    age += seconds;
    bounceTimer += seconds;
    TurnWigglePhase(seconds);
    if (shrinking) {
        shrinkTime += seconds;
        Shrink();
    }
    const double wiggle = Wiggle();
    offsetX = std::clamp(offsetX + seconds * velocityX, -kPositionLimit, kPositionLimit);
    x = FloorToInt(offsetX) + FloorToInt(wiggle) + baseX;
    const bool bouncing = bounceYActive && bounceTimer <= bounceYLifespan;
    bounceYActive = bouncing;
    const double speedY = bouncing ? bounceYSpeed : velocityY;
    offsetY = std::clamp(offsetY + seconds * speedY, -kPositionLimit, kPositionLimit);
    y = FloorToInt(offsetY) + baseY;
    CheckLeft(wiggle);
    CheckRight(wiggle);
    CheckTop();
    CheckBottom();
}

// Shrinks over the fade-in time towards a 6-pixel short side, keeping the aspect.
void CLiveParticle::Shrink() {
    if (imageWidth <= 0 || imageHeight <= 0) {
        return;
    }
    int smallWidth = kShrinkMinimumSide;
    int smallHeight = kShrinkMinimumSide;
    if (imageWidth < imageHeight) {
        smallHeight = static_cast<int>(std::ceil(imageHeight * 6.0 / imageWidth));
    } else {
        smallWidth = static_cast<int>(std::ceil(imageWidth * 6.0 / imageHeight));
    }
    // Without a fade-in time the shrink is over at once.
    const double f = fadeInTime > 0 ? 1.0 - shrinkTime / fadeInTime : 0.0;
    drawnWidth = ToInt(std::max(f * imageWidth, static_cast<double>(smallWidth)));
    drawnHeight = ToInt(std::max(f * imageHeight, static_cast<double>(smallHeight)));
}

double CLiveParticle::Wiggle() const {
    if (velocityX != 0 || wiggleAmplitude <= 0 || wigglePeriod <= 0) {
        return 0;
    }
    return wiggleAmplitude * wiggleSin;
}

// Turns the phase by the step's angle: the angle of a frame is small, where a few terms of
// the series give sin and cos to the last bit (a particle of the shortest period turns by
// about 0.35 a frame); a long step, or every so many turns, takes
// them from the age itself.
void CLiveParticle::TurnWigglePhase(double seconds) {
    if (wiggleAmplitude <= 0 || wigglePeriod <= 0) {
        return;
    }
    constexpr int kTurnsBetweenFresh = 512;
    const double angle = kTwoPi / wigglePeriod * seconds;
    if (!(std::abs(angle) < 0.6) || ++turnsSinceFresh >= kTurnsBetweenFresh) {
        turnsSinceFresh = 0;
        const double phase = kTwoPi / wigglePeriod * age;
        wiggleSin = std::sin(phase);
        wiggleCos = std::cos(phase);
        return;
    }
    const WiggleTurn turn = RememberedWiggleTurn(angle);
    const double turnedSin = wiggleSin * turn.cos + wiggleCos * turn.sin;
    wiggleCos = wiggleCos * turn.cos - wiggleSin * turn.sin;
    wiggleSin = turnedSin;
}

// Taylor series to the 15th and 16th power: the first term left out is below 1e-18 for an
// angle under 0.6, far below the last bit of the result.
WiggleTurn WiggleTurnOf(double angle) {
    const double a2 = angle * angle;
    double turnSin = 1 - a2 * (1.0 / 210);
    double turnCos = 1 - a2 * (1.0 / 240);
    // 1 / ((2k) (2k + 1)) and 1 / ((2k - 1) (2k)), k from 6 down to 1
    constexpr std::pair<double, double> kSteps[] = {{1.0 / 156, 1.0 / 182}, {1.0 / 110, 1.0 / 132},
                                                    {1.0 / 72, 1.0 / 90},   {1.0 / 42, 1.0 / 56},
                                                    {1.0 / 20, 1.0 / 30},   {1.0 / 6, 1.0 / 12}};
    for (const auto& [sinStep, cosStep] : kSteps) {
        turnSin = 1 - a2 * sinStep * turnSin;
        turnCos = 1 - a2 * cosStep * turnCos;
    }
    return {turnSin * angle, 1 - a2 * 0.5 * turnCos};
}

// The particles of a region share a few dozen periods (their type's, jittered in steps of
// 1 %), so a frame asks for the same few dozen angles thousands of times: each is worked out
// once and found again by its exact bits, where the series is a long chain of dependent steps.
WiggleTurn RememberedWiggleTurn(double angle) {
    struct Remembered {
        std::uint64_t bits = ~std::uint64_t{0}; // no angle under 0.6 has these bits
        WiggleTurn turn;
    };
    constexpr int kSlotBits = 8;
    thread_local std::array<Remembered, std::size_t{1} << kSlotBits> remembered;
    std::uint64_t bits;
    std::memcpy(&bits, &angle, sizeof bits);
    Remembered& slot = remembered[(bits * 0x9E3779B97F4A7C15u) >> (64 - kSlotBits)];
    if (slot.bits != bits) {
        slot = {bits, WiggleTurnOf(angle)};
    }
    return slot.turn;
}

void CLiveParticle::CheckLeft(double wiggle) {
    const long long left = bounds.left;
    const long long width = bounds.right - bounds.left;
    if (x > left) {
        return;
    }
    if (edgeBehaviorX == EdgeBehavior::Bounce) {
        if (velocityX != 0) {
            PickVelocityX();
            velocityX = std::abs(velocityX);
        }
        offsetX = std::floor(std::abs(wiggle)) + static_cast<double>(left - baseX);
    } else if (edgeBehaviorX == EdgeBehavior::Flow) {
        offsetX = static_cast<double>((left + width - drawnWidth - baseX) - Mod(left - x, width));
    } else {
        age = lifespan;
    }
    x = FloorToInt(offsetX) + baseX;
}

void CLiveParticle::CheckRight(double wiggle) {
    const long long left = bounds.left;
    const long long width = bounds.right - bounds.left;
    if (x + drawnWidth < left + width) {
        return;
    }
    if (edgeBehaviorX == EdgeBehavior::Bounce) {
        if (velocityX != 0) {
            PickVelocityX();
            velocityX = -std::abs(velocityX);
        }
        offsetX =
            static_cast<double>(left + width - drawnWidth - baseX) - std::floor(std::abs(wiggle));
    } else if (edgeBehaviorX == EdgeBehavior::Flow) {
        offsetX = static_cast<double>(Mod(x + drawnWidth + width - left, width) + (left - baseX));
    } else {
        age = lifespan;
    }
    x = FloorToInt(offsetX) + baseX;
}

// The temporary speed of a vertical bounce: a fresh pick from the range, as a magnitude.
double CLiveParticle::BounceYSpeed() const {
    return std::abs(std::ceil(RandomHundredth() * (velocityYMaximum - velocityYMinimum)) +
                    velocityYMinimum);
}

void CLiveParticle::CheckTop() {
    const long long top = bounds.top;
    const long long height = bounds.bottom - bounds.top;
    if (y >= top) {
        return;
    }
    if (edgeBehaviorY == EdgeBehavior::Bounce) {
        if (bounceYLifespan > 0) {
            bounceYSpeed = BounceYSpeed();
            bounceYActive = true;
            bounceTimer = 0;
        } else {
            velocityY = std::min(std::abs(velocityY), velocityYMaximum);
        }
        offsetY = static_cast<double>(top - baseY);
    } else if (edgeBehaviorY == EdgeBehavior::Flow) {
        offsetY = static_cast<double>((top + height - drawnHeight - baseY) - Mod(top - y, height));
    } else {
        age = lifespan;
    }
    y = FloorToInt(offsetY) + baseY;
}

void CLiveParticle::CheckBottom() {
    const long long top = bounds.top;
    const long long height = bounds.bottom - bounds.top;
    if (y + drawnHeight < top + height) {
        return;
    }
    if (edgeBehaviorY == EdgeBehavior::Bounce) {
        if (bounceYLifespan > 0) {
            bounceYSpeed = -BounceYSpeed();
            bounceYActive = true;
            bounceTimer = 0;
        } else {
            velocityY = std::max(-std::abs(velocityY), velocityYMinimum);
        }
        offsetY = static_cast<double>(top + height - drawnHeight - baseY);
    } else if (edgeBehaviorY == EdgeBehavior::Flow) {
        offsetY = static_cast<double>(Mod(y + drawnHeight + height - top, height) + (top - baseY));
    } else {
        age = lifespan;
    }
    y = FloorToInt(offsetY) + baseY;
}

// Grows from nothing and fades in over the fade-in time.
void CLiveParticle::Draw(ICanvas& canvas) const {
    if (const TImage* picture = GetTagAs<TImage>(image)) {
        Draw(canvas, picture->Bitmap());
    }
}

void CLiveParticle::Draw(ICanvas& canvas, const ImageRef& picture) const {
    const Sprite sprite = SpriteOf(picture);
    canvas.DrawImageScaled(sprite.image, sprite.x, sprite.y, sprite.w, sprite.h, sprite.alpha);
}

Sprite CLiveParticle::SpriteOf(const ImageRef& picture) const {
    Sprite sprite{picture, x, y, drawnWidth, drawnHeight, alpha};
    if (fadeInTime > 0 && age <= fadeInTime) {
        const double f = age / fadeInTime;
        sprite.w = static_cast<int>(drawnWidth * f);
        sprite.h = static_cast<int>(drawnHeight * f);
        sprite.alpha = std::clamp(static_cast<int>(alpha * f), 0, 255);
    }
    return sprite;
}

// The removed records in front are let go before they would be copied along with the list,
// and once they outnumber the particles.
void ParticleList::push_back(const CLiveParticle& particle) {
    if (first_ > 0 && (storage_.size() == storage_.capacity() || first_ >= size())) {
        storage_.erase(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(first_));
        first_ = 0;
    }
    storage_.push_back(particle);
}

void ParticleList::clear() {
    storage_.clear();
    first_ = 0;
}
