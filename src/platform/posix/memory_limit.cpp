#include "platform/memory_limit.h"

#include <sys/resource.h>
#include <unistd.h>
#include <algorithm>
#include <fstream>

namespace kestrix::platform {

namespace {

// The address space this process has mapped now, in bytes; 0 when the system does not say.
rlim_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

bool limitMemoryGrowth(qint64 bytes) {
    const rlim_t inUse = addressSpaceInUse();
    rlimit limit{};
    if (inUse == 0 || getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    // Counted from what is mapped now, so that address space reserved and never touched (the
    // sanitizers reserve terabytes) takes nothing from what the process may still use.
    limit.rlim_cur = std::min(limit.rlim_max, inUse + static_cast<rlim_t>(bytes));
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace kestrix::platform
