#pragma once

#include <QtGlobal>

namespace kestrix::platform {

// Takes the error a connected or connecting socket holds and has not reported yet, and returns
// it as the Winsock number a Windows program is given; 0 when there is none. Taking it clears
// it, so whoever reads the socket next sees what follows the error (usually an end of file);
// on Windows, which keeps a reset for the next receive, that receive still sees it.
[[nodiscard]] int takeSocketError(qintptr descriptor);

}  // namespace kestrix::platform
