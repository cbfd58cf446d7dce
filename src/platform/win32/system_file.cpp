#include "platform/system_file.h"

#include "platform/win32/handles.h"

#include <QDir>

namespace kestrix::platform {

bool isSystemFile(const QString& hostPath) {
    const DWORD attributes =
        ::GetFileAttributesW(win32::wide(QDir::toNativeSeparators(hostPath)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM);
}

}  // namespace kestrix::platform
