#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace kestrix::platform {

// A file opened for overwriting and deleting, by host path. Only what the name alone owns is
// ever written: a symbolic link or a file with other hard links gives up its name only.
// The file is closed when the target goes.
class WipeTarget {
public:
    // Opens a regular file for writing without following a final symbolic link and without
    // waiting on it. Fails, touching nothing, for a missing path, anything but a regular file
    // or a link, and a file without any write permission bit (read-only, whoever runs us).
    // Returns the target, or the reason why it cannot be wiped.
    [[nodiscard]] static std::variant<WipeTarget, QString> open(const QString& hostPath);

    WipeTarget(WipeTarget&& other) noexcept;
    WipeTarget& operator=(WipeTarget&& other) noexcept;
    WipeTarget(const WipeTarget&) = delete;
    WipeTarget& operator=(const WipeTarget&) = delete;
    ~WipeTarget();

    // Whether the content may be overwritten: false for a link or a file reached by other names.
    [[nodiscard]] bool ownsContent() const { return fd_ >= 0; }
    // The content's length in bytes when it was opened.
    [[nodiscard]] qint64 size() const { return size_; }

    // Writes the whole block at the offset; returns the reason when it could not.
    [[nodiscard]] std::optional<QString> writeAt(qint64 offset, const QByteArray& block);
    // Makes what was written reach the storage device.
    [[nodiscard]] std::optional<QString> flush();
    // Closes the file and removes its name, unless the name now leads to something else.
    [[nodiscard]] std::optional<QString> removeName();

private:
    WipeTarget(QString hostPath, int fd, qint64 size, quint64 device, quint64 inode);
    void close();

    QString hostPath_;
    int fd_ = -1;
    qint64 size_ = 0;
    quint64 device_ = 0;
    quint64 inode_ = 0;
};

}  // namespace kestrix::platform
