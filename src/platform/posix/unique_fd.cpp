#include "platform/unique_fd.h"

#include <unistd.h>
#include <cerrno>

namespace kestrix::platform {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int UniqueFd::close() {
    if (fd_ < 0) {
        return 0;
    }
    // The descriptor is gone after close() whatever it returns; it must never be closed twice.
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
}

}  // namespace kestrix::platform
