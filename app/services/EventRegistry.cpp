#include "app/services/EventRegistry.h"

#include <algorithm>

EventRegistry* gEventRegistry = nullptr;

void EventRegistry::Raise(std::string name) {
    // `name` is our own copy: the caller's string may be destroyed by a handler.
    const size_t count = entries_.size();
    for (size_t i = 0; i < count; ++i) {
        const EventSubscription& entry = entries_[i];
        if (entry.name == name) {
            entry.handler();
        }
    }
}

std::vector<std::string> EventRegistry::SubscribedNames() const {
    std::vector<std::string> names;
    for (const EventSubscription& entry : entries_) {
        if (std::find(names.begin(), names.end(), entry.name) == names.end()) {
            names.push_back(entry.name);
        }
    }
    return names;
}

EventRegistry* Events(const std::string& use) {
    return RequireService(gEventRegistry, "event registry", use.c_str());
}

void SubscribeEvent(const std::string& name, const void* listener, std::function<void()> handler) {
    if (EventRegistry* events = Events("subscribing to \"" + name + "\"")) {
        events->Subscribe(name, listener, std::move(handler));
    }
}

void RaiseEvent(std::string name) {
    if (gEventRegistry == nullptr) {
        ReportMissingService("event registry", ("raising \"" + name + "\"").c_str());
        return;
    }
    gEventRegistry->Raise(std::move(name));
}
