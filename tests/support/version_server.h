#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

namespace kestrix::test {

// A real HTTP-ish server on 127.0.0.1 for the update check. It records what each connection
// sent; once a request is complete (ended by an empty line) it answers with the reply given,
// if any, and closes the connection when asked to. A test may also speak for the server
// itself, piece by piece, through send() and closePeer().
class VersionServer : public QObject {
    Q_OBJECT
public:
    VersionServer();

    [[nodiscard]] quint16 port() const { return server_.serverPort(); }

    // The reply to every complete request from now on; closeAfter ends the connection after it.
    void answerWith(const QByteArray& reply, bool closeAfter = false);

    // Whether, from now on, connections are reset (closed so that the client is sent RST
    // rather than FIN): never, as soon as they are accepted, or once their request is complete.
    enum class Reset { Never, OnAccept, AfterRequest };
    void resetConnections(Reset when) { reset_ = when; }

    [[nodiscard]] int connections() const { return connections_; }
    [[nodiscard]] const QByteArray& received() const { return received_; }
    [[nodiscard]] bool requestComplete() const { return received_.endsWith("\r\n\r\n"); }
    // How many connections the client closed (those the server closed do not count).
    [[nodiscard]] int clientCloses() const { return clientCloses_; }

    bool waitForRequest(int timeoutMs = 5000);
    // Waits until the client has closed every connection it opened.
    bool waitForClientClose(int timeoutMs = 5000);

    void send(const QByteArray& piece);
    void closePeer();

private:
    void accept();
    void resetPeer(QTcpSocket* peer);

    QTcpServer server_;
    QPointer<QTcpSocket> peer_;
    std::optional<QByteArray> reply_;
    bool closeAfter_ = false;
    Reset reset_ = Reset::Never;
    int connections_ = 0;
    QByteArray received_;
    int clientCloses_ = 0;
};

// A port on 127.0.0.1 that the test holds bound without listening on it: connecting there is
// refused, and no other program can take the port meanwhile.
class ClosedPort {
public:
    ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    ~ClosedPort();

    [[nodiscard]] quint16 port() const { return port_; }
    // Opens the port: from now on the server accepts connections on it.
    bool openInto(QTcpServer& server);

private:
    qintptr descriptor_ = -1;
    quint16 port_ = 0;
};

// Runs every event already queued, so whatever a connection could still raise has been raised.
inline void deliverQueuedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A page as the update server sends it, whose last characters are the given ones.
QByteArray versionPage(const QByteArray& ending);

}  // namespace kestrix::test
