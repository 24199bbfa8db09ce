#include "app/window_manager/GasSeparatorView.h"

#include "app/NumberFormat.h"
#include "app/ViewNames.h"
#include "app/tags/GasSeparator.h"
#include "app/tags/ParticleRegion.h"
#include "app/tags/Plunger.h"
#include "app/tags/TagManager.h"

#include <utility>

namespace {
struct RegionMember {
    const char* viewName;
    TagHandle TGasSeparator::*tagKey;
};

constexpr RegionMember kRegions[CGasSeparatorView::kRegionCount] = {
    {ViewName::kCasingRegion, &TGasSeparator::casingParticleRegion},
    {ViewName::kPerfLeftRegion, &TGasSeparator::perfLeftParticleRegion},
    {ViewName::kPerfLeftTopRegion, &TGasSeparator::perfLeftTopParticleRegion},
    {ViewName::kPerfLeftTopFluidRegion, &TGasSeparator::perfLeftTopFluidParticleRegion},
    {ViewName::kPerfLeftBottomRegion, &TGasSeparator::perfLeftBottomParticleRegion},
    {ViewName::kPerfRightRegion, &TGasSeparator::perfRightParticleRegion},
    {ViewName::kPerfRightTopRegion, &TGasSeparator::perfRightTopParticleRegion},
    {ViewName::kPerfRightTopFluidRegion, &TGasSeparator::perfRightTopFluidParticleRegion},
    {ViewName::kPerfRightBottomRegion, &TGasSeparator::perfRightBottomParticleRegion},
    {ViewName::kDipTubeLeftRegion, &TGasSeparator::dipTubeLeftParticleRegion},
    {ViewName::kDipTubeLeftFluidRegion, &TGasSeparator::dipTubeLeftFluidParticleRegion},
    {ViewName::kDipTubeCenterFluidRegion, &TGasSeparator::dipTubeCenterFluidParticleRegion},
    {ViewName::kDipTubeCenterBottomFluidRegion,
     &TGasSeparator::dipTubeCenterBottomFluidParticleRegion},
    {ViewName::kDipTubeTopFluidRegion, &TGasSeparator::dipTubeTopFluidParticleRegion},
    {ViewName::kDipTubeCenterRegion, &TGasSeparator::dipTubeCenterParticleRegion},
    {ViewName::kDipTubeRightRegion, &TGasSeparator::dipTubeRightParticleRegion},
    {ViewName::kDipTubeRightFluidRegion, &TGasSeparator::dipTubeRightFluidParticleRegion},
    {ViewName::kFlowIndicator, &TGasSeparator::dipTubeFlowIndicator},
};

struct LineMember {
    const char* viewName;
    TagHandle TGasSeparator::*tagKey;
};

constexpr LineMember kLines[CGasSeparatorView::kDimensionLineCount] = {
    {ViewName::kCasingDimLine, &TGasSeparator::casingDimensionLine},
    {ViewName::kSeparatorODDimLine, &TGasSeparator::separatorOdDimensionLine},
    {ViewName::kSeparatorIDDimLine, &TGasSeparator::separatorIdDimensionLine},
    {ViewName::kDipTubeODDimLine, &TGasSeparator::dipTubeOdDimensionLine},
    {ViewName::kDipTubeIDDimLine, &TGasSeparator::dipTubeIdDimensionLine},
    {ViewName::kDipTubeLengthDimLine, &TGasSeparator::dipTubeLengthDimensionLine},
};

// The dip tube length line is drawn first, under the others.
constexpr int kLineDrawOrder[CGasSeparatorView::kDimensionLineCount] = {5, 0, 1, 2, 3, 4};

// The chamber's top lies this far above the seated traveling ball's bottom.
constexpr int kChamberOverlap = 7;

using Id = CGasSeparatorView::RegionId;
constexpr Id kBehindSeparator[] = {Id::Casing,         Id::PerfLeftTop,  Id::PerfLeftTopFluid,
                                   Id::PerfLeftBottom, Id::PerfRightTop, Id::PerfRightTopFluid,
                                   Id::PerfRightBottom};
constexpr Id kInFrontOfSeparator[] = {Id::PerfLeft,
                                      Id::PerfRight,
                                      Id::DipTubeLeft,
                                      Id::DipTubeLeftFluid,
                                      Id::DipTubeCenterBottomFluid,
                                      Id::DipTubeCenterFluid,
                                      Id::DipTubeTopFluid,
                                      Id::DipTubeRight,
                                      Id::DipTubeRightFluid,
                                      Id::FlowIndicator};
} // namespace

