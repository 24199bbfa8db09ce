#include "app/services/GlobalService.h"

#include "common/log_manager/Log_Manager.h"

#include <cassert>
#include <cstdio>

namespace {
void StopInDebugBuilds(const char* service, const char* use) {
    (void)service;
    (void)use;
    assert(!"a process-wide service is used where it does not exist");
}

MissingServiceHandler gHandler = StopInDebugBuilds;
} // namespace

void ReportMissingService(const char* service, const char* use) {
    if (gLogManager != nullptr) {
        LOG_ERROR("App", "No %s for %s: a wiring error", service, use);
    } else {
        std::fprintf(stderr, "error: no %s for %s: a wiring error\n", service, use);
    }
    gHandler(service, use);
}

void SetMissingServiceHandler(MissingServiceHandler handler) {
    gHandler = handler ? handler : StopInDebugBuilds;
}
