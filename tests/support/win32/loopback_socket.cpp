#include "support/loopback_socket.h"

#include <winsock2.h>

namespace kestrix::test {

namespace {

// Winsock must be started before the first call; Qt starts it too, and it counts.
void startWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

}  // namespace

BoundSocket bindLoopback() {
    startWinsock();
    const SOCKET descriptor = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (descriptor == INVALID_SOCKET || ::bind(descriptor, generic, size) != 0 ||
        ::getsockname(descriptor, generic, &size) != 0) {
        if (descriptor != INVALID_SOCKET) {
            ::closesocket(descriptor);
        }
        return {};
    }
    return {static_cast<qintptr>(descriptor), ntohs(address.sin_port)};
}

bool startListening(qintptr descriptor) {
    return ::listen(static_cast<SOCKET>(descriptor), SOMAXCONN) == 0;
}

void closeSocket(qintptr descriptor) {
    ::closesocket(static_cast<SOCKET>(descriptor));
}

void resetOnClose(qintptr descriptor) {
    // Lingering for no time makes the close send RST.
    const linger none{1, 0};
    ::setsockopt(static_cast<SOCKET>(descriptor), SOL_SOCKET, SO_LINGER,
                 reinterpret_cast<const char*>(&none), sizeof none);
}

QString resetsUnreported() {
    // A connection on loopback whose far end resets it: does the next receive say so?
    const BoundSocket listener = bindLoopback();
    const SOCKET client = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(listener.port);
    SOCKET accepted = INVALID_SOCKET;
    if (listener.descriptor >= 0 && startListening(listener.descriptor) &&
        ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        accepted = ::accept(static_cast<SOCKET>(listener.descriptor), nullptr, nullptr);
    }
    QString reason = QStringLiteral("no connection on loopback to try a reset on");
    if (accepted != INVALID_SOCKET) {
        resetOnClose(static_cast<qintptr>(accepted));
        ::closesocket(accepted);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(client, &readable);
        timeval patience{5, 0};
        char byte = 0;
        const bool reported = ::select(0, &readable, nullptr, nullptr, &patience) == 1 &&
                              ::recv(client, &byte, 1, 0) == SOCKET_ERROR &&
                              ::WSAGetLastError() == WSAECONNRESET;
        reason = reported ? QString()
                          : QStringLiteral("this Windows reports a reset as an orderly close");
    }
    ::closesocket(client);
    closeSocket(listener.descriptor);
    return reason;
}

}  // namespace kestrix::test
