#include "platform/session_socket.h"

#include <QRegularExpression>

namespace kestrix::platform {

QString normalDisplayName(const QString& xDisplay) {
    // [protocol/][host]:display[.screen]
    static const QRegularExpression parts(
        QStringLiteral("^(?:([a-z0-9]+)/)?([^:]*)(:+)(\\d+)(?:\\.\\d+)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = parts.match(xDisplay.trimmed());
    if (!match.hasMatch()) {
        return xDisplay.trimmed();
    }
    const QString protocol = match.captured(1).toLower();
    QString host = match.captured(2).toLower();
    const bool local = protocol == u"unix" || protocol == u"local" || host == u"unix";
    if (local) {
        host.clear();
    }
    return host + match.captured(3) + match.captured(4);
}

}  // namespace kestrix::platform
