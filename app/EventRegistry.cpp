#include "app/EventRegistry.h"

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

void RaiseEvent(std::string name) {
    if (gEventRegistry) {
        gEventRegistry->Raise(std::move(name));
    }
}
