#include "platform/standard_streams.h"

#include "platform/posix/unique_fd.h"

#include <fcntl.h>
#include <unistd.h>

namespace kestrix::platform {

OwnStream takeStandardOutput() {
    std::fflush(stdout);
    UniqueFd own(fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (!own || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        return nullptr;
    }
    OwnStream stream(fdopen(own.get(), "wb"));
    if (stream) {
        (void)own.release();
    }
    return stream;
}

void useBinaryStandardStreams() {}

void reachStartingConsole() {}

}  // namespace kestrix::platform
