#include "app/controllers/ReadoutController.h"

#include "app/model/DesignReadouts.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterRules.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/NoticeView.h"
#include "app/window_manager/ParametersPanelView.h"

namespace {
constexpr const char* kGasReachTooltip =
    "Gas reach: the deepest point gas bubbles were carried down the separator annulus in the "
    "last complete pump cycle, against the dip tube length. At 100 % gas enters the dip tube.";
constexpr const char* kGasLimitTooltip =
    "Gas limit: the lowest production rate at which gas reaches the dip tube inlet, however long "
    "the pump runs";
constexpr const char* kVerdictTooltip =
    "The design's verdict, however long the pump runs: works (gas never reaches the dip tube "
    "inlet) with the share of the capacity used and of the dip tube the gas reaches, or fails "
    "with the cause and the time from a pump start";
} // namespace

void CReadoutController::Initialise() {
    panel_.GasReach().SetTooltip(kGasReachTooltip);
    panel_.GasLimit().SetTooltip(kGasLimitTooltip);
    panel_.Verdict().SetTooltip(kVerdictTooltip);
    JudgeDesign();
    ShowGasReach();
    SubscribeEvent(EventName::kSimulationFrameUpdated, this, &CReadoutController::OnFrame);
    SubscribeEvent(EventName::kWellParametersUpdated, this, &CReadoutController::JudgeDesign);
    SubscribeEvent(EventName::kTagsReloaded, this, &CReadoutController::ShowGasReachAfterReload);
    SubscribeEvent(EventName::kUnitsChanged, this, &CReadoutController::ShowGasReachAfterReload);
}

void CReadoutController::JudgeDesign() {
    verdict_ = ::JudgeDesign(model_.GetParameters());
    gasArrived_ = false;
    ShowVerdict();
    UpdateNotice();
}

void CReadoutController::OnFrame() {
    ShowGasReach();
    if (!gasArrived_ && model_.GetState().gasAtDipTubeInlet) {
        gasArrived_ = true;
        UpdateNotice();
    }
}

void CReadoutController::ShowVerdict() {
    panel_.Verdict().Show(VerdictSentence(verdict_));
    panel_.Verdict().SetAlert(verdict_.kind != VerdictKind::Works);
    panel_.GasLimit().SetText(GasLimitSentence(verdict_, model_.GetUnitSystem()));
}

// Runs every frame, but the read-out changes only once per pump cycle or with the design, so
// its text is made only then (and once more after a tag reload).
void CReadoutController::ShowGasReach() {
    const WellParameters& parameters = model_.GetParameters();
    const bool apply = !BreaksARangeRule(parameters);
    const GasReach reach = GasReachOf(parameters, model_.GetState());
    const ShownReach shown{reach.known, reach.depth, reach.length, apply};
    if (shown_ == shown) {
        return;
    }
    panel_.GasReach().SetReach(GasReachText(reach, apply, model_.GetUnitSystem()),
                               apply ? reach.Fraction() : 0.0);
    shown_ = shown;
}

void CReadoutController::ShowGasReachAfterReload() {
    shown_.reset();
    ShowGasReach();
    ShowVerdict(); // the reload put the labels' default texts back
    UpdateNotice();
}

void CReadoutController::UpdateNotice() {
    aboveCapacity_ = AboveCapacityText(model_.GetParameters(), verdict_, gasArrived_);
    aboveCapacity_ ? notice_.Show(*aboveCapacity_) : notice_.Hide();
}
