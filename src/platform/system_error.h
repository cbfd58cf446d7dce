#pragma once

#include <QString>

namespace kestrix::platform {

// The system's own words for an error number.
[[nodiscard]] QString systemError(int error);

}  // namespace kestrix::platform
