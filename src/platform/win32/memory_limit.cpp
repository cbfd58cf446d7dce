#include "platform/memory_limit.h"

#include "platform/win32/handles.h"

#include <psapi.h>

namespace kestrix::platform {

bool limitMemoryGrowth(qint64 bytes) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters)) {
        return false;
    }
    // A job of its own, which outlives its handle for as long as the process is in it.
    const UniqueHandle job = win32::adopt(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = counters.PrivateUsage + static_cast<SIZE_T>(bytes);
    return job &&
           ::SetInformationJobObject(win32::native(job), JobObjectExtendedLimitInformation, &limits,
                                     sizeof limits) &&
           ::AssignProcessToJobObject(win32::native(job), ::GetCurrentProcess());
}

}  // namespace kestrix::platform
