#pragma once

#include "platform/unique_handle.h"

namespace kestrix::platform {

// The descriptor a handle holds on POSIX.
[[nodiscard]] inline int descriptor(const UniqueHandle& handle) {
    return static_cast<int>(handle.native());
}

// A file descriptor that is closed when it goes.
class UniqueFd : public UniqueHandle {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : UniqueHandle(static_cast<NativeHandle>(fd < 0 ? -1 : fd)) {}

    [[nodiscard]] int get() const { return descriptor(*this); }
    // Gives the descriptor up to the caller, who closes it from now on.
    [[nodiscard]] int release() { return static_cast<int>(UniqueHandle::release()); }
};

}  // namespace kestrix::platform
