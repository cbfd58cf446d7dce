#pragma once

// The most memory this process has held at once, in KiB, as the system counts it: the peak
// resident set on POSIX, the peak working set on Windows.
[[nodiscard]] long peakMemoryKiB();
