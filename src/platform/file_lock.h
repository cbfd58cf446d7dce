#pragma once

#include "platform/unique_handle.h"

#include <QString>
#include <variant>

namespace kestrix::platform {

// An exclusive lock on a file, held for as long as this lives: whoever else asks for the lock
// on the same file, in this process or another, waits until it goes.
class FileLock {
public:
    // Takes the lock on the file at `path` (on the file a link there leads to), waiting a
    // little while another holds it. Where the file is replaced meanwhile, the file that then
    // has the name is the one locked. Where there is no file there is nothing to lock. Returns
    // the reason when the lock cannot be had.
    [[nodiscard]] static std::variant<FileLock, QString> acquire(const QString& path);

private:
    FileLock() = default;
    explicit FileLock(UniqueHandle file) : file_(std::move(file)) {}

    UniqueHandle file_;
};

}  // namespace kestrix::platform
