#include "support/files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <QDir>
#include <QFile>

namespace kestrix::test {

QByteArray contentOf(const QString& path) {
    // Shared for deleting too, so that a file the wipe holds open can be looked at meanwhile.
    const HANDLE handle = ::CreateFileW(
        QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    const int descriptor = handle == INVALID_HANDLE_VALUE
                               ? -1
                               : ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    QFile file;
    if (descriptor < 0 || !file.open(descriptor, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        return "<missing>";
    }
    return file.readAll();
}

}  // namespace kestrix::test
