#include "platform/replace_file.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"
#include "platform/win32/replace_with.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <optional>

namespace kestrix::platform {

namespace {

QString lastError() {
    return systemError(static_cast<int>(::GetLastError()));
}

// The file that writing to `path` must replace: what a link there leads to, as writing through
// it would; the path itself where nothing is there yet. A link that leads nowhere is no place to
// make a file: `refusal` says so.
struct Target {
    QString path;
    QString refusal;
};
Target finalTarget(const QString& path) {
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const UniqueHandle file =
        win32::adopt(::CreateFileW(win32::wide(native).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD attributes = ::GetFileAttributesW(win32::wide(native).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            return {native, QStringLiteral("it is a link to a file that does not exist")};
        }
        return {native, {}};
    }
    const QString final = win32::finalPath(file);
    return {final.isEmpty() ? native : final, {}};
}

struct NewFile {
    UniqueHandle handle;
    QString path;
};

// A name of our own beside the target, hidden and random so that nothing else takes it.
QString nameBeside(const QString& target) {
    const QFileInfo info(target);
    return QDir::toNativeSeparators(info.absolutePath()) + QStringLiteral("\\.") + info.fileName() +
           u'.' + QString::number(QRandomGenerator::global()->generate(), 36);
}

bool exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool moveInto(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

// A new file of our own beside the target.
std::optional<NewFile> createBeside(const QString& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = nameBeside(target);
        UniqueHandle handle =
            win32::adopt(::CreateFileW(win32::wide(path).c_str(), GENERIC_WRITE | DELETE, 0,
                                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (handle) {
            return NewFile{std::move(handle), path};
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    return std::nullopt;
}

bool writeAll(const UniqueHandle& file, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<qsizetype>(bytes.size(), 1 << 30));
        if (!::WriteFile(win32::native(file), bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        if (written == 0) {
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

// Writes, flushes and closes the new file; returns the reason when any step failed.
std::optional<QString> fill(NewFile& file, const std::vector<QByteArrayView>& pieces) {
    for (const auto& piece : pieces) {
        if (!writeAll(file.handle, piece)) {
            return QStringLiteral("the new file could not be written: ") + lastError();
        }
    }
    if (!::FlushFileBuffers(win32::native(file.handle))) {
        return QStringLiteral("the new file could not be flushed to the disk: ") + lastError();
    }
    // Unhidden before it takes the old one's place: it becomes that file.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(win32::native(file.handle), FileBasicInfo, &basic,
                                      sizeof basic)) {
        return QStringLiteral("the new file could not be made visible: ") + lastError();
    }
    if (const int error = file.handle.close()) {
        return QStringLiteral("the new file could not be closed: ") + systemError(error);
    }
    return std::nullopt;
}

BOOL replaceWithWindows(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup) {
    return ::ReplaceFileW(replaced, replacement, backup,
                          REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                          nullptr);
}

QString notInPlace(DWORD error) {
    return QStringLiteral("the new file could not take the old one's place: ") +
           systemError(static_cast<int>(error));
}

// Puts the new, flushed and closed file in the old one's place and leaves no file of ours
// behind. ReplaceFileW keeps the old file's attributes and permissions. It may fail part-way:
// with the old file moved to the backup name, or gone, and the new one under its own name
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT and _2). Whatever it did, the name is never left empty:
// the new file takes it, or else the old one takes it back. The first time there is no old
// file, and the new one is only moved.
std::optional<QString> putInPlace(const QString& newFile, const QString& target,
                                  win32::ReplaceCall replace) {
    const std::wstring from = win32::wide(newFile);
    const std::wstring to = win32::wide(target);
    if (!exists(to)) {
        if (moveInto(from, to)) {
            return std::nullopt;
        }
        const DWORD error = ::GetLastError();
        ::DeleteFileW(from.c_str());
        return notInPlace(error);
    }
    const std::wstring backup = win32::wide(nameBeside(target));
    const bool replaced = replace(to.c_str(), from.c_str(), backup.c_str()) != 0;
    const DWORD error = ::GetLastError();
    const bool inPlace = replaced || (!exists(to) && moveInto(from, to));
    if (!exists(to) && !moveInto(backup, to)) {
        return QStringLiteral(
                   "the new file could not take the old one's place, and the old one "
                   "could not take it back; they are %1 and %2: ")
                   .arg(newFile, QString::fromStdWString(backup)) +
               systemError(static_cast<int>(error));
    }
    ::DeleteFileW(from.c_str());
    ::DeleteFileW(backup.c_str());
    return inPlace ? std::nullopt : std::optional(notInPlace(error));
}

}  // namespace

namespace win32 {

ReplaceResult replaceFileWith(const QString& path, const std::vector<QByteArrayView>& pieces,
                              ReplaceCall replace) {
    const auto [target, refusal] = finalTarget(path);
    if (!refusal.isEmpty()) {
        return {false, refusal};
    }
    if (!QFileInfo(QFileInfo(target).absolutePath()).isDir()) {
        return {false, QStringLiteral("its folder cannot be opened: ") +
                           systemError(ERROR_PATH_NOT_FOUND)};
    }
    auto file = createBeside(target);
    if (!file) {
        return {false, QStringLiteral("no new file can be created beside it: ") + lastError()};
    }
    if (auto failure = fill(*file, pieces)) {
        file->handle.reset();
        ::DeleteFileW(win32::wide(file->path).c_str());
        return {false, *failure};
    }
    // Neither ReplaceFileW nor the folder can be written through: the new file's content
    // reached the disk before it took the name, and the file system's journal keeps the rename.
    if (auto failure = putInPlace(file->path, target, replace)) {
        return {false, *failure};
    }
    return {true, QString()};
}

}  // namespace win32

ReplaceResult replaceFile(const QString& path, const std::vector<QByteArrayView>& pieces) {
    return win32::replaceFileWith(path, pieces, replaceWithWindows);
}

}  // namespace kestrix::platform
