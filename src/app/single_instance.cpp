#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>

namespace kestrix::app {

namespace {
constexpr int patienceMs = 2000;
}  // namespace

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

bool SingleInstance::claim() {
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
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Where nobody can listen, Kestrix still runs; only a second start will not find it.
    (void)server_.listen(name_);
    return true;
}

bool SingleInstance::askRunningOne() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    return socket.waitForConnected(patienceMs);
}

// Any start that reaches us wants us in front; it says nothing more.
void SingleInstance::answer() {
    while (QLocalSocket* start = server_.nextPendingConnection()) {
        start->disconnectFromServer();
        start->deleteLater();
        emit frontWanted();
    }
}

}  // namespace kestrix::app