CParticleRegionView& CGasSeparatorView::Region(RegionId id) {
    return const_cast<CParticleRegionView&>(std::as_const(*this).Region(id));
}

const CParticleRegionView& CGasSeparatorView::Region(RegionId id) const {
    if (id < DipTubeCenter) {
        return regions_[id];
    }
    if (id == DipTubeCenter) {
        return dipTubeCenter_;
    }
    if (id == FlowIndicator) {
        return flowIndicator_;
    }
    return rightRegions_[id - DipTubeRight];
}

void CGasSeparatorView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    plungerPosition_ = gasPenetration_ = bubbleRiseSpeed_ = annulusBubbleSpeed_ = 0;
    annulusFluidSpeed_ = dipTubeBubbleSpeed_ = plungerFluidSpeed_ = dipTubeFluidSpeed_ = 0;
    plunger_.Init(window, ViewName::kPlunger);
    standingValve_.Init(window, ViewName::kStandingValve);
    valveBase_.Init(window, ViewName::kValveBase);
    for (int id = 0; id < kRegionCount; ++id) {
        Region(static_cast<RegionId>(id)).Init(window, kRegions[id].viewName);
    }
    for (int i = 0; i < kDimensionLineCount; ++i) {
        dimensionLines_[i].Init(window, kLines[i].viewName);
    }
    Register();
}

void CGasSeparatorView::Configure(TagHandle tag) {
    tag_ = tag;
    const TGasSeparator* separator = GetTagAs<TGasSeparator>(tag);
    if (!separator) {
        return; // no well model: the view draws nothing and keeps its inputs
    }
    const TParticleRegion* left = GetTagAs<TParticleRegion>(separator->dipTubeLeftParticleRegion);
    dipTubeLengthPixels_ = left ? left->height - left->minimumHeight : 0;
    const TPlunger* plunger = GetTagAs<TPlunger>(separator->plunger);
    plungerStrokePixels_ = plunger ? plunger->lowerStrokeY - plunger->upperStrokeY : 0;
    ConfigureMembers(*separator);
    ReapplyInputs();
}

// A member whose key names no tag of its kind is configured with nothing: it stays empty
// and draws nothing, while the rest of the well works.
void CGasSeparatorView::ConfigureMembers(const TGasSeparator& tag) {
    plunger_.Configure(tag.plunger);
    standingValve_.Configure(tag.valve);
    valveBase_.Configure(tag.valveBase);
    for (int id = 0; id < kRegionCount; ++id) {
        Region(static_cast<RegionId>(id)).Configure(tag.*kRegions[id].tagKey);
    }
    for (int i = 0; i < kDimensionLineCount; ++i) {
        dimensionLines_[i].Configure(tag.*kLines[i].tagKey, tag.dimensionLineLifespan,
                                     tag.dimensionLineBeginFade);
    }
}

void CGasSeparatorView::ReapplyInputs() {
    applied_ = false;
    SetPlungerPosition(plungerPosition_);
    SetGasPenetration(gasPenetration_);
    SetBubbleRiseSpeed(bubbleRiseSpeed_);
    SetAnnulusBubbleSpeed(annulusBubbleSpeed_);
    SetAnnulusFluidSpeed(annulusFluidSpeed_);
    SetDipTubeBubbleSpeed(dipTubeBubbleSpeed_);
    SetDipTubeFluidSpeed(dipTubeFluidSpeed_);
    SetPlungerFluidSpeed(plungerFluidSpeed_);
    applied_ = true;
}

