#include "platform/socket_error.h"

#include <winsock2.h>

namespace kestrix::platform {

int takeSocketError(qintptr descriptor) {
    // Windows keeps the Winsock number itself.
    int error = 0;
    int size = sizeof error;
    const bool read = ::getsockopt(static_cast<SOCKET>(descriptor), SOL_SOCKET, SO_ERROR,
                                   reinterpret_cast<char*>(&error), &size) == 0;
    return read ? error : 0;
}

}  // namespace kestrix::platform
