#include "platform/unique_handle.h"

#include "platform/win32/handles.h"

namespace kestrix::platform {

int UniqueHandle::close() {
    if (!*this) {
        return 0;
    }
    // The handle is gone after CloseHandle whatever it returns; it must never be closed twice.
    const HANDLE handle = win32::native(*this);
    handle_ = NativeHandle::none;
    return ::CloseHandle(handle) ? 0 : static_cast<int>(::GetLastError());
}

}  // namespace kestrix::platform
