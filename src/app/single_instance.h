#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace kestrix::app {

// One Kestrix at a time in a user's session: the first start listens under the session's
// name; a later one finds it there, asks it to come to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name);

    // True when this is the session's Kestrix, listening from now on. False when another one
    // answered: it has been asked to come to the front. One that died leaves a socket nobody
    // answers at; that is cleared away and this one takes its place.
    [[nodiscard]] bool claim();

signals:
    // A later start asked this one to come to the front.
    void frontWanted();

private:
    [[nodiscard]] bool askRunningOne() const;
    void answer();

    QString name_;
    QLocalServer server_;
};

}  // namespace kestrix::app
