#include "support/loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrix::test {

BoundSocket bindLoopback() {
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (descriptor < 0 || ::bind(descriptor, generic, size) != 0 ||
        ::getsockname(descriptor, generic, &size) != 0) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        return {};
    }
    return {descriptor, ntohs(address.sin_port)};
}

bool startListening(qintptr descriptor) {
    return ::listen(static_cast<int>(descriptor), SOMAXCONN) == 0;
}

void closeSocket(qintptr descriptor) {
    ::close(static_cast<int>(descriptor));
}

void resetOnClose(qintptr descriptor) {
    // Lingering for no time makes the close send RST.
    const linger none{1, 0};
    ::setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_LINGER, &none, sizeof none);
}

QString resetsUnreported() {
    return {};  // the next receive fails with ECONNRESET
}

}  // namespace kestrix::test
