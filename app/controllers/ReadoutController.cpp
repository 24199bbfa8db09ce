#include "app/controllers/ReadoutController.h"

#include "app/model/DesignReadouts.h"
#include "app/model/ParameterRules.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/GasReachView.h"
#include "app/window_manager/NoticeView.h"

void CReadoutController::Initialise() {
    reach_.SetTooltip("Gas reach: the deepest point gas bubbles were carried down the "
                      "separator annulus in the last complete pump cycle, against the dip "
                      "tube length. At 100 % gas enters the dip tube.");
    UpdateNotice();
    ShowGasReach();
    SubscribeEvent(EventName::kSimulationFrameUpdated, this, &CReadoutController::ShowGasReach);
    SubscribeEvent(EventName::kWellParametersUpdated, this, &CReadoutController::UpdateNotice);
    SubscribeEvent(EventName::kTagsReloaded, this, &CReadoutController::ShowGasReachAfterReload);
}

// Runs every frame, but the read-out changes only once per pump cycle or with the design, so
// the view is found and its text made only then (and once more after a tag reload).
void CReadoutController::ShowGasReach() {
    const WellParameters& parameters = model_.GetParameters();
    const bool apply = !BreaksARangeRule(parameters);
    const GasReach reach = GasReachOf(parameters, model_.GetState());
    const ShownReach shown{reach.known, reach.depth, reach.length, apply};
    if (shown_ == shown) {
        return;
    }
    reach_.SetReach(GasReachText(reach, apply), apply ? reach.Fraction() : 0.0);
    shown_ = shown;
}

void CReadoutController::ShowGasReachAfterReload() {
    shown_.reset();
    ShowGasReach();
}

void CReadoutController::UpdateNotice() {
    aboveCapacity_ = AboveCapacityText(model_.GetParameters());
    aboveCapacity_ ? notice_.Show(*aboveCapacity_) : notice_.Hide();
}
