#include "support/links.h"

#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace kestrix::test {

namespace {

std::optional<QString> failure(int result) {
    if (result == 0) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

std::optional<QString> hardLink(const QString& existing, const QString& newName) {
    return failure(
        ::link(QFile::encodeName(existing).constData(), QFile::encodeName(newName).constData()));
}

std::optional<QString> symbolicLink(const QString& target, const QString& link) {
    return failure(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()));
}

}  // namespace kestrix::test
