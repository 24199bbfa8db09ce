#include "app/services/EventRegistry.h"

#include "app/services/EventNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Recorder {
    std::vector<std::string>* log;
    std::string tag;
    void Hear() { log->push_back(tag); }
};
} // namespace

TEST(EventRegistry, CallsListenersInSubscriptionOrderWithExactNames) {
    EventRegistry registry;
    std::vector<std::string> log;
    Recorder a{&log, "a"}, b{&log, "b"};
    registry.Subscribe(EventName::kPumpStart, &a, &Recorder::Hear);
    registry.Subscribe(EventName::kPumpStop, &b, &Recorder::Hear);
    registry.Subscribe(EventName::kPumpStart, &b, &Recorder::Hear);
    registry.Subscribe(EventName::kPumpStart, &a, &Recorder::Hear); // twice: called twice

    registry.Raise(EventName::kPumpStart);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a"}));

    log.clear();
    registry.Raise("pump start");
    registry.Raise("Pump Start ");
    registry.Raise("Pump");
    registry.Raise("Nobody listens");
    EXPECT_TRUE(log.empty());
}

TEST(EventRegistry, NestedRaisesAreDispatchedDepthFirst) {
    EventRegistry registry;
    std::vector<std::string> log;
    registry.Subscribe("Outer", nullptr, [&] {
        log.push_back("outer 1");
        registry.Raise("Inner");
    });
    registry.Subscribe("Inner", nullptr, [&] { log.push_back("inner"); });
    registry.Subscribe("Outer", nullptr, [&] { log.push_back("outer 2"); });

    registry.Raise("Outer");
    EXPECT_EQ(log, (std::vector<std::string>{"outer 1", "inner", "outer 2"}));
}

TEST(EventRegistry, SubscribingDuringADispatchIsSafeAndHeardNextTime) {
    EventRegistry registry;
    int added = 0, heard = 0;
    registry.Subscribe("Tick", nullptr, [&] {
        // Enough new entries to force the container to grow under the running handler.
        for (int i = 0; i < 100; ++i) {
            registry.Subscribe("Tick", nullptr, [&] { ++heard; });
        }
        ++added;
    });
    registry.Raise("Tick");
    EXPECT_EQ(added, 1);
    EXPECT_EQ(heard, 0);
    registry.Raise("Tick");
    EXPECT_EQ(added, 2);
    EXPECT_EQ(heard, 100);
}

TEST(EventRegistry, NameDestroyedByAHandlerDoesNotBreakTheWalk) {
    EventRegistry registry;
    auto name = std::make_unique<std::string>("Reset");
    int calls = 0;
    registry.Subscribe("Reset", nullptr, [&] {
        name.reset();
        ++calls;
    });
    registry.Subscribe("Reset", nullptr, [&] { ++calls; });
    registry.Raise(*name);
    EXPECT_EQ(calls, 2);
}
