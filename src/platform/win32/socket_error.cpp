#include "platform/socket_error.h"

#include <winsock2.h>

namespace kestrix::platform {

int takeSocketError(qintptr descriptor) {
    // Windows keeps the Winsock number itself.
    const auto socket = static_cast<SOCKET>(descriptor);
    int error = 0;
    int size = sizeof error;
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0) {
        return 0;
    }
    if (error != 0) {
        return error;
    }
    // A connection the peer reset leaves no error here: the next receive reports it. A look
    // that takes no byte finds it, and leaves it to that receive too.
    char byte = 0;
    if (::recv(socket, &byte, 1, MSG_PEEK) != SOCKET_ERROR) {
        return 0;
    }
    const int received = ::WSAGetLastError();
    // Nothing to receive yet, or not connected yet: no error known.
    return received == WSAEWOULDBLOCK || received == WSAENOTCONN ? 0 : received;
}

}  // namespace kestrix::platform
