#pragma once

#include "platform/unique_handle.h"

#include <QString>
#include <optional>

namespace kestrix::platform {

// The name of a local socket at which the starts of `program` in this user's desktop session
// find each other: the same for each of them, another for another user or another display (the
// one the application connected to). "" where there is no place for it that only this user may
// reach. Asked once the application exists.
[[nodiscard]] QString sessionSocketName(const QString& program);

// An X display's name as the same display has it however it was written: without the screen,
// ":N" for the local "unix:N.S", the host in lower case.
[[nodiscard]] QString normalDisplayName(const QString& xDisplay);

// Holds the name for a server of this user before it listens there, for as long as the handle
// lives: on Windows the pipe's first instance, which only this user may open or add to, so that
// no other program's pipe can come first. Nothing when another holds the name already.
[[nodiscard]] std::optional<UniqueHandle> holdSessionName(const QString& name);

// Whether the program at the other end of a connected local socket runs as this user.
[[nodiscard]] bool peerIsThisUser(qintptr socket);

// Lets the program at the other end of a connected local socket bring its window to the front,
// which Windows allows only a program the one in front allows.
void letPeerComeToFront(qintptr socket);

}  // namespace kestrix::platform
