#include "platform/standard_streams.h"

namespace kestrix::platform {

void useBinaryStandardStreams() {}

void reachStartingConsole() {}

}  // namespace kestrix::platform
