#include "platform/file_lock.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace kestrix::platform {

namespace {

// Windows' locks bar reads and writes of the bytes they cover, even through other handles of
// this very process: the lock is on one byte far past any end a settings file reaches.
OVERLAPPED lockedByte() {
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    return at;
}

// Waits for the lock, but not for ever: a holder that hangs must not freeze the window.
DWORD lockWithin(const UniqueHandle& file, int patienceMs) {
    const QDeadlineTimer giveUp(patienceMs);
    for (;;) {
        OVERLAPPED at = lockedByte();
        if (::LockFileEx(win32::native(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                         0, 1, 0, &at)) {
            return ERROR_SUCCESS;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            return error;
        }
        if (giveUp.hasExpired()) {
            return ERROR_LOCK_VIOLATION;
        }
        QThread::msleep(2);
    }
}

// Opened for reading only, and shared for everything, so that the lock never keeps the file
// from being read, written or replaced.
UniqueHandle openToLock(const std::wstring& name) {
    return win32::adopt(::CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::variant<FileLock, QString> FileLock::acquire(const QString& path) {
    const std::wstring name = win32::wide(QDir::toNativeSeparators(path));
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        UniqueHandle file = openToLock(name);
        if (!file) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
                return FileLock();
            }
            return systemError(static_cast<int>(error));
        }
        if (::GetFileType(win32::native(file)) != FILE_TYPE_DISK) {
            return QStringLiteral("it is not a regular file");
        }
        if (const DWORD error = lockWithin(file, 2000)) {
            return error == ERROR_LOCK_VIOLATION ? QStringLiteral("another program keeps it locked")
                                                 : systemError(static_cast<int>(error));
        }
        // Replaced while we waited: the lock belongs on the file that has the name now.
        if (const UniqueHandle named = openToLock(name); named && win32::isSameFile(file, named)) {
            return FileLock(std::move(file));
        }
    }
    return QStringLiteral("it keeps being replaced");
}

}  // namespace kestrix::platform
