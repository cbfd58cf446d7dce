#include "platform/replace_file.h"

#include "platform/system_error.h"
#include "platform/win32/handles.h"

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

// A file of our own beside the target, hidden and named at random so that nothing else takes it.
std::optional<NewFile> createBeside(const QString& target) {
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = QDir::toNativeSeparators(info.absolutePath()) + QStringLiteral("\\.") +
                             info.fileName() + u'.' +
                             QString::number(QRandomGenerator::global()->generate(), 36);
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

// Puts the new file in the old one's place: ReplaceFileW keeps the old file's attributes and
// permissions; the first time there is none, and the move is written through to the disk.
std::optional<QString> putInPlace(const QString& newFile, const QString& target) {
    const std::wstring from = win32::wide(newFile);
    const std::wstring to = win32::wide(target);
    if (::GetFileAttributesW(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
            return std::nullopt;
        }
    } else if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                              nullptr, nullptr)) {
        return std::nullopt;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        return QStringLiteral(
                   "the new file could not take the old one's place, and Windows "
                   "moved the old one aside: ") +
               systemError(static_cast<int>(error));
    }
    return QStringLiteral("the new file could not take the old one's place: ") +
           systemError(static_cast<int>(error));
}

}  // namespace

ReplaceResult replaceFile(const QString& path, const std::vector<QByteArrayView>& pieces) {
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
    auto failure = fill(*file, pieces);
    if (!failure) {
        failure = putInPlace(file->path, target);
    }
    if (failure) {
        file->handle.reset();
        ::DeleteFileW(win32::wide(file->path).c_str());
        return {false, *failure};
    }
    // The move itself is written through: there is no folder left to flush.
    return {true, QString()};
}

}  // namespace kestrix::platform
