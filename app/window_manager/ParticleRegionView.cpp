#include "app/window_manager/ParticleRegionView.h"

#include "app/model/NumberFormat.h"
#include "app/tags/Image.h"
#include "app/tags/ParticleRegion.h"
#include "app/tags/TagManager.h"
#include "app/window_manager/LiveParticle.h"
// The particle tag class shares this unit's header name, so it comes in with all tags.
#include "app/tags/Tags.h"

#include <algorithm>
#include <cmath>

void CParticleRegionView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    Register();
}

void CParticleRegionView::Configure(TagHandle tag) {
    tag_ = tag;
    particles_.clear();
    emitters_.clear();
    const TParticleRegion* region = GetTagAs<TParticleRegion>(tag);
    if (!region) {
        return; // a missing region tag leaves an empty region that draws nothing
    }
    x_ = region->absX;
    y_ = region->absY;
    height_ = region->height;
    width_ = region->width;
    levelMinimumY_ = y_ + region->minimumHeight;
    levelMaximumY_ = y_ + region->height;
    SetLevel(level_);
    for (TagHandle particle : region->particles) {
        emitters_.push_back({particle, 0.0, 0.0});
    }
}

void CParticleRegionView::Shutdown() {
    particles_.clear();
    emitters_.clear();
    CBaseView::Shutdown();
}

void CParticleRegionView::Update(double seconds) {
    RemoveDeadAndMove(seconds);
    if (emitting_) {
        Emit(seconds);
    }
}

// The particles dead before this update are removed (the others keep their order), the others
// move, newest first, in one pass. A dead particle takes no part in the moves.
void CParticleRegionView::RemoveDeadAndMove(double seconds) {
    particles_.RemoveDeadAndUpdate(
        [this](const CLiveParticle& dead) {
            if (!countTracking_) {
                return;
            }
            for (EmitterState& emitter : emitters_) {
                if (emitter.particle == dead.type) {
                    emitter.liveCount -= 1;
                }
            }
        },
        [this, seconds](CLiveParticle& particle) {
            OnParticleUpdate(particle, seconds);
            particle.Update(seconds);
        });
}

void CParticleRegionView::Emit(double seconds) {
    for (size_t i = 0; i < emitters_.size(); ++i) {
        const int room = kMaxLiveParticles - static_cast<int>(particles_.size());
        const int count = std::min(SpawnCount(emitters_[i], seconds), std::max(room, 0));
        for (int n = 0; n < count; ++n) {
            SpawnParticle(emitters_[i]);
        }
    }
}

// A rate type carries its fractional remainder (what exceeds one update's limit is dropped, not
// carried into an endless backlog); a type without a rate keeps its maximum number alive.
int CParticleRegionView::SpawnCount(EmitterState& emitter, double seconds) {
    const TParticle* kind = GetTagAs<TParticle>(emitter.particle);
    if (!kind) {
        return 0;
    }
    if (kind->particlesPerSecond > 0) {
        emitter.accumulator = std::min(emitter.accumulator + seconds * kind->particlesPerSecond,
                                       double(kMaxSpawnPerUpdate));
        return static_cast<int>(std::floor(emitter.accumulator));
    }
    if (kind->maxNumberOfParticles > 0) {
        countTracking_ = true;
        const double missing = kind->maxNumberOfParticles - emitter.liveCount;
        return static_cast<int>(std::clamp(missing, 0.0, double(kMaxSpawnPerUpdate)));
    }
    return 0;
}

void CParticleRegionView::SpawnParticle(EmitterState& emitter) {
    CLiveParticle particle;
    particle.Spawn(emitter.particle, tag_);
    OnParticleSpawned(particle);
    particles_.push_back(particle);
    emitter.accumulator -= 1;
    emitter.liveCount += 1;
}

void CParticleRegionView::OnParticleSpawned(CLiveParticle& particle) {
    if (overrideXOn_) {
        particle.SetJitteredVelocityX(overrideX_);
    }
    if (overrideYOn_) {
        particle.SetJitteredVelocityY(overrideY_);
    }
}

void CParticleRegionView::SetLevel(double fraction) {
    level_ = std::clamp(fraction, 0.0, 1.0);
    visibleBottomY_ =
        levelMinimumY_ + static_cast<int>(std::floor(level_ * (levelMaximumY_ - levelMinimumY_)));
}

void CParticleRegionView::SetVelocityXOverride(double speed) {
    if (overrideXOn_ && overrideX_ == speed) {
        return;
    }
    overrideX_ = speed;
    overrideXOn_ = true;
    for (size_t i = particles_.size(); i-- > 0;) {
        particles_[i].SetJitteredVelocityX(speed);
    }
}

void CParticleRegionView::SetVelocityYOverride(double speed) {
    if (overrideYOn_ && overrideY_ == speed) {
        return;
    }
    overrideY_ = speed;
    overrideYOn_ = true;
    for (size_t i = particles_.size(); i-- > 0;) {
        particles_[i].SetJitteredVelocityY(speed);
    }
}

void CParticleRegionView::ClearVelocityYOverride() {
    if (!overrideYOn_) {
        return;
    }
    overrideYOn_ = false;
    overrideY_ = 0;
    for (size_t i = particles_.size(); i-- > 0;) {
        particles_[i].PickVelocityY();
    }
}

// The pictures of the region's few particle types, looked up once per frame and not once per
// particle.
ImageRef CParticleRegionView::PictureOf(TagHandle image, double scale) const {
    for (const auto& [handle, picture] : pictures_) {
        if (handle == image) {
            return picture;
        }
    }
    const TImage* tag = GetTagAs<TImage>(image);
    pictures_.emplace_back(image, tag ? tag->PictureFor(scale) : ImageRef{});
    return pictures_.back().second;
}

// The particles are drawn straight onto the canvas, clipped to the region's visible rows: the
// lowest `visible` rows of the region show at its top, so the content follows the visible
// bottom.
void CParticleRegionView::DrawParticles(ICanvas& canvas, Layer layer) const {
    const int visible = std::clamp(visibleBottomY_ - y_, 0, height_);
    if (visible <= 0 || width_ <= 0 || particles_.empty()) {
        return;
    }
    const int firstRow = height_ - visible;
    pictures_.clear();
    std::vector<Sprite>& sprites = sprites_[layer == Layer::Front ? 1 : 0];
    sprites.clear();
    for (const CLiveParticle& particle : particles_) {
        const bool wanted = layer == Layer::All || (layer == Layer::Front) == particle.front;
        if (wanted && particle.y > firstRow) {
            Sprite sprite = particle.SpriteOf(PictureOf(particle.image, canvas.Scale()));
            sprite.x += x_;
            sprite.y += y_ - firstRow;
            sprites.push_back(sprite);
        }
    }
    canvas.DrawSprites(sprites.data(), sprites.size(), {x_, y_, width_, visible});
}

void CParticleRegionView::DescribeState(ViewState& state) const {
    state.emplace_back("live", std::to_string(particles_.size()));
    state.emplace_back("level", FormatNumber(level_));
    state.emplace_back("emitting", BoolText(emitting_));
    state.emplace_back("visible_bottom", std::to_string(visibleBottomY_));
    state.emplace_back("velocity_y_override",
                       overrideYOn_ ? FormatNumber(overrideY_) : std::string("off"));
    state.emplace_back("velocity_x_override",
                       overrideXOn_ ? FormatNumber(overrideX_) : std::string("off"));
}
