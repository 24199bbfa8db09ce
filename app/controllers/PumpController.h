#pragma once
// Starts and stops the pump and keeps the button bar's pump and dimension buttons in step.

class CPumpController {
public:
    // Subscribes its events, then shows the dimension show button.
    void Initialise();

private:
    void OnPumpStart();
    void OnPumpStop();
    void OnShowDimensions();
    void OnHideDimensions();
    void OnSimulationFrameUpdated();
};
