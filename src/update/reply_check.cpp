#include "update/reply_check.h"

#include <QStringList>
#include <algorithm>

namespace kestrix::update {

namespace {

// The second piece of the text cut at every occurrence of the separator, if there is one.
std::optional<QString> secondPiece(const QString& text, const QString& separator) {
    const QStringList pieces = text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (pieces.size() < 2) {
        return std::nullopt;
    }
    return pieces[1];
}

}  // namespace

Endpoint fixedUpdateServer() {
    return {QStringLiteral(KESTRIX_UPDATE_HOST), 80};
}

QByteArray versionRequest(const QString& host) {
    return "GET /kestrix/version.html HTTP/1.1\r\n"
           "Host: " +
           host.toLatin1() +
           "\r\n"
           "Connection: Keep-Alive\r\n"
           "\r\n";
}

QString downloadAddress(const Endpoint& server) {
    const QString port = server.port == 80 ? QString() : QStringLiteral(":%1").arg(server.port);
    return QStringLiteral("http://") + server.host + port + QStringLiteral("/kestrix/kestrix.zip");
}

std::optional<QString> latestVersion(const QString& reply) {
    std::optional<QString> version = secondPiece(reply, latestVersionMarker);
    if (version) {
        const auto lineEnd = std::find_if(version->cbegin(), version->cend(),
                                          [](QChar c) { return c == u'\r' || c == u'\n'; });
        version->truncate(lineEnd - version->cbegin());
    }
    return version;
}

QString ownVersion(const QString& versionCaption) {
    return secondPiece(versionCaption, ownVersionPrefix).value_or(QString());
}

}  // namespace kestrix::update
