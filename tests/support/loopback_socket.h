#pragma once

#include <QString>

namespace kestrix::test {

// The few socket calls the socket tests make below Qt, with the system's own sockets.

// A TCP socket bound to a free port on 127.0.0.1 and not listening; descriptor -1 when there is
// none.
struct BoundSocket {
    qintptr descriptor = -1;
    quint16 port = 0;
};
[[nodiscard]] BoundSocket bindLoopback();
[[nodiscard]] bool startListening(qintptr descriptor);
void closeSocket(qintptr descriptor);

// From now on closing the connected socket sends RST rather than FIN.
void resetOnClose(qintptr descriptor);

// Why a peer's reset cannot be told from its orderly close here, if it cannot (Wine reports
// both alike); "" where it can.
[[nodiscard]] QString resetsUnreported();

}  // namespace kestrix::test
