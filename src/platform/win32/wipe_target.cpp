#include "platform/wipe_target.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"

#include <aclapi.h>
#include <memory>

namespace kestrix::platform {

namespace {

constexpr ULONG shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The name itself, never what a link leads to.
constexpr ULONG asNamed = FILE_OPEN_REPARSE_POINT;

std::wstring wideName(const QByteArray& name) {
    return {reinterpret_cast<const wchar_t*>(name.constData()),
            static_cast<std::size_t>(name.size()) / sizeof(wchar_t)};
}

bool isSameFile(const BY_HANDLE_FILE_INFORMATION& information, quint64 volume, quint64 index) {
    return information.dwVolumeSerialNumber == volume && win32::fileIndex(information) == index;
}

struct LocalFree {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

// The token this program acts with, as a check of access needs it.
UniqueHandle accessToken() {
    HANDLE process = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &process)) {
        return {};
    }
    const UniqueHandle processToken = win32::adopt(process);
    HANDLE token = nullptr;
    if (!::DuplicateToken(process, SecurityIdentification, &token)) {
        return {};
    }
    return win32::adopt(token);
}

// The rights Windows grants this program on the open file or folder, by its security.
ACCESS_MASK grantedRights(const UniqueHandle& object, const UniqueHandle& token) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(
            win32::native(object), SE_FILE_OBJECT,
            OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return 0;
    }
    const std::unique_ptr<void, LocalFree> held(descriptor);
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    struct {
        PRIVILEGE_SET set;
        LUID_AND_ATTRIBUTES more[8];
    } privileges{};
    DWORD privilegesSize = sizeof privileges;
    ACCESS_MASK granted = 0;
    BOOL allowed = FALSE;
    if (!::AccessCheck(descriptor, win32::native(token), MAXIMUM_ALLOWED, &mapping, &privileges.set,
                       &privilegesSize, &granted, &allowed) ||
        !allowed) {
        return 0;
    }
    return granted;
}

}  // namespace

