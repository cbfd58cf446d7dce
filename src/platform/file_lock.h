#pragma once

#include "platform/unique_handle.h"

#include <QString>
#include <chrono>
#include <variant>

namespace kestrix::platform {

// An exclusive lock on a file, held for as long as this lives: whoever else asks for the lock
// on the same file, in this process or another, waits until it goes.
class FileLock {
public:
    // Another holds the lock.
    struct Busy {};

    // Takes the lock on the file at `path` (on the file a link there leads to), waiting at most
    // `patience` while another holds it; without patience it only tries. Where the file is
    // replaced meanwhile, the file that then has the name is the one locked. Where there is no
    // file there is nothing to lock. What is no regular file is refused, never waited on.
    // Returns Busy when another holds the lock still, or the reason it cannot be had.
    [[nodiscard]] static std::variant<FileLock, Busy, QString> acquire(
        const QString& path, std::chrono::milliseconds patience = {});

private:
    FileLock() = default;
    explicit FileLock(UniqueHandle file) : file_(std::move(file)) {}

    UniqueHandle file_;
};

}  // namespace kestrix::platform
