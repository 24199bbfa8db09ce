#pragma once
// Starts and stops the pump and keeps the button bar's pump and dimension buttons in step.

class CButtonBarView;
class CGasSeparatorModel;

class CPumpController {
public:
    CPumpController(CGasSeparatorModel& model, CButtonBarView& bar) : model_(model), bar_(bar) {}

    // Subscribes its events, then shows the dimension show button.
    void Initialise();

private:
    void OnPumpStart();
    void OnPumpStop();
    void OnShowDimensions();
    void OnHideDimensions();
    void OnSimulationFrameUpdated();

    CGasSeparatorModel& model_;
    CButtonBarView& bar_;
};
