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

// Tries for the lock until `patience` is spent; returns the Windows error, or ERROR_SUCCESS.
DWORD lockWithin(const UniqueHandle& file, std::chrono::milliseconds patience) {
    const QDeadlineTimer giveUp(patience);
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
// from being read, written or replaced. Opening a file never waits; what the name leads to is
// looked at through the handle before anything waits on it.
UniqueHandle openToLock(const std::wstring& name) {
    return win32::adopt(::CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::variant<FileLock, FileLock::Busy, QString> FileLock::acquire(
    const QString& path, std::chrono::milliseconds patience) {
    const std::wstring name = win32::wide(QDir::toNativeSeparators(path));
    constexpr int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        UniqueHandle file = openToLock(name);
        if (!file) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
                return std::variant<FileLock, Busy, QString>(FileLock());
            }
            return systemError(static_cast<int>(error));
        }
        if (!win32::isRegularFile(file)) {
            return QStringLiteral("it is not a regular file");
        }
        if (const DWORD error = lockWithin(file, patience)) {
            return error == ERROR_LOCK_VIOLATION ? std::variant<FileLock, Busy, QString>(Busy())
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
