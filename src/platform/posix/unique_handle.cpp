#include "platform/unique_handle.h"

#include <unistd.h>
#include <cerrno>

namespace kestrix::platform {

int UniqueHandle::close() {
    if (!*this) {
        return 0;
    }
    const int result = ::close(static_cast<int>(std::exchange(handle_, NativeHandle::none)));
    return result == 0 ? 0 : errno;
}

}  // namespace kestrix::platform