std::optional<QString> WipeTarget::refusal(const OpenFolder& folder, const QString& name) {
    if (!win32::isEntryName(name)) {
        return win32::fileFailure(ERROR_FILE_NOT_FOUND);
    }
    auto named = win32::openRelative(folder.handle(), win32::wide(name),
                                     READ_CONTROL | FILE_READ_ATTRIBUTES, shareAll, asNamed);
    if (!named.handle) {
        return win32::fileFailure(named.error);
    }
    const auto seen = win32::informationOf(named.handle);
    if (!seen) {
        return systemError(static_cast<int>(::GetLastError()));
    }
    // As the open judges: a link gives up its name only, whatever its attributes; a name of a
    // shared file gives up its name only, unless it is read-only.
    const bool isLink = seen->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    if (!isLink && (seen->dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        return QStringLiteral("read-only");
    }
    const bool writesContent = !isLink && seen->nNumberOfLinks <= 1;
    const UniqueHandle token = accessToken();
    if (!token) {
        return systemError(static_cast<int>(::GetLastError()));
    }
    const ACCESS_MASK onFile = grantedRights(named.handle, token);
    if (writesContent && (onFile & FILE_WRITE_DATA) == 0) {
        return win32::fileFailure(ERROR_ACCESS_DENIED);
    }
    if (onFile & DELETE) {
        return std::nullopt;
    }
    // Windows lets a file go as well when its folder grants the deletion of what it holds.
    const auto self = win32::openRelative(folder.handle(), std::wstring(), READ_CONTROL, shareAll,
                                          FILE_DIRECTORY_FILE);
    if (self.handle && (grantedRights(self.handle, token) & FILE_DELETE_CHILD)) {
        return std::nullopt;
    }
    return win32::fileFailure(ERROR_ACCESS_DENIED);
}

std::variant<WipeTarget, QString> WipeTarget::open(const OpenFolder& folder, const QString& name) {
    if (!win32::isEntryName(name) || folder.find(name).name != name) {
        return win32::fileFailure(ERROR_FILE_NOT_FOUND);  // nothing by this very name
    }
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), win32::native(folder.handle()),
                           ::GetCurrentProcess(), &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return systemError(static_cast<int>(::GetLastError()));
    }
    const std::wstring wide = win32::wide(name);
    const QByteArray stored(reinterpret_cast<const char*>(wide.data()),
                            static_cast<qsizetype>(wide.size() * sizeof(wchar_t)));
    // Reading the attributes needs no share with whoever holds the file.
    auto named =
        win32::openRelative(folder.handle(), wide, FILE_READ_ATTRIBUTES, shareAll, asNamed);
    if (!named.handle) {
        return win32::fileFailure(named.error);
    }
    const auto seen = win32::informationOf(named.handle);
    if (!seen) {
        return systemError(static_cast<int>(::GetLastError()));
    }
    WipeTarget target(win32::adopt(duplicate), stored, seen->dwVolumeSerialNumber,
                      win32::fileIndex(*seen));
    const DWORD attributes = seen->dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return target;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return QStringLiteral("a folder");
    }
    if (::GetFileType(win32::native(named.handle)) != FILE_TYPE_DISK) {
        return QStringLiteral("not a regular file");
    }
    // The attribute holds for administrators too, and Windows would refuse the delete anyway.
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        return QStringLiteral("read-only");
    }
    if (seen->nNumberOfLinks > 1) {
        return target;
    }
    // Others may read it meanwhile, but neither write, rename nor delete it.
    auto file = win32::openRelative(
        target.folder_, wide, FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | DELETE,
        FILE_SHARE_READ, asNamed | FILE_NON_DIRECTORY_FILE);
    if (!file.handle) {
        return win32::fileFailure(file.error);
    }
    const auto opened = win32::informationOf(file.handle);
    if (!opened || !isSameFile(*opened, target.device_, target.inode_) ||
        (opened->dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)) ||
        opened->nNumberOfLinks > 1) {
        return QStringLiteral("the file changed while opening it");
    }
    // A file Windows will not let go (a font it has mapped) must not be written either: asked
    // before the first byte, and the answer taken back at once.
    if (const DWORD refused = win32::markForDeletion(file.handle, true)) {
        return QStringLiteral("in use, Windows will not delete it: ") +
               systemError(static_cast<int>(refused));
    }
    if (const DWORD kept = win32::markForDeletion(file.handle, false)) {
        return systemError(static_cast<int>(kept));
    }
    target.size_ = (qint64{opened->nFileSizeHigh} << 32) | opened->nFileSizeLow;
    target.file_ = std::move(file.handle);
    return target;
}

std::optional<QString> WipeTarget::writeAt(qint64 offset, const QByteArray& block) {
    qsizetype done = 0;
    while (done < block.size()) {
        OVERLAPPED at{};
        const quint64 position = static_cast<quint64>(offset + done);
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD written = 0;
        if (!::WriteFile(win32::native(file_), block.constData() + done,
                         static_cast<DWORD>(block.size() - done), &written, &at)) {
            return systemError(static_cast<int>(::GetLastError()));
        }
        if (written == 0) {
            return QStringLiteral("nothing could be written");
        }
        done += written;
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::flush() {
    if (!::FlushFileBuffers(win32::native(file_))) {
        return systemError(static_cast<int>(::GetLastError()));
    }
    return std::nullopt;
}

std::optional<QString> WipeTarget::removeName() {
    // The very object written goes, through its own handle, whatever name it has now; nobody
    // could rename or replace it meanwhile. A link, or a name of a shared file, is opened as
    // the name it is and goes only if it is still what was looked at.
    UniqueHandle doomed = std::move(file_);
    if (!doomed) {
        auto named = win32::openRelative(folder_, wideName(name_), DELETE | FILE_READ_ATTRIBUTES,
                                         shareAll, asNamed);
        if (!named.handle) {
            return win32::fileFailure(named.error);
        }
        const auto information = win32::informationOf(named.handle);
        if (!information || !isSameFile(*information, device_, inode_)) {
            return QStringLiteral("the file was replaced while it was being removed");
        }
        doomed = std::move(named.handle);
    }
    if (const DWORD refused = win32::markForDeletion(doomed, true)) {
        return win32::fileFailure(refused);
    }
    if (const int error = doomed.close()) {
        return systemError(error);
    }
    return std::nullopt;
}

}  // namespace kestrix::platform
