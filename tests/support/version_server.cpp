#include "support/version_server.h"

#include <gtest/gtest.h>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrix::test {

VersionServer::VersionServer() {
    connect(&server_, &QTcpServer::newConnection, this, &VersionServer::accept);
    server_.listen(QHostAddress::LocalHost);
}

void VersionServer::answerWith(const QByteArray& reply, bool closeAfter) {
    reply_ = reply;
    closeAfter_ = closeAfter;
}

void VersionServer::accept() {
    while (QTcpSocket* peer = server_.nextPendingConnection()) {
        ++connections_;
        received_.clear();
        peer->setParent(this);
        peer_ = peer;
        if (reset_ == Reset::OnAccept) {
            resetPeer(peer);
            continue;
        }
        connect(peer, &QTcpSocket::readyRead, this, [this, peer] {
            received_ += peer->readAll();
            if (requestComplete() && reset_ == Reset::AfterRequest) {
                resetPeer(peer);
            } else if (requestComplete() && reply_) {
                send(*reply_);
                if (closeAfter_) {
                    closePeer();
                }
            }
        });
        connect(peer, &QTcpSocket::disconnected, this, [this, peer] {
            if (!peer->property("closedByServer").toBool()) {
                ++clientCloses_;
            }
        });
    }
}

bool VersionServer::waitForRequest(int timeoutMs) {
    return QTest::qWaitFor([this] { return requestComplete(); }, timeoutMs);
}

bool VersionServer::waitForClientClose(int timeoutMs) {
    return QTest::qWaitFor([this] { return connections_ > 0 && clientCloses_ == connections_; },
                           timeoutMs);
}

void VersionServer::send(const QByteArray& piece) {
    if (peer_) {
        peer_->write(piece);
        peer_->flush();
    }
}

void VersionServer::closePeer() {
    if (peer_) {
        QTcpSocket* peer = peer_;
        peer_ = nullptr;
        peer->setProperty("closedByServer", true);
        peer->disconnectFromHost();
        peer->deleteLater();
    }
}

void VersionServer::resetPeer(QTcpSocket* peer) {
    // Lingering for no time makes the close send RST.
    const linger none{1, 0};
    ::setsockopt(static_cast<int>(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &none,
                 sizeof none);
    peer_ = nullptr;
    peer->setProperty("closedByServer", true);
    peer->abort();
    peer->deleteLater();
}

ClosedPort::ClosedPort() : descriptor_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    EXPECT_EQ(::bind(descriptor_, generic, size), 0) << "cannot hold a port on 127.0.0.1";
    EXPECT_EQ(::getsockname(descriptor_, generic, &size), 0);
    port_ = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool ClosedPort::openInto(QTcpServer& server) {
    if (::listen(descriptor_, SOMAXCONN) != 0 || !server.setSocketDescriptor(descriptor_)) {
        return false;
    }
    descriptor_ = -1;  // the server owns it now
    return true;
}

QByteArray versionPage(const QByteArray& ending) {
    const QByteArray body = "<html><body>Kestrix update page\r\n" + ending;
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

}  // namespace kestrix::test
