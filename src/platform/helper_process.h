#pragma once

#include "platform/unique_handle.h"

#include <QObject>
#include <QString>
#include <memory>

namespace kestrix::platform {

// A helper program that reads what this one hands it, in a process of its own with the least
// rights the system gives, fed over its standard input and answering over its standard output
// (its standard error is this process's). It ends as soon as this process ends, however it ends,
// even while it is busy and reads nothing.
//
// On Windows it starts with a restricted token (no privileges, Administrators for denying only)
// at low integrity, inside a job that ends it with this process, from its first instruction; it
// reads files with the user's ordinary rights. Elsewhere it starts with this process's rights
// and gives them up itself before it reads anything (giveUpRights), so the files it reads are
// opened here and handed to it.
class HelperProcess : public QObject {
    Q_OBJECT
public:
    explicit HelperProcess(QObject* parent);
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    // Kills the helper, if it runs, and waits until it has ended.
    ~HelperProcess() override;

    // Starts the program. failedToStart comes, at once or later, when it cannot be started.
    void start(const QString& program);
    // Hands the helper the file at a host path, opened here, where the helper would not reach
    // it: call it once before each request the helper takes a file with (takeHandedFile).
    void hand(const QString& hostPath);
    void write(const QByteArray& bytes);
    [[nodiscard]] QByteArray readAll();
    // Kills the helper; finished comes once it has ended.
    void kill();
    [[nodiscard]] bool running() const;
    [[nodiscard]] qint64 processId() const;

signals:
    void readyRead();
    // It has ended, and all it wrote has come.
    void finished();
    void failedToStart(const QString& reason);

private:
    struct System;  // each system's own parts
    std::unique_ptr<System> system_;
};

// In the helper, before it reads anything: gives up every right it needs not, for good. Where it
// runs as root it becomes an unprivileged user, without capabilities, and can never gain any
// again. False where the system refused.
[[nodiscard]] bool giveUpRights();

// In the helper, once for each request: the file the program handed with it; none where it
// handed none, and the helper opens the file itself.
[[nodiscard]] UniqueHandle takeHandedFile();

}  // namespace kestrix::platform