void CGasSeparatorView::Shutdown() {
    plunger_.Shutdown();
    standingValve_.Shutdown();
    valveBase_.Shutdown();
    for (int id = 0; id < kRegionCount; ++id) {
        Region(static_cast<RegionId>(id)).Shutdown();
    }
    for (CDimensionLineView& line : dimensionLines_) {
        line.Shutdown();
    }
    CBaseView::Shutdown();
}

void CGasSeparatorView::SetPlungerPosition(double position) {
    if (Changed(plungerPosition_, position)) {
        plunger_.SetPosition(position);
        plungerPosition_ = position;
    }
}

// Below full penetration the gas has not reached the dip tube's inlet: the annulus bubbles
// move freely and the dip tube gets no new bubbles.
void CGasSeparatorView::SetGasPenetration(double fraction) {
    if (!Changed(gasPenetration_, fraction)) {
        return;
    }
    Region(DipTubeLeft).SetLevel(fraction);
    Region(DipTubeRight).SetLevel(fraction);
    if (fraction != 1) {
        if (gasPenetration_ == 0) {
            Region(PerfLeftTop).StartEmitting();
            Region(PerfRightTop).StartEmitting();
        }
        dipTubeCenter_.StopEmitting();
        Region(DipTubeLeft).ClearVelocityYOverride();
        Region(DipTubeRight).ClearVelocityYOverride();
    } else {
        dipTubeCenter_.StartEmitting();
        Region(DipTubeLeft).SetVelocityYOverride(-annulusBubbleSpeed_);
        Region(DipTubeRight).SetVelocityYOverride(-annulusBubbleSpeed_);
    }
    gasPenetration_ = fraction;
}

void CGasSeparatorView::SetBubbleRiseSpeed(double speed) {
    if (Changed(bubbleRiseSpeed_, speed)) {
        bubbleRiseSpeed_ = speed;
    }
}

// Bubbles drawn into the inlet ports while the annulus liquid moves down; otherwise they
// rise and the ports' upper regions stop emitting.
void CGasSeparatorView::SetAnnulusBubbleSpeed(double speed) {
    if (!Changed(annulusBubbleSpeed_, speed)) {
        return;
    }
    Region(PerfLeft).SetVelocityXOverride(-speed);
    Region(PerfRight).SetVelocityXOverride(speed);
    const double vertical = speed >= 0 ? -bubbleRiseSpeed_ : speed;
    Region(PerfLeft).SetVelocityYOverride(vertical);
    Region(PerfRight).SetVelocityYOverride(vertical);
    if (speed >= 0) {
        Region(PerfLeftTop).StartEmitting();
        Region(PerfRightTop).StartEmitting();
    } else {
        Region(PerfLeftTop).StopEmitting();
        Region(PerfRightTop).StopEmitting();
    }
    annulusBubbleSpeed_ = speed;
}

void CGasSeparatorView::SetAnnulusFluidSpeed(double speed) {
    if (Changed(annulusFluidSpeed_, speed)) {
        Region(DipTubeLeftFluid).SetVelocityYOverride(speed);
        Region(DipTubeRightFluid).SetVelocityYOverride(speed);
        annulusFluidSpeed_ = speed;
    }
}

void CGasSeparatorView::SetDipTubeBubbleSpeed(double speed) {
    if (Changed(dipTubeBubbleSpeed_, speed)) {
        dipTubeCenter_.SetVelocityYOverride(-speed);
        dipTubeBubbleSpeed_ = speed;
    }
}

void CGasSeparatorView::SetPlungerFluidSpeed(double speed) {
    if (Changed(plungerFluidSpeed_, speed)) {
        Region(DipTubeTopFluid).SetVelocityYOverride(-speed);
        plungerFluidSpeed_ = speed;
    }
}

