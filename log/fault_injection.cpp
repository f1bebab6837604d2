// The test hook of the log's platform layer: a failure that a test asks for
// a system call. Unset in the program, so every call runs.

#include <utility>

#include "log/platform_internal.h"

namespace tandrel::log::platform {

namespace {

FaultInjector& Injector() {
    static FaultInjector injector;
    return injector;
}

}  // namespace

InjectedFault FaultFor(SysCall call) {
    const FaultInjector& injector = Injector();
    return injector ? injector(call) : InjectedFault{};
}

void SetFaultInjector(FaultInjector injector) { Injector() = std::move(injector); }

}  // namespace tandrel::log::platform
