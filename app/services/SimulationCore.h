#pragma once
// The simulation's services: the event registry (published through gEventRegistry while it
// lives: it is the one message bus every view and controller talks through), the live model and
// its simulator (owned here and handed to whoever needs them). The application builds them in
// two steps around the tag and window managers; tests that run the live model without a window
// use this core alone.

#include "app/services/GlobalService.h"

#include <memory>

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
    CGasSeparatorModel* Model() const { return model_.get(); }
    CGasSeparatorSimulator* Simulator() const { return simulator_.get(); }

private:
    GlobalService<EventRegistry> events_;
    std::unique_ptr<CGasSeparatorModel> model_;
    std::unique_ptr<CGasSeparatorSimulator> simulator_;
};
