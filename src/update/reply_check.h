#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kestrix::update {

// Where the version page lives.
struct Endpoint {
    QString host;
    quint16 port = 80;
};

// The update host fixed when the program is built, on port 80.
[[nodiscard]] Endpoint fixedUpdateServer();

inline const QString latestVersionMarker = QStringLiteral("Latest Version: ");
inline const QString ownVersionPrefix = QStringLiteral("Version: ");

// The one request of a check: four lines, each ended by CR LF.
[[nodiscard]] QByteArray versionRequest(const QString& host);

// The address of the download, on the same server as the version page.
[[nodiscard]] QString downloadAddress(const Endpoint& server);

// The latest version a piece of the reply names: the text behind the first marker, up to a
// second marker or the first line end. Nothing when the piece holds no marker.
[[nodiscard]] std::optional<QString> latestVersion(const QString& reply);

// The program's own version: the text behind the first "Version: " of the caption, up to a
// second one or the end.
[[nodiscard]] QString ownVersion(const QString& versionCaption);

}  // namespace kestrix::update
