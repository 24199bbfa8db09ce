#pragma once
// Process-wide services (the log manager, the event registry, the tag manager, the window
// manager, the model, the simulator, the application controller) are each owned by one object
// and reached through a global pointer. The pointer is set while its owner holds the service
// and cleared as soon as the owner lets go, so it is never dangling. Using a service that is
// not there is a programming error: it is reported through ReportMissingService, never
// silently skipped.

#include <memory>
#include <utility>

// Logs at Error that `service` is missing for `use` (to standard error when there is no log
// manager either), then calls the missing-service handler: by default a debug build stops
// there with an assertion and a release build goes on.
void ReportMissingService(const char* service, const char* use);

using MissingServiceHandler = void (*)(const char* service, const char* use);
// Replaces the handler (tests that check the report); nullptr restores the default.
void SetMissingServiceHandler(MissingServiceHandler handler);

// `service`, or ReportMissingService and nullptr when there is none.
template <class T> T* RequireService(T* service, const char* name, const char* use) {
    if (service == nullptr) {
        ReportMissingService(name, use);
    }
    return service;
}

// Publishes an object owned elsewhere through `slot` for the lifetime of this scope.
template <class T> class ScopedGlobal {
public:
    ScopedGlobal(T*& slot, T& object) : slot_(slot) {
        if (slot_ != nullptr) {
            ReportMissingService("a free global slot", "publishing a second owner's service");
        }
        slot_ = &object;
    }
    ~ScopedGlobal() { slot_ = nullptr; }
    ScopedGlobal(const ScopedGlobal&) = delete;
    ScopedGlobal& operator=(const ScopedGlobal&) = delete;

private:
    T*& slot_;
};

// Replaces what `slot` points to for the lifetime of this scope and then puts the previous
// value back (a stand-in for one service, such as the driver's shell that prints message boxes).
template <class T> class ScopedOverride {
public:
    ScopedOverride(T*& slot, T* replacement) : slot_(slot), previous_(slot) { slot_ = replacement; }
    ~ScopedOverride() { slot_ = previous_; }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

private:
    T*& slot_;
    T* previous_;
};

// Owns one service and publishes it through `slot` while it lives. Reset unpublishes the
// pointer first, then destroys the object.
template <class T> class GlobalService {
public:
    explicit GlobalService(T*& slot) : slot_(slot) {}
    ~GlobalService() { Reset(); }
    GlobalService(const GlobalService&) = delete;
    GlobalService& operator=(const GlobalService&) = delete;

    template <class... Args> T& Create(Args&&... args) {
        Reset();
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        published_ = std::make_unique<ScopedGlobal<T>>(slot_, *object);
        object_ = std::move(object);
        return *object_;
    }
    void Reset() {
        published_.reset();
        object_.reset();
    }
    T* Get() const { return object_.get(); }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T*& slot_;
    std::unique_ptr<T> object_;
    std::unique_ptr<ScopedGlobal<T>> published_;
};
