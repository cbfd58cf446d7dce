#include "platform/system_fonts.h"

#include <windows.h>
#include <QDir>
#include <QStringList>
#include <array>

namespace kestrix::platform {

namespace {

const wchar_t* const fontsKey = LR"(SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts)";

std::wstring nativePath(const QString& hostPath) {
    return QDir::toNativeSeparators(hostPath).toStdWString();
}

// The file a value's data names: a bare name means the system's font folder.
QString namedFile(const QString& data) {
    if (QDir::isAbsolutePath(data)) {
        return QDir::cleanPath(data);
    }
    std::array<wchar_t, MAX_PATH> windows{};
    const UINT length = ::GetWindowsDirectoryW(windows.data(), MAX_PATH);
    return QDir::cleanPath(QString::fromWCharArray(windows.data(), length) +
                           QStringLiteral("/Fonts/") + data);
}

// The names of the values under the open key whose data names the file.
QStringList valuesNaming(HKEY key, const QString& file) {
    QStringList names;
    for (DWORD index = 0;; ++index) {
        std::array<wchar_t, 16384> name{};
        std::array<wchar_t, 4096> data{};
        DWORD nameLength = name.size();
        DWORD dataBytes = (data.size() - 1) * sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                               reinterpret_cast<BYTE*>(data.data()), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            continue;
        }
        const QString named = QString::fromWCharArray(data.data()).trimmed();
        if (!named.isEmpty() && namedFile(named).compare(file, Qt::CaseInsensitive) == 0) {
            names << QString::fromWCharArray(name.data(), nameLength);
        }
    }
    return names;
}

}  // namespace

FontCalls systemFontCalls() {
    return {[](const QString& hostPath) {
                return ::RemoveFontResourceExW(nativePath(hostPath).c_str(), 0, nullptr) != 0;
            },
            [](const QString& hostPath) {
                ::AddFontResourceExW(nativePath(hostPath).c_str(), 0, nullptr);
            }};
}

bool forgetFontValues(const QString& hostPath) {
    const QString file = QDir::cleanPath(QDir::fromNativeSeparators(hostPath));
    bool forgotten = false;
    // The machine's fonts, and the fonts this user installed for themselves.
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(hive, fontsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS) {
            continue;  // without the right to change it, Windows skips values whose file is gone
        }
        for (const auto& name : valuesNaming(key, file)) {
            forgotten =
                ::RegDeleteValueW(key, name.toStdWString().c_str()) == ERROR_SUCCESS || forgotten;
        }
        ::RegCloseKey(key);
    }
    return forgotten;
}

void announceFontChange() {
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
}

}  // namespace kestrix::platform
