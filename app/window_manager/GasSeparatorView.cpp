#include "app/window_manager/GasSeparatorView.h"

#include "app/model/NumberFormat.h"
#include "app/tags/GasSeparator.h"
#include "app/tags/Image.h"
#include "app/tags/ParticleRegion.h"
#include "app/tags/Plunger.h"
#include "app/tags/ViewNames.h"

#include "app/tags/TagManager.h"
#include <memory>

#include <utility>

namespace {
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

std::unique_ptr<CParticleRegionView> MakeRegion(RegionKind kind) {
    switch (kind) {
    case RegionKind::DipTubeBubbles:
        return std::make_unique<CDipTubeBubbleRegionView>();
    case RegionKind::FlowIndicator:
        return std::make_unique<CFlowIndicatorView>();
    case RegionKind::General:
        break;
    }
    return std::make_unique<CParticleRegionView>();
}

constexpr auto kUnderSeparator = RegionsDrawnIn<RegionLayer::UnderSeparator>();
constexpr auto kOverSeparator = RegionsDrawnIn<RegionLayer::OverSeparator>();
} // namespace

CGasSeparatorView::CGasSeparatorView() {
    for (const WellRegion& region : kWellRegions) {
        regions_[region.id] = MakeRegion(region.kind);
    }
    dipTubeCenter_ = static_cast<CDipTubeBubbleRegionView*>(regions_[DipTubeCenter].get());
    flowIndicator_ = static_cast<CFlowIndicatorView*>(regions_[FlowIndicator].get());
}

CGasSeparatorView::~CGasSeparatorView() = default;

void CGasSeparatorView::Init(IMainWindow* window, const std::string& name) {
    InitBase(window, name);
    plungerPosition_ = gasPenetration_ = bubbleRiseSpeed_ = annulusBubbleSpeed_ = 0;
    annulusFluidSpeed_ = dipTubeBubbleSpeed_ = plungerFluidSpeed_ = dipTubeFluidSpeed_ = 0;
    plunger_.Init(window, ViewName::kPlunger);
    standingValve_.Init(window, ViewName::kStandingValve);
    valveBase_.Init(window, ViewName::kValveBase);
    for (const WellRegion& region : kWellRegions) {
        regions_[region.id]->Init(window, region.viewName);
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
    const TParticleRegion* left = GetTagAs<TParticleRegion>(separator->Region(DipTubeLeft));
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
    for (const WellRegion& region : kWellRegions) {
        regions_[region.id]->Configure(tag.Region(region.id));
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
    for (const auto& region : regions_) {
        region->Shutdown();
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
        dipTubeCenter_->StopEmitting();
        Region(DipTubeLeft).ClearVelocityYOverride();
        Region(DipTubeRight).ClearVelocityYOverride();
    } else {
        dipTubeCenter_->StartEmitting();
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
        dipTubeCenter_->SetVelocityYOverride(-speed);
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
        flowIndicator_->StopEmitting();
    } else {
        flowIndicator_->StartEmitting();
    }
    flowIndicator_->SetVelocityYOverride(-speed);
    Region(DipTubeCenterFluid).SetVelocityYOverride(-speed);
    dipTubeFluidSpeed_ = speed;
}

void CGasSeparatorView::RefreshDipTube() {
    const CValveView& traveling = plunger_.Valve();
    dipTubeCenter_->SetTravelingValveSeated(traveling.CurrentY() == traveling.LowerY());
    dipTubeCenter_->SetStandingValveSeated(standingValve_.CurrentY() == standingValve_.LowerY());
    const CParticleRegionView& topFluid = Region(DipTubeTopFluid);
    const int left = topFluid.X() - dipTubeCenter_->X();
    // The plunger's Y is a window coordinate; the chamber is in the region's coordinates.
    const int top =
        plunger_.CurrentY() + traveling.SeatedBottom() - kChamberOverlap - dipTubeCenter_->Y();
    dipTubeCenter_->SetChamber(left, top, left + topFluid.Width(), topFluid.Height());
}

void CGasSeparatorView::Draw(ICanvas& canvas) const {
    DrawWell(canvas, false);
}

void CGasSeparatorView::DrawWithAllDimensions(ICanvas& canvas) const {
    DrawWell(canvas, true);
}

PixelRect CGasSeparatorView::PictureRect() const {
    const TGasSeparator* separator = GetTagAs<TGasSeparator>(tag_);
    const TImage* casing = separator ? GetTagAs<TImage>(separator->backgroundImage) : nullptr;
    return casing ? PixelRect{separator->absX, separator->absY, casing->width, casing->height}
                  : PixelRect{};
}

void CGasSeparatorView::DrawWell(ICanvas& canvas, bool allDimensions) const {
    const TGasSeparator* separator = GetTagAs<TGasSeparator>(tag_);
    if (!separator) {
        return;
    }
    const PixelRect picture = allDimensions ? PictureRect() : PixelRect{};
    DrawImage(canvas, separator->backgroundImage, separator->absX, separator->absY);
    DrawBackParticles(canvas);
    DrawImage(canvas, separator->gasSeparatorImage, separator->separatorAbsX,
              separator->separatorAbsY);
    DrawFrontParticles(canvas);
    dipTubeCenter_->DrawParticles(canvas, CParticleRegionView::Layer::Back);
    standingValve_.Draw(canvas);
    plunger_.DrawValveLayer(canvas);
    dipTubeCenter_->DrawParticles(canvas, CParticleRegionView::Layer::Front);
    plunger_.DrawBody(canvas);
    valveBase_.Draw(canvas);
    for (int index : kLineDrawOrder) {
        allDimensions ? dimensionLines_[index].DrawAtFullStrength(
                            canvas, {picture.x, picture.x + picture.width})
                      : dimensionLines_[index].Draw(canvas);
    }
}

void CGasSeparatorView::DrawBackParticles(ICanvas& canvas) const {
    for (WellRegionId id : kUnderSeparator) {
        Region(id).DrawParticles(canvas);
    }
}

void CGasSeparatorView::DrawFrontParticles(ICanvas& canvas) const {
    for (WellRegionId id : kOverSeparator) {
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
