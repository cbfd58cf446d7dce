#include "platform/whole_file.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"

#include <QDir>

namespace kestrix::platform {

namespace {

QString unreadable(DWORD error) {
    return QStringLiteral("it cannot be read: ") + systemError(static_cast<int>(error));
}

}  // namespace

std::variant<QByteArray, QString> readWholeFile(const QString& path, qint64 largest) {
    const std::wstring name = win32::wide(QDir::toNativeSeparators(path));
    // Opened once, shared for every use so that a read never holds up the wipe of the same
    // file, and looked at through the handle: a folder opens too, to be told apart.
    const UniqueHandle file = win32::adopt(::CreateFileW(
        name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? QStringLiteral("not found")
                   : unreadable(error);
    }
    return readWholeFile(file, largest);
}

std::variant<QByteArray, QString> readWholeFile(const UniqueHandle& file, qint64 largest) {
    if (!win32::isRegularFile(file)) {
        return QStringLiteral("it is not a regular file");
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(win32::native(file), &size)) {
        return unreadable(::GetLastError());
    }
    if (size.QuadPart > largest) {
        return QStringLiteral("it is larger than %1 MiB").arg(largest >> 20);
    }
    // No more than one byte past the size is ever read: a file may grow once its size was asked.
    QByteArray bytes(static_cast<qsizetype>(size.QuadPart) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(win32::native(file), bytes.data() + done,
                        static_cast<DWORD>(std::min<qsizetype>(bytes.size() - done, 1 << 30)),
                        &read, nullptr)) {
            return unreadable(::GetLastError());
        }
        if (read == 0) {
            bytes.truncate(done);
            return bytes;
        }
        done += read;
    }
    return QStringLiteral("it holds more than its size says");
}

}  // namespace kestrix::platform
