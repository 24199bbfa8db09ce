#pragma once
// Named events: the one registry through which views, controllers and the model talk.
// Events carry no payload; listeners read the model or look views up by name.

#include <deque>
#include <functional>
#include <string>

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

private:
    struct EventSubscription {
        std::string name;
        const void* listener;
        std::function<void()> handler;
    };
    // A deque keeps references to existing entries valid while a handler appends new ones.
    std::deque<EventSubscription> entries_;
};

// The process-wide registry; start-up creates it before any object that subscribes or raises.
extern EventRegistry* gEventRegistry;

// Convenience entries on the process-wide registry; they do nothing before it exists.
template <class Listener>
void SubscribeEvent(const std::string& name, Listener* listener, void (Listener::*handler)()) {
    if (gEventRegistry) {
        gEventRegistry->Subscribe(name, listener, handler);
    }
}
void RaiseEvent(std::string name);
