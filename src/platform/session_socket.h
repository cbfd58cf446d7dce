#pragma once

#include <QString>

namespace kestrix::platform {

// The name of a local socket at which the starts of `program` in this user's desktop session
// find each other: the same for each of them, another for another user or another display.
[[nodiscard]] QString sessionSocketName(const QString& program);

}  // namespace kestrix::platform
