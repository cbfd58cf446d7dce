#pragma once

#include "platform/open_folder.h"
#include "platform/unique_handle.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace kestrix::platform {

// A file opened for overwriting and deleting, by its name in an open folder. Only what the
// name alone owns is ever written: a symbolic link or a file with other hard links gives up
// its name only. Everything happens relative to the folder, whatever becomes of its path.
class WipeTarget {
public:
    // Opens the entry `name` (spelled exactly so) for writing, without following a symbolic
    // link and without waiting on it. Fails, touching nothing, for a missing entry, anything
    // but a regular file or a link, and a file without any write permission bit (read-only,
    // whoever runs us). Returns the target, or the reason why it cannot be wiped.
    [[nodiscard]] static std::variant<WipeTarget, QString> open(const OpenFolder& folder,
                                                                const QString& name);
    // Why the open would be refused to this user, judged beforehand without opening the entry
    // for writing: from its attributes, and on Windows from its security and its folder's as
    // Windows will judge the open (a font the system has loaded cannot be opened to find out).
    // Nothing where it would not be refused.
    [[nodiscard]] static std::optional<QString> refusal(const OpenFolder& folder,
                                                        const QString& name);

    // Whether the content may be overwritten: false for a link or a file reached by other names.
    [[nodiscard]] bool ownsContent() const { return static_cast<bool>(file_); }
    // The content's length in bytes when it was opened.
    [[nodiscard]] qint64 size() const { return size_; }

    // Writes the whole block at the offset; returns the reason when it could not.
    [[nodiscard]] std::optional<QString> writeAt(qint64 offset, const QByteArray& block);
    // Makes what was written reach the storage device.
    [[nodiscard]] std::optional<QString> flush();
    // Closes the file and removes its name, unless the name now leads to something else.
    [[nodiscard]] std::optional<QString> removeName();

private:
    WipeTarget(UniqueHandle folder, QByteArray name, quint64 device, quint64 inode)
        : folder_(std::move(folder)), name_(std::move(name)), device_(device), inode_(inode) {}

    UniqueHandle folder_;  // a handle of its own, so the target may outlive the OpenFolder
    QByteArray name_;      // in the system's own encoding
    UniqueHandle file_;
    qint64 size_ = 0;
    quint64 device_ = 0;  // what the name led to when it was opened: the volume
    quint64 inode_ = 0;   // and the file on it
};

}  // namespace kestrix::platform
