#include "platform/socket_error.h"

#include <sys/socket.h>
#include <cerrno>

namespace kestrix::platform {

namespace {

// Winsock numbers its errors after the BSD ones, which Linux numbers differently.
int winsockNumber(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return 10013;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
            return 10054;
        case ENOBUFS:
            return 10055;
        case EPIPE:
            return 10058;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        default:
            return 10107;  // a system call failed for a reason Winsock has no number for
    }
}

}  // namespace

int takeSocketError(qintptr descriptor) {
    int error = 0;
    socklen_t size = sizeof error;
    const bool read =
        ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_ERROR, &error, &size) == 0;
    return read && error != 0 ? winsockNumber(error) : 0;
}

}  // namespace kestrix::platform
