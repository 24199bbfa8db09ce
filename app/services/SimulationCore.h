#pragma once
// The simulation's services: the event registry, the model and the simulator, each published
// through its global pointer (gEventRegistry, gGasSeparatorModel, gGasSeparatorSimulator) while
// it lives. The application builds them in two steps around the tag and window managers; tools
// and tests that run the model without a window (the design calculator) use this core alone.

#include "app/services/GlobalService.h"

class CGasSeparatorModel;
class CGasSeparatorSimulator;
class EventRegistry;

class CSimulationCore {
public:
    CSimulationCore();
    // Simulator, model, then the event registry.
    ~CSimulationCore();
    CSimulationCore(const CSimulationCore&) = delete;
    CSimulationCore& operator=(const CSimulationCore&) = delete;

    void CreateEvents();
    // The model; with `initialise` it reads the user's defaults file and subscribes.
    void CreateModel(bool initialise);
    void CreateSimulator();
    // Lets go of the simulator and the model, keeping the events (the application tears the
    // window manager down between the two).
    void ResetModelAndSimulator();
    void Reset();

    EventRegistry* Events() const { return events_.Get(); }
    CGasSeparatorModel* Model() const { return model_.Get(); }
    CGasSeparatorSimulator* Simulator() const { return simulator_.Get(); }

private:
    GlobalService<EventRegistry> events_;
    GlobalService<CGasSeparatorModel> model_;
    GlobalService<CGasSeparatorSimulator> simulator_;
};
