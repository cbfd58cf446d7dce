#pragma once

#include <sys/stat.h>

namespace kestrix::platform {

// Whether two looks at the file system saw the very same file, whatever names led to it.
[[nodiscard]] inline bool isSameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

}  // namespace kestrix::platform
