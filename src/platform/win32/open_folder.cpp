#include "platform/open_folder.h"

#include "platform/win32/handles.h"

#include <vector>

namespace kestrix::platform {

namespace {

constexpr ACCESS_MASK folderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
constexpr ULONG shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

QString openFailure(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return QStringLiteral("not found");
        case ERROR_DIRECTORY:
            return QStringLiteral("not a folder");
        case ERROR_ACCESS_DENIED:
            return QStringLiteral("access denied");
        default:
            return win32::fileFailure(error);
    }
}

// The handle, where it holds a folder.
std::variant<UniqueHandle, QString> checkedFolder(UniqueHandle handle, DWORD error) {
    if (!handle) {
        return openFailure(error);
    }
    const auto information = win32::informationOf(handle);
    if (!information) {
        return openFailure(::GetLastError());
    }
    if (!(information->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return openFailure(ERROR_DIRECTORY);
    }
    return handle;
}

}  // namespace

std::variant<OpenFolder, QString> OpenFolder::open(const QString& hostPath) {
    UniqueHandle handle =
        win32::adopt(::CreateFileW(win32::wide(hostPath).c_str(), folderAccess, shareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    auto checked = checkedFolder(std::move(handle), ::GetLastError());
    if (auto* failure = std::get_if<QString>(&checked)) {
        return *failure;
    }
    return OpenFolder(std::get<UniqueHandle>(std::move(checked)));
}

std::variant<OpenFolder, QString> OpenFolder::subfolder(const QString& name) const {
    if (!win32::isEntryName(name)) {
        return openFailure(ERROR_FILE_NOT_FOUND);
    }
    auto opened = win32::openRelative(handle(), win32::wide(name), folderAccess, shareAll,
                                      FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT);
    auto checked = checkedFolder(std::move(opened.handle), opened.error);
    if (auto* failure = std::get_if<QString>(&checked)) {
        return *failure;
    }
    return OpenFolder(std::get<UniqueHandle>(std::move(checked)));
}

EntryMatch OpenFolder::find(const QString& name) const {
    // Windows finds a name whatever its letter case; the listing tells the entry's own spelling,
    // and whether several entries differ only in letter case (as they may under Wine).
    if (!win32::isEntryName(name)) {
        return {};
    }
    return matchEntry(name, entries());
}

QStringList OpenFolder::entries() const {
    std::vector<char> buffer(64 * 1024);
    QStringList names;
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(win32::native(handle()), kind, buffer.data(),
                                          static_cast<DWORD>(buffer.size()))) {
        kind = FileIdBothDirectoryInfo;
        for (std::size_t offset = 0;;) {
            const auto* entry =
                reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
            const QString name = QString::fromWCharArray(
                entry->FileName, static_cast<qsizetype>(entry->FileNameLength / sizeof(wchar_t)));
            if (name != u"." && name != u"..") {
                names << name;
            }
            if (entry->NextEntryOffset == 0) {
                break;
            }
            offset += entry->NextEntryOffset;
        }
    }
    return names;
}

bool OpenFolder::isSameFolder(const OpenFolder& other) const {
    return win32::isSameFile(handle(), other.handle());
}

bool OpenFolder::isWithin(const OpenFolder& outer) const {
    // Compared by the paths the system resolves both to, links and all.
    const QString inner = win32::finalPath(handle());
    const QString container = win32::finalPath(outer.handle());
    if (inner.isEmpty() || container.isEmpty()) {
        return false;
    }
    return inner.compare(container, Qt::CaseInsensitive) == 0 ||
           inner.startsWith(container + u'\\', Qt::CaseInsensitive);
}

}  // namespace kestrix::platform
