#include "update/socket_client.h"

#include "support/isolated_network.h"
#include "support/loopback_socket.h"
#include "support/version_server.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <iostream>

namespace kestrix::update {
namespace {

using test::VersionServer;

class SocketClientTest : public testing::Test {
protected:
    void connectTo(quint16 port) { w1.Connect(QStringLiteral("127.0.0.1"), port); }

    VersionServer server;
    SocketClient w1;
    QSignalSpy connects{&w1, &SocketClient::ConnectEvent};
    QSignalSpy arrivals{&w1, &SocketClient::DataArrivalEvent};
    QSignalSpy closes{&w1, &SocketClient::CloseEvent};
    QSignalSpy errors{&w1, &SocketClient::ErrorEvent};
};

TEST_F(SocketClientTest, RaisesItsEventsFromTheEventLoopAndHandsOverBytesAsText) {
    connectTo(server.port());
    EXPECT_EQ(connects.count(), 0) << "Connect must return before its event is raised";
    ASSERT_TRUE(connects.wait(5000));

    w1.SendData(QStringLiteral("ping\r\n\r\n"));
    ASSERT_TRUE(server.waitForRequest());
    EXPECT_EQ(server.received(), QByteArray("ping\r\n\r\n"));

    server.send(QByteArray("caf\xe9 <b>\x01", 10));
    ASSERT_TRUE(arrivals.wait(5000));
    EXPECT_EQ(w1.GetData(), QString::fromLatin1(QByteArray("caf\xe9 <b>\x01", 10)));
    EXPECT_EQ(w1.GetData(), QString()) << "bytes are handed over once";
    EXPECT_EQ(closes.count(), 0);
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(SocketClientTest, OwnCloseEndsTheConnectionAndRaisesNothingMore) {
    connectTo(server.port());
    ASSERT_TRUE(connects.wait(5000));
    w1.SendData(QStringLiteral("\r\n\r\n"));
    ASSERT_TRUE(server.waitForRequest());

    server.send("late reply");
    w1.Close();
    w1.Close();  // closing a closed client is harmless

    EXPECT_TRUE(server.waitForClientClose());
    test::deliverQueuedEvents();
    EXPECT_EQ(arrivals.count(), 0);
    EXPECT_EQ(closes.count(), 0);
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(w1.GetData(), QString());
}

TEST_F(SocketClientTest, PeerCloseRaisesCloseAndNoErrorAfterTheLastData) {
    connectTo(server.port());
    ASSERT_TRUE(connects.wait(5000));
    server.send("last words");
    server.closePeer();

    ASSERT_TRUE(QTest::qWaitFor([&] { return closes.count() == 1; }, 5000));
    ASSERT_GE(arrivals.count(), 1);
    EXPECT_EQ(w1.GetData(), QStringLiteral("last words"));
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(SocketClientTest, RefusedConnectionIsAnErrorAndTheClientConnectsAgainLater) {
    test::ClosedPort closed;
    connectTo(closed.port());
    ASSERT_TRUE(errors.wait(5000));

    QTcpServer later;
    ASSERT_TRUE(closed.openInto(later));
    connectTo(closed.port());
    ASSERT_TRUE(connects.wait(5000));
    EXPECT_EQ(errors.count(), 1);
}

TEST_F(SocketClientTest, RaisesTheWinsockErrorOfEachCauseAndNoClose) {
    namespace own = test::isolated_network;
    using Reset = VersionServer::Reset;
    test::ClosedPort closed;
    struct Cause {
        const char* name;
        QString host;
        quint16 port;
        Reset reset;
        int number;
        const char* description;
        bool needsOwnNetwork;
    };
    const QString loopback = QStringLiteral("127.0.0.1");
    const std::vector<Cause> causes = {
        {"refused", loopback, closed.port(), Reset::Never, 10061, "Connection refused", false},
        {"reset after the request", loopback, server.port(), Reset::AfterRequest, 10054,
         "Connection reset by peer", false},
        {"reset on accept", loopback, server.port(), Reset::OnAccept, 10054,
         "Connection reset by peer", false},
        {"host not found", own::unknownName, 80, Reset::Never, 11001, "Host not found", true},
        {"timed out", own::silentHost, 80, Reset::Never, 10060, "Connection timed out", true},
        {"host unreachable", own::absentHost, 80, Reset::Never, 10065, "Host is unreachable", true},
        {"network unreachable", own::unroutedHost, 80, Reset::Never, 10051,
         "Network is unreachable", true},
    };
    for (const auto& cause : causes) {
        SCOPED_TRACE(cause.name);
        const QString missing = cause.needsOwnNetwork         ? own::missing()
                                : cause.reset != Reset::Never ? test::resetsUnreported()
                                                              : QString();
        if (!missing.isEmpty()) {
            std::cout << "not produced here, cause \"" << cause.name
                      << "\": " << missing.toStdString() << '\n';
            continue;
        }
        server.resetConnections(cause.reset);
        errors.clear();
        closes.clear();
        w1.Connect(cause.host, cause.port);
        if (cause.reset == Reset::AfterRequest) {
            EXPECT_TRUE(connects.wait(5000));
            w1.SendData(QStringLiteral("GET / HTTP/1.1\r\n\r\n"));
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !errors.isEmpty(); }, 10'000));
        EXPECT_EQ(errors.value(0).value(0).toInt(), cause.number);
        EXPECT_EQ(errors.value(0).value(1).toString(), QString::fromLatin1(cause.description));
        test::deliverQueuedEvents();
        EXPECT_EQ(errors.count(), 1);
        EXPECT_EQ(closes.count(), 0) << "an error is not a close";
        w1.Close();
    }
}

TEST_F(SocketClientTest, ConnectDropsTheConnectionBeforeIt) {
    connectTo(server.port());
    ASSERT_TRUE(connects.wait(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections() == 1; }, 5000));
    connectTo(server.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return connects.count() == 2; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.clientCloses() == 1; }, 5000));
    EXPECT_EQ(server.connections(), 2);
    EXPECT_EQ(closes.count(), 0);
}

TEST_F(SocketClientTest, SendingWithoutAConnectionIsAnError) {
    w1.SendData(QStringLiteral("nobody listens"));
    ASSERT_TRUE(errors.wait(5000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), SocketClient::notConnectedError);
}

TEST(WinsockError, DescriptionsLeaveTheFullStopToTheStatus) {
    for (int error = QAbstractSocket::ConnectionRefusedError;
         error <= QAbstractSocket::OperationError; ++error) {
        const QString description =
            winsockDescription(winsockNumber(QAbstractSocket::SocketError(error), QString()));
        EXPECT_FALSE(description.isEmpty());
        EXPECT_FALSE(description.endsWith(u'.')) << "the status adds its own full stop";
    }
}

}  // namespace
}  // namespace kestrix::update
