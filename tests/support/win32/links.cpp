#include "support/links.h"

#include <windows.h>
#include <QDir>

namespace kestrix::test {

namespace {

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

QString lastError() {
    return QStringLiteral("Windows error %1").arg(::GetLastError());
}

}  // namespace

std::optional<QString> hardLink(const QString& existing, const QString& newName) {
    if (!::CreateHardLinkW(native(newName).c_str(), native(existing).c_str(), nullptr)) {
        return lastError();
    }
    return std::nullopt;
}

std::optional<QString> symbolicLink(const QString& target, const QString& link) {
    // Unprivileged where developer mode allows it; administrators may anyway.
    const bool made = ::CreateSymbolicLinkW(native(link).c_str(), native(target).c_str(),
                                            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
                      ::CreateSymbolicLinkW(native(link).c_str(), native(target).c_str(), 0);
    if (!made) {
        return lastError();
    }
    // Wine 8 answers success and makes nothing.
    const DWORD attributes = ::GetFileAttributesW(native(link).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return QStringLiteral("this Windows makes no symbolic links");
    }
    return std::nullopt;
}

}  // namespace kestrix::test
