#include "update/socket_client.h"

#include "support/version_server.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

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
    QTest::qWait(100);
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
    const quint16 port = test::closedPort();
    connectTo(port);
    ASSERT_TRUE(errors.wait(5000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10061);
    EXPECT_EQ(errors.at(0).at(1).toString(), QStringLiteral("Connection refused"));
    EXPECT_EQ(closes.count(), 0);

    QTcpServer later;
    ASSERT_TRUE(later.listen(QHostAddress::LocalHost, port));
    connectTo(port);
    ASSERT_TRUE(connects.wait(5000));
    EXPECT_EQ(errors.count(), 1);
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

TEST(WinsockError, UsesTheNumbersWindowsUsersKnow) {
    EXPECT_EQ(winsockError(QAbstractSocket::ConnectionRefusedError).number, 10061);
    EXPECT_EQ(winsockError(QAbstractSocket::HostNotFoundError).number, 11001);
    EXPECT_EQ(winsockError(QAbstractSocket::SocketTimeoutError).number, 10060);
    for (int error = QAbstractSocket::ConnectionRefusedError;
         error <= QAbstractSocket::OperationError; ++error) {
        const auto mapped = winsockError(QAbstractSocket::SocketError(error));
        EXPECT_FALSE(mapped.description.isEmpty());
        EXPECT_FALSE(mapped.description.endsWith(u'.')) << "the status adds its own full stop";
    }
}

}  // namespace
}  // namespace kestrix::update
