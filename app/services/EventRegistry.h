#pragma once
// Named events: the one registry through which views, controllers and the model talk.
// Events carry no payload; listeners read the model or look views up by name.

#include "app/services/GlobalService.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class EventRegistry {
public:
    // Appends a subscription; duplicates are kept and each is called.
    template <class Listener>
    void Subscribe(const std::string& name, Listener* listener, void (Listener::*handler)()) {
        entries_.push_back({name, listener, [listener, handler] { (listener->*handler)(); }});
    }
    void Subscribe(const std::string& name, const void* listener, std::function<void()> handler) {
        entries_.push_back({name, listener, std::move(handler)});
    }

    // Calls every handler subscribed under exactly this name, in subscription order, on this
    // thread. Nested raises are dispatched completely before the walk goes on. Subscriptions
    // made during a dispatch are heard from the next raise on.
    void Raise(std::string name);

    // Every subscribed name once, in order of first subscription (for wiring checks).
    std::vector<std::string> SubscribedNames() const;

private:
    struct EventSubscription {
        std::string name;
        const void* listener;
        std::function<void()> handler;
    };
    // A deque keeps references to existing entries valid while a handler appends new ones.
    std::deque<EventSubscription> entries_;
};

// The process-wide registry; its owner (the application) publishes it before any object that
// subscribes or raises exists.
extern EventRegistry* gEventRegistry;

// The process-wide registry; a missing one is reported (ReportMissingService) and yields null.
EventRegistry* Events(const std::string& use);

// Convenience entries on the process-wide registry. Without one they report the wiring error.
template <class Listener>
void SubscribeEvent(const std::string& name, Listener* listener, void (Listener::*handler)()) {
    if (EventRegistry* events = Events("subscribing to \"" + name + "\"")) {
        events->Subscribe(name, listener, handler);
    }
}
void SubscribeEvent(const std::string& name, const void* listener, std::function<void()> handler);
void RaiseEvent(std::string name);
