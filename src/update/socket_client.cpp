#include "update/socket_client.h"

namespace kestrix::update {

SocketClient::SocketClient(QObject* parent) : QObject(parent) {
    // Connected before any connection starts: a local host may connect from inside
    // connectToHost.
    connect(&socket_, &QTcpSocket::connected, this, &SocketClient::onConnected);
    connect(&socket_, &QTcpSocket::readyRead, this, &SocketClient::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &SocketClient::onDisconnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &SocketClient::onError);
}

void SocketClient::Close() {
    socket_.abort();
    // Whatever the abort raised, or was queued before it, belongs to the closed connection.
    ++connection_;
    received_.clear();
    errorRaised_ = false;
}

void SocketClient::Connect(const QString& remoteHost, quint16 remotePort) {
    Close();
    socket_.connectToHost(remoteHost, remotePort);
}

void SocketClient::SendData(const QString& text) {
    if (socket_.state() != QAbstractSocket::ConnectedState) {
        post([this] {
            emit ErrorEvent(notConnectedError,
                            QStringLiteral("Wrong protocol or connection state for sending"));
        });
        return;
    }
    socket_.write(text.toLatin1());
}

QString SocketClient::GetData() {
    received_ += socket_.readAll();
    return QString::fromLatin1(std::exchange(received_, {}));
}

void SocketClient::onConnected() {
    post([this] { emit ConnectEvent(); });
}

void SocketClient::onReadyRead() {
    // Taken at once, so the bytes stay with this connection whatever the socket does next.
    received_ += socket_.readAll();
    post([this] { emit DataArrivalEvent(received_.size()); });
}

void SocketClient::onDisconnected() {
    if (!errorRaised_) {
        post([this] { emit CloseEvent(); });
    }
}

void SocketClient::onError(QAbstractSocket::SocketError error) {
    // The peer's close is an ordinary end of the connection; disconnected reports it.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        return;
    }
    errorRaised_ = true;
    post([this, raised = winsockError(error)] {
        emit ErrorEvent(raised.number, raised.description);
    });
}

template <typename Raise>
void SocketClient::post(Raise raise) {
    QMetaObject::invokeMethod(
        this,
        [this, connection = connection_, raise = std::move(raise)] {
            if (connection == connection_) {
                raise();
            }
        },
        Qt::QueuedConnection);
}

SocketError winsockError(QAbstractSocket::SocketError error) {
    using E = QAbstractSocket::SocketError;
    switch (error) {
        case E::ConnectionRefusedError:
            return {10061, QStringLiteral("Connection refused")};
        case E::HostNotFoundError:
            return {11001, QStringLiteral("Host not found")};
        case E::SocketTimeoutError:
            return {10060, QStringLiteral("Connection timed out")};
        case E::RemoteHostClosedError:
            return {10054, QStringLiteral("Connection reset by the remote host")};
        case E::NetworkError:
            return {10051, QStringLiteral("Network is unreachable")};
        case E::SocketAccessError:
            return {10013, QStringLiteral("Permission denied")};
        case E::SocketResourceError:
            return {10055, QStringLiteral("No buffer space available")};
        case E::AddressInUseError:
            return {10048, QStringLiteral("Address already in use")};
        case E::SocketAddressNotAvailableError:
            return {10049, QStringLiteral("Address not available")};
        case E::UnsupportedSocketOperationError:
            return {10045, QStringLiteral("Operation not supported")};
        case E::DatagramTooLargeError:
            return {10040, QStringLiteral("Message too long")};
        case E::UnfinishedSocketOperationError:
            return {10036, QStringLiteral("Operation already in progress")};
        case E::TemporaryError:
            return {10035, QStringLiteral("Resource temporarily unavailable")};
        case E::OperationError:
            return {40020, QStringLiteral("Invalid operation at current state")};
        default:
            return {10050, QStringLiteral("Network is down")};
    }
}

}  // namespace kestrix::update
