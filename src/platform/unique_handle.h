#pragma once

#include <cstdint>
#include <utility>

namespace kestrix::platform {

// The system's own handle of an open file or folder: a descriptor on POSIX, a HANDLE on
// Windows. Only the platform's implementations make one or look inside.
enum class NativeHandle : std::intptr_t { none = -1 };

// A handle that is closed when it goes.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(NativeHandle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, NativeHandle::none)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, NativeHandle::none);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    [[nodiscard]] NativeHandle native() const { return handle_; }
    explicit operator bool() const { return handle_ != NativeHandle::none; }
    // Closes the handle now; returns the system's error number when closing failed, else 0.
    // The handle is gone afterwards whatever the result: it is never closed twice.
    int close();
    void reset() { (void)close(); }
    // Gives the handle up to the caller, who closes it from now on.
    [[nodiscard]] NativeHandle release() { return std::exchange(handle_, NativeHandle::none); }

private:
    NativeHandle handle_ = NativeHandle::none;
};

}  // namespace kestrix::platform
