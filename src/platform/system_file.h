#pragma once

#include <QString>

namespace kestrix::platform {

// Whether Windows marks the file at the host path as one of the system's own (its system
// attribute), which file lists leave out as they leave out hidden files. Elsewhere none is.
[[nodiscard]] bool isSystemFile(const QString& hostPath);

}  // namespace kestrix::platform
