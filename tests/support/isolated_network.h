#pragma once

#include <QString>

namespace kestrix::test::isolated_network {

// A network of the test process's own: a fresh network namespace, where the process may make one
// (as root), with loopback and one link on which nothing answers. Tests produce time-outs,
// unreachable hosts and failed name look-ups there without sending anything beyond it.

// Enters and lays out the namespace. Call it first in main, before any thread starts: threads
// started later are in the namespace too.
void enter();

// Why the process runs without a network of its own; empty when it has one.
[[nodiscard]] QString missing();

// Lies on the link, but nothing answers it: connecting times out, after one SYN retry.
inline const QString silentHost = QStringLiteral("198.18.0.2");
// Lies on the link, but nothing answers its address resolution: the host is unreachable.
inline const QString absentHost = QStringLiteral("198.18.0.3");
// No route leads there: the network is unreachable.
inline const QString unroutedHost = QStringLiteral("203.0.113.1");
// A name nobody resolves: the look-up cannot reach any name server from here.
inline const QString unknownName = QStringLiteral("update.kestrix.invalid");

}  // namespace kestrix::test::isolated_network
