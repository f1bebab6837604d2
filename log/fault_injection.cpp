// The test hooks of the log's platform layer: a failure that a test asks for
// a system call, and a folder for the log. Unset in the program, so every
// call runs and the log is in its system's place.

#include <string>
#include <utility>

#include "log/platform_internal.h"

namespace tandrel::log::platform {

namespace {

FaultInjector& Injector() {
    static FaultInjector injector;
    return injector;
}

std::string& LogFolderOfTest() {
    static std::string folder;
    return folder;
}

}  // namespace

InjectedFault FaultFor(SysCall call) {
    const FaultInjector& injector = Injector();
    return injector ? injector(call) : InjectedFault{};
}

void SetFaultInjector(FaultInjector injector) { Injector() = std::move(injector); }

const std::string& LogFolderSetByTest() { return LogFolderOfTest(); }

void SetLogFolder(std::string folder) { LogFolderOfTest() = std::move(folder); }

}  // namespace tandrel::log::platform
