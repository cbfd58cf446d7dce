#include "update/socket_client.h"

#include "platform/socket_error.h"

#include <QCoreApplication>
#include <QSocketNotifier>

namespace kestrix::update {

namespace {

bool ownedBy(const QObject* object, const QObject* owner) {
    for (; object != nullptr; object = object->parent()) {
        if (object == owner) {
            return true;
        }
    }
    return false;
}

}  // namespace

SocketClient::SocketClient(QObject* parent) : QObject(parent) {
    // Connected before any connection starts: a local host may connect from inside
    // connectToHost.
    connect(&socket_, &QTcpSocket::connected, this, &SocketClient::onConnected);
    connect(&socket_, &QTcpSocket::readyRead, this, &SocketClient::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &SocketClient::onDisconnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &SocketClient::onError);
    if (auto* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
    }
}

void SocketClient::Close() {
    socket_.abort();
    // Whatever the abort raised, or was queued before it, belongs to the closed connection.
    ++connection_;
    received_.clear();
    errorRaised_ = false;
    pendingError_ = 0;
}

void SocketClient::Connect(const QString& remoteHost, quint16 remotePort) {
    Close();
    socket_.connectToHost(remoteHost, remotePort);
}

void SocketClient::SendData(const QString& text) {
    if (socket_.state() != QAbstractSocket::ConnectedState) {
        post([this] { emit ErrorEvent(notConnectedError, winsockDescription(notConnectedError)); });
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
    if (errorRaised_) {
        return;
    }
    if (pendingError_ != 0) {
        raiseError(pendingError_);
        return;
    }
    post([this] { emit CloseEvent(); });
}

void SocketClient::onError(QAbstractSocket::SocketError error) {
    // The peer's close is an ordinary end of the connection; disconnected reports it.
    if (error == QAbstractSocket::RemoteHostClosedError || errorRaised_) {
        return;
    }
    raiseError(winsockNumber(error, socket_.errorString()));
}

bool SocketClient::eventFilter(QObject* watched, QEvent* event) {
    // Windows tells a connection's end apart from other activity; POSIX systems do not.
    if (event->type() != QEvent::SockAct && event->type() != QEvent::SockClose) {
        return false;
    }
    // The socket's notifiers belong to it; while connecting it does not tell its descriptor.
    const auto* notifier = qobject_cast<QSocketNotifier*>(watched);
    if (notifier == nullptr || !ownedBy(notifier, &socket_)) {
        return false;
    }
    const int pending = platform::takeSocketError(notifier->socket());
    if (pending == 0) {
        return false;
    }
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        // Qt reads what is left and takes the end for a close; the end raises the error.
        if (pendingError_ == 0) {
            pendingError_ = pending;
        }
        return false;
    }
    // Still connecting: Qt would try the same socket once more, so the attempt ends here.
    raiseError(pending);
    socket_.abort();
    return true;
}

void SocketClient::raiseError(int number) {
    errorRaised_ = true;
    post([this, number] { emit ErrorEvent(number, winsockDescription(number)); });
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

QString winsockDescription(int number) {
    switch (number) {
        case 10013:
            return QStringLiteral("Permission denied");
        case 10035:
            return QStringLiteral("Resource temporarily unavailable");
        case 10036:
            return QStringLiteral("Operation already in progress");
        case 10040:
            return QStringLiteral("Message too long");
        case 10045:
            return QStringLiteral("Operation not supported");
        case 10048:
            return QStringLiteral("Address already in use");
        case 10049:
            return QStringLiteral("Address not available");
        case 10050:
            return QStringLiteral("Network is down");
        case 10051:
            return QStringLiteral("Network is unreachable");
        case 10052:
            return QStringLiteral("Network dropped the connection on reset");
        case 10053:
            return QStringLiteral("Connection aborted");
        case 10054:
            return QStringLiteral("Connection reset by peer");
        case 10055:
            return QStringLiteral("No buffer space available");
        case 10058:
            return QStringLiteral("Cannot send after the connection was shut down");
        case 10060:
            return QStringLiteral("Connection timed out");
        case 10061:
            return QStringLiteral("Connection refused");
        case 10064:
            return QStringLiteral("Host is down");
        case 10065:
            return QStringLiteral("Host is unreachable");
        case 11001:
            return QStringLiteral("Host not found");
        case SocketClient::notConnectedError:
            return QStringLiteral("Wrong protocol or connection state for sending");
        case 40020:
            return QStringLiteral("Invalid operation at current state");
        default:
            return QStringLiteral("System call failure");
    }
}

int winsockNumber(QAbstractSocket::SocketError error, const QString& qtDescription) {
    using E = QAbstractSocket::SocketError;
    const auto qtSays = [&qtDescription](const char* text) {
        return qtDescription == QCoreApplication::translate("QNativeSocketEngine", text);
    };
    switch (error) {
        case E::ConnectionRefusedError:
            return 10061;
        case E::HostNotFoundError:
            return 11001;
        case E::SocketTimeoutError:
            return 10060;
        case E::RemoteHostClosedError:
            return 10054;
        case E::NetworkError:
            return qtSays("Network unreachable")    ? 10051
                   : qtSays("Host unreachable")     ? 10065
                   : qtSays("Connection timed out") ? 10060
                                                    : 10050;
        case E::SocketAccessError:
            return 10013;
        case E::SocketResourceError:
            return 10055;
        case E::AddressInUseError:
            return 10048;
        case E::SocketAddressNotAvailableError:
            return 10049;
        case E::UnsupportedSocketOperationError:
            return 10045;
        case E::DatagramTooLargeError:
            return 10040;
        case E::UnfinishedSocketOperationError:
            return 10036;
        case E::TemporaryError:
            return 10035;
        case E::OperationError:
            return 40020;
        default:
            return 10050;
    }
}

}  // namespace kestrix::update
