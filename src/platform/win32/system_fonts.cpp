#include "platform/system_fonts.h"

#include <windows.h>
#include <QDir>
#include <QStringList>
#include <array>

namespace kestrix::platform {

namespace {

constexpr int mostLoads = 64;  // a font loaded more often than this is held by something else

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

SystemFonts::~SystemFonts() {
    if (changed_) {
        ::SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
    }
}

void SystemFonts::unload(const QString& hostPath) {
    const std::wstring path = nativePath(hostPath);
    int times = 0;
    while (times < mostLoads && ::RemoveFontResourceExW(path.c_str(), 0, nullptr)) {
        ++times;
    }
    if (times > 0) {
        unloaded_[hostPath] += times;
        changed_ = true;
    }
}

void SystemFonts::reload(const QString& hostPath) {
    const std::wstring path = nativePath(hostPath);
    for (int times = unloaded_.take(hostPath); times > 0; --times) {
        ::AddFontResourceExW(path.c_str(), 0, nullptr);
    }
}

void SystemFonts::forget(const QString& hostPath) {
    unloaded_.remove(hostPath);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, fontsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;  // without the right to change it, Windows skips values whose file is gone
    }
    for (const auto& name :
         valuesNaming(key, QDir::cleanPath(QDir::fromNativeSeparators(hostPath)))) {
        if (::RegDeleteValueW(key, name.toStdWString().c_str()) == ERROR_SUCCESS) {
            changed_ = true;
        }
    }
    ::RegCloseKey(key);
}

}  // namespace kestrix::platform