// The flow marker appears only while liquid moves up the dip tube; when the flow stops the
// live marker holds where it is.
void CGasSeparatorView::SetDipTubeFluidSpeed(double speed) {
    if (!Changed(dipTubeFluidSpeed_, speed)) {
        return;
    }
    if (speed <= 0) {
        flowIndicator_.StopEmitting();
    } else {
        flowIndicator_.StartEmitting();
    }
    flowIndicator_.SetVelocityYOverride(-speed);
    Region(DipTubeCenterFluid).SetVelocityYOverride(-speed);
    dipTubeFluidSpeed_ = speed;
}

void CGasSeparatorView::RefreshDipTube() {
    const CValveView& traveling = plunger_.Valve();
    dipTubeCenter_.SetTravelingValveSeated(traveling.CurrentY() == traveling.LowerY());
    dipTubeCenter_.SetStandingValveSeated(standingValve_.CurrentY() == standingValve_.LowerY());
    const CParticleRegionView& topFluid = Region(DipTubeTopFluid);
    const int left = topFluid.X() - dipTubeCenter_.X();
    // The plunger's Y is a window coordinate; the chamber is in the region's coordinates.
    const int top =
        plunger_.CurrentY() + traveling.SeatedBottom() - kChamberOverlap - dipTubeCenter_.Y();
    dipTubeCenter_.SetChamber(left, top, left + topFluid.Width(), topFluid.Height());
}

void CGasSeparatorView::Draw(ICanvas& canvas) const {
    const TGasSeparator* separator = GetTagAs<TGasSeparator>(tag_);
    if (!separator) {
        return;
    }
    DrawImage(canvas, separator->backgroundImage, separator->absX, separator->absY);
    DrawBackParticles(canvas);
    DrawImage(canvas, separator->gasSeparatorImage, separator->separatorAbsX,
              separator->separatorAbsY);
    DrawFrontParticles(canvas);
    dipTubeCenter_.DrawParticles(canvas, CParticleRegionView::Layer::Back);
    standingValve_.Draw(canvas);
    plunger_.DrawValveLayer(canvas);
    dipTubeCenter_.DrawParticles(canvas, CParticleRegionView::Layer::Front);
    plunger_.DrawBody(canvas);
    valveBase_.Draw(canvas);
    for (int index : kLineDrawOrder) {
        dimensionLines_[index].Draw(canvas);
    }
}

void CGasSeparatorView::DrawBackParticles(ICanvas& canvas) const {
    for (Id id : kBehindSeparator) {
        Region(id).DrawParticles(canvas);
    }
}

void CGasSeparatorView::DrawFrontParticles(ICanvas& canvas) const {
    for (Id id : kInFrontOfSeparator) {
        Region(id).DrawParticles(canvas);
    }
}

void CGasSeparatorView::DescribeState(ViewState& state) const {
    state.emplace_back("plunger_position", FormatNumber(plungerPosition_));
    state.emplace_back("gas_penetration", FormatNumber(gasPenetration_));
    state.emplace_back("bubble_rise_speed", FormatNumber(bubbleRiseSpeed_));
    state.emplace_back("annulus_bubble_speed", FormatNumber(annulusBubbleSpeed_));
    state.emplace_back("annulus_fluid_speed", FormatNumber(annulusFluidSpeed_));
    state.emplace_back("dip_tube_bubble_speed", FormatNumber(dipTubeBubbleSpeed_));
    state.emplace_back("plunger_fluid_speed", FormatNumber(plungerFluidSpeed_));
    state.emplace_back("dip_tube_fluid_speed", FormatNumber(dipTubeFluidSpeed_));
    state.emplace_back("dip_tube_length_px", std::to_string(dipTubeLengthPixels_));
    state.emplace_back("plunger_stroke_px", std::to_string(plungerStrokePixels_));
}
