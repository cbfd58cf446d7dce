#pragma once

// What the Windows implementations share: handles, names for the native API, reasons.

#include "platform/unique_handle.h"

#include <windows.h>
#include <winternl.h>
#include <QString>
#include <optional>
#include <string>

namespace kestrix::platform::win32 {

[[nodiscard]] inline HANDLE native(const UniqueHandle& handle) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(handle.native()));
}

// Takes a handle the system gave; a failed call's handle (none, or INVALID_HANDLE_VALUE) is none.
[[nodiscard]] inline UniqueHandle adopt(HANDLE handle) {
    return handle == nullptr || handle == INVALID_HANDLE_VALUE
               ? UniqueHandle()
               : UniqueHandle(static_cast<NativeHandle>(reinterpret_cast<std::intptr_t>(handle)));
}

// Opens the entry `name` of an open folder, relative to the folder's handle, with the native
// call that can do so; the disposition is FILE_OPEN. Returns the handle, or the Windows error.
struct Opened {
    UniqueHandle handle;
    DWORD error = ERROR_SUCCESS;
};
[[nodiscard]] Opened openRelative(const UniqueHandle& folder, const std::wstring& name,
                                  ACCESS_MASK access, ULONG share, ULONG options);

// What Windows knows of an open file: attributes, links, size, and which file it is.
[[nodiscard]] std::optional<BY_HANDLE_FILE_INFORMATION> informationOf(const UniqueHandle& file);
[[nodiscard]] inline quint64 fileIndex(const BY_HANDLE_FILE_INFORMATION& information) {
    return (quint64{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
}

// Whether an open handle holds a file on a disk, not a folder, a pipe or a device: only such a
// file is read whole or locked; a pipe or a device would hold us, or never end.
[[nodiscard]] inline bool isRegularFile(const UniqueHandle& file) {
    const auto information = informationOf(file);
    return ::GetFileType(native(file)) == FILE_TYPE_DISK && information &&
           !(information->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether two open handles hold the very same file or folder, whatever names led to them.
[[nodiscard]] inline bool isSameFile(const UniqueHandle& one, const UniqueHandle& other) {
    const auto mine = informationOf(one);
    const auto theirs = informationOf(other);
    return mine && theirs && mine->dwVolumeSerialNumber == theirs->dwVolumeSerialNumber &&
           fileIndex(*mine) == fileIndex(*theirs);
}

// The path the system resolves an open file or folder to, links and all, without the "\\?\"
// prefix; "" where it cannot say.
[[nodiscard]] QString finalPath(const UniqueHandle& file);

// Marks the file to be deleted when its last handle closes, or takes the mark back. Returns the
// Windows error, or ERROR_SUCCESS.
[[nodiscard]] DWORD markForDeletion(const UniqueHandle& file, bool deleted);

// Why a file could not be opened or deleted, in words for the user.
[[nodiscard]] QString fileFailure(DWORD error);

// A name that stays within the folder: not empty, no "." or "..", no separator, no stream.
[[nodiscard]] bool isEntryName(const QString& name);

[[nodiscard]] inline std::wstring wide(const QString& text) {
    return text.toStdWString();
}

}  // namespace kestrix::platform::win32
