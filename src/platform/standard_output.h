#pragma once

#include <cstdio>
#include <memory>

namespace kestrix::platform {

struct CloseStream {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using OwnStream = std::unique_ptr<std::FILE, CloseStream>;

// Takes standard output for the caller alone: returns a binary stream on it, and sends whatever
// else the process writes to standard output (a library's debugging, say) to standard error
// from now on. Call it before anything else may write. Empty when the system refused.
[[nodiscard]] OwnStream takeStandardOutput();

}  // namespace kestrix::platform
