#include "platform/win32/handles.h"

#include "platform/system_error.h"

namespace kestrix::platform::win32 {

Opened openRelative(const UniqueHandle& folder, const std::wstring& name, ACCESS_MASK access,
                    ULONG share, ULONG options) {
    UNICODE_STRING objectName{};
    objectName.Buffer = const_cast<wchar_t*>(name.c_str());
    objectName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    objectName.MaximumLength = objectName.Length;
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, native(folder),
                               nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE handle = nullptr;
    const NTSTATUS result =
        ::NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status, nullptr, 0, share,
                       FILE_OPEN, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result)) {
        return {UniqueHandle(), ::RtlNtStatusToDosError(result)};
    }
    return {adopt(handle), ERROR_SUCCESS};
}

std::optional<BY_HANDLE_FILE_INFORMATION> informationOf(const UniqueHandle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(native(file), &information)) {
        return std::nullopt;
    }
    return information;
}

QString finalPath(const UniqueHandle& file) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; file && attempt < 2; ++attempt) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(native(file), path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            break;
        }
        if (length < path.size()) {
            path.resize(length);
            const QString found = QString::fromStdWString(path);
            if (found.startsWith(QStringLiteral("\\\\?\\UNC\\"))) {
                return QStringLiteral("\\\\") + found.mid(8);  // \\server\share
            }
            return found.startsWith(QStringLiteral("\\\\?\\")) ? found.mid(4) : found;
        }
        path.resize(length);
    }
    return QString();
}

DWORD markForDeletion(const UniqueHandle& file, bool deleted) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleted ? TRUE : FALSE;
    return ::SetFileInformationByHandle(native(file), FileDispositionInfo, &disposition,
                                        sizeof disposition)
               ? ERROR_SUCCESS
               : ::GetLastError();
}

QString fileFailure(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return QStringLiteral("file not found");
        case ERROR_ACCESS_DENIED:
            return QStringLiteral("access denied");
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return QStringLiteral("in use by another program (sharing violation)");
        case ERROR_USER_MAPPED_FILE:
            return QStringLiteral("in use by another program (mapped into its memory)");
        default:
            return systemError(static_cast<int>(error));
    }
}

bool isEntryName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(u':') && !name.contains(QChar::Null);
}

}  // namespace kestrix::platform::win32
