#include "platform/host_folders.h"

#include "platform/win32/handles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace kestrix::platform {

QString userConfigFolder() {
    // %LOCALAPPDATA%, where Windows itself redirects the writes of programs in protected folders.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString userFontFolder() {
    return QDir::toNativeSeparators(userConfigFolder()) +
           QStringLiteral(R"(\Microsoft\Windows\Fonts)");
}

QString ownFolderName() {
    return QStringLiteral("Kestrix");
}

bool isWritableFolder(const QString& folder) {
    // Permissions, inherited rules and policies decide, not attributes: Windows is asked by
    // trying. The file goes again when its handle closes.
    const QString probe = QDir::toNativeSeparators(folder) + QStringLiteral("\\.kestrix-probe-") +
                          QString::number(QRandomGenerator::global()->generate(), 36);
    const UniqueHandle file = win32::adopt(::CreateFileW(
        win32::wide(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

QString wineFontFolder() {
    return QString();
}

}  // namespace kestrix::platform
