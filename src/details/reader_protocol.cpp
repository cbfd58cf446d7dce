#include "details/reader_protocol.h"

#include <QList>

namespace kestrix::details {

QByteArray encodeRequest(const ReadRequest& request) {
    return (request.withBytes ? "B" : "N") + request.hostPath.toUtf8() + '\0';
}

ReadRequest decodeRequest(const QByteArray& request) {
    return {QString::fromUtf8(request.mid(1)), request.startsWith('B')};
}

QByteArray encodeVerdict(const FontVerdict& verdict, bool withBytes) {
    const bool font = verdict.kind == FontVerdict::Kind::Font;
    const QByteArray bytes = font && withBytes ? verdict.bytes : QByteArray();
    QByteArray encoded(font ? "F" : "X");
    encoded += '\0' + (font ? verdict.family : verdict.reason).toUtf8();
    encoded += '\0' + (font ? verdict.style : QString()).toUtf8();
    encoded += '\0' + QByteArray::number(bytes.size()) + '\0';
    return encoded + bytes;
}

std::optional<FontVerdict> takeVerdict(QByteArray& received) {
    constexpr int headerFields = 4;
    qsizetype headerEnd = -1;
    for (int field = 0; field < headerFields; ++field) {
        headerEnd = received.indexOf('\0', headerEnd + 1);
        if (headerEnd < 0) {
            return std::nullopt;
        }
    }
    const QList<QByteArray> fields = received.left(headerEnd).split('\0');
    bool isCount = false;
    const qsizetype count = fields[3].toLongLong(&isCount);
    if (!isCount || count < 0 || !(fields[0] == "F" || fields[0] == "X")) {
        received.clear();
        return FontVerdict::noReader(QStringLiteral("the font reader answered out of turn"));
    }
    if (received.size() - headerEnd - 1 < count) {
        return std::nullopt;
    }
    FontVerdict verdict = fields[0] == "F" ? FontVerdict::font(QString::fromUtf8(fields[1]),
                                                               QString::fromUtf8(fields[2]))
                                           : FontVerdict::notAFont(QString::fromUtf8(fields[1]));
    verdict.bytes = received.mid(headerEnd + 1, count);
    received.remove(0, headerEnd + 1 + count);
    return verdict;
}

}  // namespace kestrix::details
