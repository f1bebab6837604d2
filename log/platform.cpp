// The part of the log's open file that is the same on every system: moving
// and giving up the handle.

#include "log/platform.h"

namespace tandrel::log::platform {

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        File closesOld(Release());
        handle_ = other.Release();
    }
    return *this;
}

std::intptr_t File::Release() noexcept {
    const std::intptr_t handle = handle_;
    handle_ = -1;
    return handle;
}

}  // namespace tandrel::log::platform
