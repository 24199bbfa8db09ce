#pragma once
// The animated cut-away of the well: casing, separator, dip tube, plunger and valves, the
// particle regions and the dimension lines. It keeps no model: every frame it is fed the
// plunger position, the gas penetration and the speeds in pixels per second, and turns
// them into levels, velocity overrides, emission and valve travel.

#include "app/tags/GasSeparator.h"
#include "app/window_manager/BaseView.h"
#include "app/window_manager/DimensionLineView.h"
#include "app/window_manager/DipTubeBubbleRegionView.h"
#include "app/window_manager/FlowIndicatorView.h"
#include "app/window_manager/ParticleRegionView.h"
#include "app/window_manager/PlungerView.h"
#include "app/window_manager/ValveBaseView.h"
#include "app/window_manager/ValveView.h"

#include <array>
#include <memory>

class CGasSeparatorView : public CBaseView {
public:
    // The particle regions, named as in kWellRegions.
    using RegionId = WellRegionId;
    using enum WellRegionId;
    static constexpr int kRegionCount = kWellRegionCount;
    static constexpr int kDimensionLineCount = 6;

    CGasSeparatorView();
    ~CGasSeparatorView() override;

    void Init(IMainWindow* window, const std::string& name) override;
    // Configures every member from the tag, then applies the stored inputs again.
    void Configure(TagHandle tag) override;
    void Shutdown() override;
    void Draw(ICanvas& canvas) const override;
    // The same frame with every dimension line at full strength and every label inside the
    // casing's picture (the report's picture, read back from PictureRect).
    void DrawWithAllDimensions(ICanvas& canvas) const;
    // Where the casing's picture lies; empty without one.
    PixelRect PictureRect() const;

    // The inputs. Once applied, a value equal to the stored one is ignored.
    void SetPlungerPosition(double position);
    void SetGasPenetration(double fraction);
    void SetBubbleRiseSpeed(double speed);
    void SetAnnulusBubbleSpeed(double speed);
    void SetAnnulusFluidSpeed(double speed);
    void SetDipTubeBubbleSpeed(double speed);
    void SetPlungerFluidSpeed(double speed);
    void SetDipTubeFluidSpeed(double speed);
    void OpenIntakeValve() { standingValve_.Open(); }
    void CloseIntakeValve() { standingValve_.Close(); }
    void OpenPlungerValve() { plunger_.Valve().Open(); }
    void ClosePlungerValve() { plunger_.Valve().Close(); }
    // Tells the dip tube region where the chamber is and which valves are seated.
    void RefreshDipTube();

    // Pixels per dip tube length (the dip tube left region's travel) and per plunger stroke.
    int DipTubeLengthPixels() const { return dipTubeLengthPixels_; }
    int PlungerStrokePixels() const { return plungerStrokePixels_; }

    const char* Kind() const override { return "gas_separator"; }
    void DescribeState(ViewState& state) const override;

    CParticleRegionView& Region(RegionId id) { return *regions_[id]; }
    const CParticleRegionView& Region(RegionId id) const { return *regions_[id]; }
    CDipTubeBubbleRegionView& DipTubeCenterRegion() { return *dipTubeCenter_; }
    CFlowIndicatorView& FlowIndicatorRegion() { return *flowIndicator_; }
    CPlungerView& Plunger() { return plunger_; }
    CValveView& StandingValve() { return standingValve_; }
    CDimensionLineView& DimensionLine(int index) { return dimensionLines_[index]; }

private:
    // Whether an input must act: always before the first configuration has finished,
    // afterwards only when the value differs from the stored one.
    bool Changed(double stored, double value) const { return !applied_ || stored != value; }
    void ConfigureMembers(const TGasSeparator& tag);
    void DrawWell(ICanvas& canvas, bool allDimensions) const;
    void ReapplyInputs();
    void DrawBackParticles(ICanvas& canvas) const;
    void DrawFrontParticles(ICanvas& canvas) const;

    CPlungerView plunger_;
    CValveView standingValve_;
    CValveBaseView valveBase_;
    // Made from kWellRegions, each of its kind; two of them also by their own class.
    std::array<std::unique_ptr<CParticleRegionView>, kWellRegionCount> regions_;
    CDipTubeBubbleRegionView* dipTubeCenter_ = nullptr;
    CFlowIndicatorView* flowIndicator_ = nullptr;
    std::array<CDimensionLineView, kDimensionLineCount> dimensionLines_;
    int dipTubeLengthPixels_ = 0;
    int plungerStrokePixels_ = 0;
    double plungerPosition_ = 0;
    double gasPenetration_ = 0;
    double bubbleRiseSpeed_ = 0;
    double annulusBubbleSpeed_ = 0;
    double annulusFluidSpeed_ = 0;
    double dipTubeBubbleSpeed_ = 0;
    double plungerFluidSpeed_ = 0;
    double dipTubeFluidSpeed_ = 0;
    bool applied_ = false;
};
