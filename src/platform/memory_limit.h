#pragma once

#include <QtGlobal>

namespace kestrix::platform {

// Lets this process take at most `bytes` more memory than it holds now: past that, every
// allocation fails, and a program that does not expect that ends. Returns false when the system
// would not set the limit.
[[nodiscard]] bool limitMemoryGrowth(qint64 bytes);

}  // namespace kestrix::platform
