#include "app/single_instance.h"

#include "platform/session_socket.h"

#include <QDir>
#include <QEventLoop>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

namespace kestrix::app {

namespace {

constexpr int patienceMs = 2000;
// What a later start says, and what the running Kestrix answers.
constexpr QByteArrayView request = "Kestrix: to the front, please\n";
constexpr QByteArrayView reply = "Kestrix: here\n";

}  // namespace

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

bool SingleInstance::claim() {
    if (name_.isEmpty()) {
        return true;
    }
    // Two starts at once must not both find nobody and both listen. A lock left by a start
    // that died is taken over; one that cannot be had at all leaves us to try unguarded.
    // Beside the socket where that is a file (in the user's own folder); a pipe's name, as on
    // Windows, says nothing of a folder.
    const QString lockName = name_ + QStringLiteral(".lock");
    QLockFile handOver(QDir::isAbsolutePath(lockName) ? lockName : QDir::temp().filePath(lockName));
    (void)handOver.tryLock(patienceMs);
    if (askRunningOne()) {
        return false;
    }
    listen();
    return true;
}

// Where nobody can listen, Kestrix still runs; only a later start will not find it. What
// listens here and did not answer is put aside, where the system lets us.
void SingleInstance::listen() {
    QLocalServer::removeServer(name_);
    const auto held = platform::holdSessionName(name_);
    if (!held) {
        return;
    }
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    (void)server_.listen(name_);
}

// The answer is awaited with events running: the one asked may be in this very process.
bool SingleInstance::askRunningOne() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(patienceMs) ||
        !platform::peerIsThisUser(socket.socketDescriptor())) {
        return false;
    }
    platform::letPeerComeToFront(socket.socketDescriptor());
    QEventLoop waiting;
    bool answered = false;
    const auto readAnswer = [&] {
        if (socket.canReadLine()) {
            answered = socket.readLine(reply.size() + 1) == reply;
            waiting.quit();
        } else if (socket.bytesAvailable() > reply.size()) {
            waiting.quit();
        }
    };
    connect(&socket, &QLocalSocket::readyRead, &waiting, readAnswer);
    connect(&socket, &QLocalSocket::disconnected, &waiting, &QEventLoop::quit);
    QTimer::singleShot(patienceMs, &waiting, &QEventLoop::quit);
    socket.write(request.data(), request.size());
    waiting.exec();
    return answered;
}

void SingleInstance::answer() {
    while (QLocalSocket* start = server_.nextPendingConnection()) {
        connect(start, &QLocalSocket::disconnected, start, &QObject::deleteLater);
        connect(start, &QLocalSocket::readyRead, this, [this, start] { hear(start); });
        // A start that says nothing is let go.
        QTimer::singleShot(patienceMs, start, &QLocalSocket::abort);
    }
}

void SingleInstance::hear(QLocalSocket* start) {
    if (!start->canReadLine()) {
        if (start->bytesAvailable() > request.size()) {
            start->abort();
        }
        return;
    }
    if (start->readLine(request.size() + 1) == request) {
        start->write(reply.data(), reply.size());
        emit frontWanted();
    }
    start->disconnectFromServer();
}

}  // namespace kestrix::app
