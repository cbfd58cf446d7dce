#include "settings/profile_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

namespace kestrix::settings {

namespace {

const QByteArray utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray crLf = QByteArrayLiteral("\r\n");

// One line of the file as it stands on disk: its text and its own line end ("" on a last line
// without one), so that lines we do not change are written back byte for byte.
struct Line {
    QByteArray text;
    QByteArray end;
};

struct Profile {
    QByteArray bom;
    std::vector<Line> lines;
};

Profile parse(QByteArray bytes) {
    Profile profile;
    if (bytes.startsWith(utf8Bom)) {
        profile.bom = utf8Bom;
        bytes.remove(0, utf8Bom.size());
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        const qsizetype endLength =
            (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        profile.lines.push_back({bytes.mid(start, i - start), bytes.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size()) {
        profile.lines.push_back({bytes.mid(start), QByteArray()});
    }
    return profile;
}

QByteArray serialize(const Profile& profile) {
    QByteArray bytes = profile.bom;
    for (const auto& line : profile.lines) {
        bytes += line.text + line.end;
    }
    return bytes;
}

// New lines take the line end the file already uses; a new file gets CR LF.
QByteArray lineEndOf(const Profile& profile) {
    for (const auto& line : profile.lines) {
        if (!line.end.isEmpty()) {
            return line.end;
        }
    }
    return crLf;
}

std::optional<QString> sectionName(const QByteArray& text) {
    const QByteArray line = text.trimmed();
    const qsizetype close = line.indexOf(']');
    if (!line.startsWith('[') || close < 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(line.mid(1, close - 1)).trimmed();
}

struct Entry {
    QByteArray keySpelling;
    QString key;
    QString value;
};

std::optional<Entry> entryOf(const QByteArray& text) {
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) {
        return std::nullopt;
    }
    const QByteArray key = text.left(equals).trimmed();
    return Entry{key, QString::fromUtf8(key), QString::fromUtf8(text.mid(equals + 1)).trimmed()};
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Where a section and a key stand: line indices, -1 where missing. The section runs from its
// header up to the next header.
struct Location {
    qsizetype header = -1;
    qsizetype sectionEnd = -1;
    qsizetype entry = -1;
};

Location locate(const Profile& profile, const QString& section, const QString& key) {
    Location at;
    const auto count = static_cast<qsizetype>(profile.lines.size());
    for (qsizetype i = 0; i < count && at.header < 0; ++i) {
        const auto name = sectionName(profile.lines[i].text);
        if (name && sameName(*name, section)) {
            at.header = i;
        }
    }
    if (at.header < 0) {
        return at;
    }
    at.sectionEnd = count;
    for (qsizetype i = at.header + 1; i < count; ++i) {
        const QByteArray& text = profile.lines[i].text;
        if (sectionName(text)) {
            at.sectionEnd = i;
            break;
        }
        const auto entry = entryOf(text);
        if (at.entry < 0 && entry && sameName(entry->key, key)) {
            at.entry = i;
        }
    }
    return at;
}

QString withoutOuterQuotes(const QString& value) {
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == u'"' || value.front() == u'\'');
    return quoted ? value.mid(1, value.size() - 2) : value;
}

// The file's bytes; empty when there is no file. Nothing for what cannot be read, or is no
// regular file: a pipe or a device would hold us, or never end.
std::optional<QByteArray> readFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists()) {
        return QByteArray();
    }
    QFile in(file);
    if (!info.isFile() || !in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return in.readAll();
}

// A file without any write permission is read-only, also for an administrator.
bool readOnly(const QString& file) {
    const QFileInfo info(file);
    return info.exists() &&
           !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

// A name or value holding a line end, or names that would read as something else, cannot be
// stored without breaking the file's lines.
bool storable(const QString& section, const QString& key, const QString& value) {
    const auto breaksLine = [](const QString& text) {
        return text.contains(u'\r') || text.contains(u'\n');
    };
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) &&
           !section.trimmed().isEmpty() && !section.contains(u']') && !key.trimmed().isEmpty() &&
           !key.contains(u'=') && !key.trimmed().startsWith(u'[');
}

// The last line of the section that holds something, so that blank lines before the next
// section stay where they are.
qsizetype lastFilledLine(const Profile& profile, const Location& at) {
    qsizetype last = at.header;
    for (qsizetype i = at.header + 1; i < at.sectionEnd; ++i) {
        if (!profile.lines[i].text.trimmed().isEmpty()) {
            last = i;
        }
    }
    return last;
}

void insertLines(Profile& profile, qsizetype position, const std::vector<QByteArray>& texts) {
    const QByteArray end = lineEndOf(profile);
    if (position > 0 && profile.lines[position - 1].end.isEmpty()) {
        profile.lines[position - 1].end = end;
    }
    for (const auto& text : texts) {
        profile.lines.insert(profile.lines.begin() + position++, Line{text, end});
    }
}

WriteResult failed(const QString& reason) {
    return {false, reason};
}

WriteResult replaceFile(const QString& file, const QByteArray& bytes) {
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit()) {
        return {true, {}};
    }
    return failed(out.errorString());
}

}  // namespace

QString ReadSetting(const QString& section, const QString& key, const QString& file) {
    const auto bytes = readFile(file);
    if (!bytes) {
        return QString();
    }
    const Profile profile = parse(*bytes);
    const Location at = locate(profile, section, key.toLower());
    if (at.entry < 0) {
        return QString();
    }
    const QString value = withoutOuterQuotes(entryOf(profile.lines[at.entry].text)->value);
    return value.left(longestSettingValue);
}

WriteResult WriteSetting(const QString& section, const QString& key, const QString& value,
                         const QString& file) {
    if (!storable(section, key, value)) {
        return failed(QStringLiteral("the name or the value would break the file's lines"));
    }
    // Rewriting what cannot be read would lose what it holds; a read-only file, what its owner
    // chose.
    const auto bytes = readFile(file);
    if (!bytes) {
        return failed(QStringLiteral("it is not a file that can be read"));
    }
    if (readOnly(file)) {
        return failed(QStringLiteral("the file is read-only"));
    }
    Profile profile = parse(*bytes);
    const Location at = locate(profile, section, key);
    const QByteArray newEntry = key.trimmed().toUpper().toUtf8() + '=' + value.toUtf8();
    if (at.entry >= 0) {
        Line& line = profile.lines[at.entry];
        line.text = entryOf(line.text)->keySpelling + '=' + value.toUtf8();
    } else if (at.header >= 0) {
        insertLines(profile, lastFilledLine(profile, at) + 1, {newEntry});
    } else {
        const QByteArray header = '[' + section.trimmed().toUtf8() + ']';
        insertLines(profile, static_cast<qsizetype>(profile.lines.size()), {header, newEntry});
    }
    return replaceFile(file, serialize(profile));
}

}  // namespace kestrix::settings
