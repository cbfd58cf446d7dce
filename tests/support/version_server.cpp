#include "support/version_server.h"

#include <gtest/gtest.h>
#include <QTest>

#include "support/loopback_socket.h"

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
    return QTest::qWaitFor(
        [this] {
            // Wine does not always tell of a reset that came while Qt was not listening for
            // one; a look at the socket finds it.
            if (peer_) {
                (void)peer_->waitForReadyRead(0);
            }
            return connections_ > 0 && clientCloses_ == connections_;
        },
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
    resetOnClose(peer->socketDescriptor());
    peer_ = nullptr;
    peer->setProperty("closedByServer", true);
    peer->abort();
    peer->deleteLater();
}

ClosedPort::ClosedPort() {
    const BoundSocket bound = bindLoopback();
    EXPECT_GE(bound.descriptor, 0) << "cannot hold a port on 127.0.0.1";
    descriptor_ = bound.descriptor;
    port_ = bound.port;
}

ClosedPort::~ClosedPort() {
    if (descriptor_ >= 0) {
        closeSocket(descriptor_);
    }
}

bool ClosedPort::openInto(QTcpServer& server) {
    if (!startListening(descriptor_) || !server.setSocketDescriptor(descriptor_)) {
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
