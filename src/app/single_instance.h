#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

namespace kestrix::app {

// One Kestrix at a time in a user's session: the first start listens under the session's
// name; a later one finds it there, asks it to come to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name`: where the starts find each other; "" where there is no such place, and each
    // start runs on its own.
    explicit SingleInstance(QString name);

    // True when this start is to run: it listens from now on where it can. False when a
    // Kestrix of this user answered there as Kestrix: it has been asked to come to the front.
    // Whatever else is there (a socket nobody answers at, another program's, a Kestrix that
    // is stopped or hung) keeps no start from running.
    [[nodiscard]] bool claim();

signals:
    // A later start asked this one to come to the front.
    void frontWanted();

private:
    [[nodiscard]] bool askRunningOne() const;
    void listen();
    void answer();
    void hear(QLocalSocket* start);

    QString name_;
    QLocalServer server_;
};

}  // namespace kestrix::app
