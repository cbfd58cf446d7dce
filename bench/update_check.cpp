// Update check latency: from a press of Connect to the verdict in the update window, against a
// local server, beside a bare QTcpSocket doing the same exchange, measured in the same run.
// The two are interleaved so that both see the same machine.
//
// Usage: update_check [rounds]   (default 500)

#include "update/check_updates_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

using namespace kestrix;

const QByteArray body = "<html><body>\r\nLatest Version: 1.2.0";
const QByteArray page = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body;

// Answers every complete request with the version page, from a thread of its own.
class Server : public QTcpServer {
public:
    Server() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* client = nextPendingConnection()) {
                connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
                connect(client, &QTcpSocket::readyRead, client, [client] {
                    QByteArray request = client->property("r").toByteArray() + client->readAll();
                    client->setProperty("r", request);
                    if (request.endsWith("\r\n\r\n")) {
                        client->write(page);
                    }
                });
            }
        });
    }
};

// One check through the update window: press Connect, wait for the verdict.
double windowCheck(update::FrmCheckUpdates& window) {
    window.cmdCheck->setEnabled(true);
    QEventLoop loop;
    const auto verdict =
        QObject::connect(&window.w1, &update::SocketClient::DataArrivalEvent, &loop, [&] {
            if (!window.cmdCheck->isEnabled() && window.lblStatus->text().startsWith(u"Please")) {
                loop.quit();
            }
        });
    QElapsedTimer clock;
    clock.start();
    window.cmdCheck->click();
    loop.exec();
    const double ms = clock.nsecsElapsed() / 1e6;
    QObject::disconnect(verdict);
    window.lblStatus->setText(QString());
    return ms;
}

// The same exchange on a bare socket: connect, send the request, read until the marker.
double bareCheck(quint16 port) {
    QTcpSocket socket;
    QEventLoop loop;
    QByteArray reply;
    const QByteArray request = update::versionRequest(QStringLiteral("127.0.0.1"));
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, [&] {
        reply += socket.readAll();
        if (reply.contains("Latest Version: ")) {
            socket.abort();
            loop.quit();
        }
    });
    QElapsedTimer clock;
    clock.start();
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    loop.exec();
    return clock.nsecsElapsed() / 1e6;
}

struct Figures {
    double median, mean, p90, best;
};

Figures figures(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const double mean = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    return {ms[ms.size() / 2], mean, ms[ms.size() * 9 / 10], ms.front()};
}

void print(const char* name, const Figures& f) {
    std::printf("%-28s median %7.3f ms  mean %7.3f ms  p90 %7.3f ms  best %7.3f ms\n", name,
                f.median, f.mean, f.p90, f.best);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;

    QThread serverThread;
    Server server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.moveToThread(&serverThread);
    serverThread.start();

    update::FrmCheckUpdates window(
        {QStringLiteral("127.0.0.1"), port}, [] {}, [] { return QStringLiteral("Version: 1.1.8"); },
        about::BrowserLaunch([](const platform::CommandLine&) { return true; }));
    window.show();

    for (int warmUp = 0; warmUp < 20; ++warmUp) {
        windowCheck(window);
        bareCheck(port);
    }
    std::vector<double> viaWindow;
    std::vector<double> bare;
    for (int round = 0; round < rounds; ++round) {
        viaWindow.push_back(windowCheck(window));
        bare.push_back(bareCheck(port));
    }

    const Figures w = figures(viaWindow);
    const Figures b = figures(bare);
    std::printf("update check against 127.0.0.1, %d rounds each, interleaved\n", rounds);
    print("Connect click to verdict", w);
    print("bare QTcpSocket round trip", b);
    std::printf("difference of medians: %+.3f ms, of means: %+.3f ms\n", w.median - b.median,
                w.mean - b.mean);

    QMetaObject::invokeMethod(
        &server, [&server] { server.close(); }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
