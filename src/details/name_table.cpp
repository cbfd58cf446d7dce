#include "details/name_table.h"

#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace kestrix::details {

namespace {

// Windows language identifiers: the primary language is their lowest ten bits.
constexpr quint16 primaryLanguage(quint16 languageId) {
    return languageId & 0x3FF;
}
constexpr quint16 english = 0x09;

// The primary language of a Windows language identifier for each ISO 639-1 code.
constexpr std::array<std::pair<const char*, quint16>, 60> windowsLanguages{{
    {"af", 0x36}, {"am", 0x5E}, {"ar", 0x01}, {"az", 0x2C}, {"be", 0x23}, {"bg", 0x02},
    {"bn", 0x45}, {"bs", 0x1A}, {"ca", 0x03}, {"cs", 0x05}, {"cy", 0x52}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D},
    {"fa", 0x29}, {"fi", 0x0B}, {"fr", 0x0C}, {"ga", 0x3C}, {"gl", 0x56}, {"gu", 0x47},
    {"he", 0x0D}, {"hi", 0x39}, {"hr", 0x1A}, {"hu", 0x0E}, {"hy", 0x2B}, {"id", 0x21},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ka", 0x37}, {"kk", 0x3F}, {"km", 0x53},
    {"kn", 0x4B}, {"ko", 0x12}, {"lo", 0x54}, {"lt", 0x27}, {"lv", 0x26}, {"mk", 0x2F},
    {"ml", 0x4C}, {"mn", 0x50}, {"mr", 0x4E}, {"ms", 0x3E}, {"nb", 0x14}, {"nl", 0x13},
    {"nn", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"sk", 0x1B},
    {"sl", 0x24}, {"sr", 0x1A}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"uk", 0x22},
}};

// The primary languages to look for, best first: the user's, then English.
QList<quint16> preferredLanguages(const QStringList& uiLanguages) {
    QList<quint16> preferred;
    for (const QString& language : uiLanguages) {
        const QByteArray code = language.section(u'-', 0, 0).toLower().toLatin1();
        const auto* known = std::find_if(windowsLanguages.begin(), windowsLanguages.end(),
                                         [&](const auto& entry) { return code == entry.first; });
        if (known != windowsLanguages.end() && !preferred.contains(known->second)) {
            preferred << known->second;
        }
    }
    if (!preferred.contains(english)) {
        preferred << english;
    }
    return preferred;
}

struct NameRecord {
    quint16 platform;
    quint16 encoding;
    quint16 language;
    quint16 nameId;
    QByteArrayView text;  // UTF-16BE when the record is one in Unicode
};

quint16 word(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint16>(bytes.data() + at);
}

// The records whose text lies inside the table; none of a table too short for its header.
QList<NameRecord> recordsOf(QByteArrayView table) {
    constexpr qsizetype headerSize = 6;
    constexpr qsizetype recordSize = 12;
    QList<NameRecord> records;
    if (table.size() < headerSize) {
        return records;
    }
    const qsizetype count = word(table, 2);
    const qsizetype strings = word(table, 4);
    for (qsizetype i = 0; i < count && headerSize + (i + 1) * recordSize <= table.size(); ++i) {
        const qsizetype at = headerSize + i * recordSize;
        const qsizetype length = word(table, at + 8);
        const qsizetype offset = strings + word(table, at + 10);
        if (offset + length <= table.size()) {
            records << NameRecord{word(table, at), word(table, at + 2), word(table, at + 4),
                                  word(table, at + 6), table.sliced(offset, length)};
        }
    }
    return records;
}

// Unicode platform in any encoding; Windows platform in Symbol, Unicode BMP or full Unicode.
bool inUnicode(const NameRecord& record) {
    constexpr quint16 unicodePlatform = 0;
    constexpr quint16 windowsPlatform = 3;
    constexpr std::array windowsUnicode{0, 1, 10};
    return record.platform == unicodePlatform ||
           (record.platform == windowsPlatform &&
            std::find(windowsUnicode.begin(), windowsUnicode.end(), record.encoding) !=
                windowsUnicode.end());
}

// How far down the preferred languages the record's language is; past them all when it is
// none of them (the Unicode platform names no Windows language).
qsizetype rank(const NameRecord& record, const QList<quint16>& preferred) {
    constexpr quint16 windowsPlatform = 3;
    const qsizetype at = record.platform == windowsPlatform
                             ? preferred.indexOf(primaryLanguage(record.language))
                             : -1;
    return at < 0 ? preferred.size() : at;
}

std::optional<QString> bestNamed(const QList<NameRecord>& records, quint16 nameId,
                                 const QList<quint16>& preferred) {
    const NameRecord* best = nullptr;
    for (const NameRecord& record : records) {
        if (record.nameId == nameId && inUnicode(record) && !record.text.isEmpty() &&
            (!best || rank(record, preferred) < rank(*best, preferred))) {
            best = &record;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return QString(QStringDecoder(QStringDecoder::Utf16BE).decode(best->text));
}

}  // namespace

QString recordedName(QByteArrayView table, FontName which, const QStringList& uiLanguages) {
    // Typographic family and subfamily first, then the plain family and subfamily.
    constexpr std::array familyIds{16, 1};
    constexpr std::array styleIds{17, 2};
    const QList<NameRecord> records = recordsOf(table);
    const QList<quint16> preferred = preferredLanguages(uiLanguages);
    for (const int nameId : which == FontName::Family ? familyIds : styleIds) {
        if (const auto name = bestNamed(records, static_cast<quint16>(nameId), preferred)) {
            return *name;
        }
    }
    return {};
}

QString oneLine(const QString& name) {
    QString line = name;
    for (QChar& character : line) {
        const auto category = character.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph) {
            character = u' ';
        }
    }
    return line.simplified();
}

}  // namespace kestrix::details
