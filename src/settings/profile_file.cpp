#include "settings/profile_file.h"

#include "platform/replace_file.h"
#include "platform/whole_file.h"

#include <QChar>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <optional>
#include <variant>

namespace kestrix::settings {

namespace {

const QByteArray utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray utf16LeBom = QByteArrayLiteral("\xFF\xFE");
const QByteArray utf16BeBom = QByteArrayLiteral("\xFE\xFF");
const QByteArray crLf = QByteArrayLiteral("\r\n");

// A profile file's text as we work on it: an 8-bit file byte for byte, a UTF-16 file (one with
// its byte-order mark, as Windows writes them) turned into UTF-8 and back when it is written.
struct ProfileText {
    QByteArray bom;
    std::optional<QStringConverter::Encoding> utf16;
    // False where turning the text back into the file's encoding would not give its own bytes.
    bool reversible = true;
    QByteArray text;
};

// UTF-8 as text, a U+FEFF at its start included: QString::fromUtf8() would drop that one.
QString decoded(QByteArrayView utf8) {
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
    return decode(utf8);
}

// UTF-16 and UTF-8 are turned into each other a megabyte at a time, never cutting a character in
// two, so that no copy of a whole huge file is ever held as a QString.
constexpr qsizetype chunkSize = qsizetype{1} << 20;

bool endsInHighSurrogate(QByteArrayView utf16, QStringConverter::Encoding encoding) {
    if (utf16.size() < 2) {
        return false;
    }
    const auto high = static_cast<uchar>(
        encoding == QStringConverter::Utf16LE ? utf16.back() : utf16[utf16.size() - 2]);
    return high >= 0xD8 && high <= 0xDB;
}

ProfileText fromUtf16(const QByteArray& bytes, QStringConverter::Encoding encoding) {
    const QByteArrayView utf16 = QByteArrayView(bytes).sliced(2);
    // A byte-order mark at the start of a chunk is text like any other, and must come back.
    QStringDecoder decode(
        encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    ProfileText profile{bytes.first(2), encoding, utf16.size() % 2 == 0, {}};
    profile.text.reserve(utf16.size() / 2);
    for (qsizetype at = 0; at < utf16.size();) {
        qsizetype length = std::min(chunkSize, utf16.size() - at);
        if (at + length < utf16.size() && endsInHighSurrogate(utf16.sliced(at, length), encoding)) {
            length += 2;
        }
        const QString chunk = decode(utf16.sliced(at, length));
        // A surrogate without its partner would not come back from UTF-8.
        profile.reversible = profile.reversible && chunk.isValidUtf16();
        profile.text += chunk.toUtf8();
        at += length;
    }
    profile.reversible = profile.reversible && !decode.hasError();
    return profile;
}

void appendAsUtf16(QByteArray& out, QByteArrayView utf8, QStringConverter::Encoding encoding) {
    QStringEncoder encode(encoding, QStringConverter::Flag::Stateless);
    for (qsizetype at = 0; at < utf8.size();) {
        qsizetype end = std::min(utf8.size(), at + chunkSize);
        // Not inside a character, which has at most 3 bytes after its first.
        for (int step = 0;
             step < 3 && end < utf8.size() && (static_cast<uchar>(utf8[end]) & 0xC0) == 0x80;
             ++step) {
            --end;
        }
        out += encode(decoded(utf8.sliced(at, end - at)));
        at = end;
    }
}

ProfileText profileTextOf(QByteArray bytes) {
    if (bytes.startsWith(utf16LeBom)) {
        return fromUtf16(bytes, QStringConverter::Utf16LE);
    }
    if (bytes.startsWith(utf16BeBom)) {
        return fromUtf16(bytes, QStringConverter::Utf16BE);
    }
    ProfileText profile;
    if (bytes.startsWith(utf8Bom)) {
        profile.bom = utf8Bom;
        bytes.remove(0, utf8Bom.size());
    }
    profile.text = std::move(bytes);
    return profile;
}

// The file's text; an empty one when there is no file. The reason for what cannot be read, or
// is no regular file: a pipe or a device would hold us, or never end.
std::variant<ProfileText, QString> readProfile(const QString& file) {
    if (!QFileInfo::exists(file)) {
        return ProfileText{};
    }
    auto bytes = platform::readWholeFile(file, largestSettingsFile);
    if (auto* reason = std::get_if<QString>(&bytes)) {
        return std::move(*reason);
    }
    return profileTextOf(std::get<QByteArray>(std::move(bytes)));
}

// Where one line lies in the text: its text, then its own line end (CR LF, CR or LF; none on a
// last line without one).
struct LineSpan {
    qsizetype start = 0;
    qsizetype textEnd = 0;
    qsizetype end = 0;

    [[nodiscard]] bool hasEnd() const { return end > textEnd; }
};

// The text's lines one by one, found as they are needed: a file of millions of lines costs no
// memory of its own.
class LineReader {
public:
    explicit LineReader(QByteArrayView text) : text_(text) {}

    std::optional<LineSpan> next() {
        if (position_ >= text_.size()) {
            return std::nullopt;
        }
        const char* begin = text_.data();
        const char* lineEnd = std::find_if(begin + position_, begin + text_.size(),
                                           [](char c) { return c == '\r' || c == '\n'; });
        LineSpan line{position_, lineEnd - begin, lineEnd - begin};
        if (line.textEnd < text_.size()) {
            const bool crLfEnd =
                *lineEnd == '\r' && line.textEnd + 1 < text_.size() && lineEnd[1] == '\n';
            line.end += crLfEnd ? 2 : 1;
        }
        position_ = line.end;
        return line;
    }

private:
    QByteArrayView text_;
    qsizetype position_ = 0;
};

QByteArrayView textOf(QByteArrayView text, const LineSpan& line) {
    return text.sliced(line.start, line.textEnd - line.start);
}

// Names and values are taken without the blanks around them.
QByteArray blanksTrimmed(const QString& name) {
    return name.toUtf8().trimmed();
}

std::optional<QByteArrayView> sectionName(QByteArrayView line) {
    line = line.trimmed();
    if (!line.startsWith('[')) {
        return std::nullopt;
    }
    const qsizetype close = line.indexOf(']');
    if (close < 0) {
        return std::nullopt;
    }
    return line.sliced(1, close - 1).trimmed();
}

struct Entry {
    QByteArrayView key;
    QByteArrayView value;
};

std::optional<Entry> entryOf(QByteArrayView line) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) {
        return std::nullopt;
    }
    return Entry{line.first(equals).trimmed(), line.sliced(equals + 1).trimmed()};
}

// A name the caller asks for, in both forms it is compared in.
struct Name {
    explicit Name(const QByteArray& trimmed)
        : utf8(trimmed), text(decoded(trimmed)), ascii(isAscii(trimmed)) {}

    static bool isAscii(QByteArrayView bytes) {
        return std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<uchar>(c) < 0x80; });
    }

    QByteArray utf8;
    QString text;
    bool ascii;
};

// The one case rule: names match when they are equal letter by letter with letter case
// ignored. Equal names have as many UTF-16 units, each from 1 to 3 bytes of UTF-8, so a name of
// another length in the file is never decoded to be compared; nor is one in plain ASCII.
bool sameName(QByteArrayView inFile, const Name& wanted) {
    if (inFile.size() < wanted.text.size() || inFile.size() > 3 * wanted.text.size()) {
        return false;
    }
    if (wanted.ascii && Name::isAscii(inFile)) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return inFile.size() == wanted.utf8.size() &&
               std::equal(inFile.begin(), inFile.end(), wanted.utf8.begin(),
                          [&](char a, char b) { return lower(a) == lower(b); });
    }
    return decoded(inFile).compare(wanted.text, Qt::CaseInsensitive) == 0;
}

// A new key is written in capitals, letter by letter where the capital matches the letter
// again by the rule above: "ß", "ı" or a ligature stays as it is, so the key reads back.
QByteArray inCapitals(const QByteArray& key) {
    QString capitals;
    for (const char32_t letter : decoded(key).toUcs4()) {
        const char32_t capital = QChar::toUpper(letter);
        const char32_t kept =
            QChar::toCaseFolded(capital) == QChar::toCaseFolded(letter) ? capital : letter;
        capitals += QStringView(QChar::fromUcs4(kept));
    }
    return capitals.toUtf8();
}

QByteArrayView withoutOuterQuotes(QByteArrayView value) {
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == '"' || value.front() == '\'');
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

// Where a section and a key stand. The section runs from its header up to the next header;
// the first matching section and the first matching key in it count.
struct Location {
    std::optional<LineSpan> header;
    std::optional<LineSpan> entry;
    // The section's last line that holds something, so that blank lines before the next
    // section stay where they are.
    LineSpan lastFilled;
};

Location locate(QByteArrayView text, const Name& section, const Name& key) {
    Location at;
    LineReader lines(text);
    while (const auto line = lines.next()) {
        const QByteArrayView lineText = textOf(text, *line);
        if (lineText.isEmpty()) {
            continue;  // most lines of a huge file may be empty: nothing to look at
        }
        const auto name = sectionName(lineText);
        if (!at.header) {
            if (name && sameName(*name, section)) {
                at.header = at.lastFilled = *line;
            }
            continue;
        }
        if (name) {
            break;
        }
        if (const auto entry = entryOf(lineText); entry && sameName(entry->key, key)) {
            at.entry = *line;
            break;
        }
        if (!lineText.trimmed().isEmpty()) {
            at.lastFilled = *line;
        }
    }
    return at;
}

// New lines take the line end the file already uses; a new file gets CR LF.
QByteArray lineEndOf(QByteArrayView text) {
    LineReader lines(text);
    while (const auto line = lines.next()) {
        if (line->hasEnd()) {
            return text.sliced(line->textEnd, line->end - line->textEnd).toByteArray();
        }
    }
    return crLf;
}

// A CR before an LF would read as one CR LF and swallow the line the LF ends.
QByteArray lineEndBefore(QByteArrayView text, qsizetype position, const QByteArray& lineEnd) {
    const bool joins = lineEnd == "\r" && text.sliced(position).startsWith('\n');
    return joins ? crLf : lineEnd;
}

// One change to the text: the bytes from `from` to `to` give way to `replacement`.
struct Edit {
    qsizetype from = 0;
    qsizetype to = 0;
    QByteArray replacement;
};

Edit editFor(QByteArrayView text, const QByteArray& section, const QByteArray& key,
             const QByteArray& value) {
    const Location at = locate(text, Name(section), Name(key));
    if (at.entry) {
        const QByteArrayView spelling = entryOf(textOf(text, *at.entry))->key;
        return {at.entry->start, at.entry->textEnd, spelling.toByteArray() + '=' + value};
    }
    const QByteArray lineEnd = lineEndOf(text);
    const QByteArray newEntry = inCapitals(key) + '=' + value;
    if (at.header) {
        const qsizetype after = at.lastFilled.end;
        const QByteArray before = at.lastFilled.hasEnd() ? QByteArray() : lineEnd;
        return {after, after, before + newEntry + lineEndBefore(text, after, lineEnd)};
    }
    const bool lastLineOpen = !text.isEmpty() && !text.endsWith('\r') && !text.endsWith('\n');
    return {text.size(), text.size(),
            (lastLineOpen ? lineEnd : QByteArray()) + '[' + section + ']' + lineEnd + newEntry +
                lineEnd};
}

platform::ReplaceResult store(const QString& file, const ProfileText& profile, const Edit& edit) {
    const QByteArrayView text = profile.text;
    const std::vector<QByteArrayView> pieces = {text.first(edit.from), edit.replacement,
                                                text.sliced(edit.to)};
    if (!profile.utf16) {
        std::vector<QByteArrayView> withBom = {profile.bom};
        withBom.insert(withBom.end(), pieces.begin(), pieces.end());
        return platform::replaceFile(file, withBom);
    }
    QByteArray encoded;
    encoded.reserve(2 * (text.size() + edit.replacement.size()));
    for (const auto& piece : pieces) {
        appendAsUtf16(encoded, piece, *profile.utf16);
    }
    return platform::replaceFile(file, {profile.bom, encoded});
}

// A file without any write permission is read-only, also for an administrator.
bool readOnly(const QString& file) {
    const QFileInfo info(file);
    return info.exists() &&
           !(info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

// A name or value holding a line end, or names that would read as something else, cannot be
// stored without breaking the file's lines.
bool storable(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    const auto breaksLine = [](const QByteArray& text) {
        return text.contains('\r') || text.contains('\n');
    };
    return !breaksLine(section) && !breaksLine(key) && !breaksLine(value) && !section.isEmpty() &&
           !section.contains(']') && !key.isEmpty() && !key.contains('=') && !key.startsWith('[');
}

WriteResult failed(const QString& reason) {
    return {false, reason};
}

}  // namespace

QString ReadSetting(const QString& section, const QString& key, const QString& file) {
    const auto read = readProfile(file);
    const auto* profile = std::get_if<ProfileText>(&read);
    if (!profile) {
        return QString();
    }
    // Names match by one rule whatever their letter case, so the key needs no lower-casing.
    const QByteArrayView text = profile->text;
    const Location at = locate(text, Name(blanksTrimmed(section)), Name(blanksTrimmed(key)));
    if (!at.entry) {
        return QString();
    }
    const QByteArrayView value = withoutOuterQuotes(entryOf(textOf(text, *at.entry))->value);
    // A character takes at most 4 bytes: decoding more than the longest value needs is waste.
    const qsizetype needed = std::min(value.size(), 4 * (longestSettingValue + 1));
    return decoded(value.first(needed)).left(longestSettingValue);
}

WriteResult WriteSetting(const QString& section, const QString& key, const QString& value,
                         const QString& file) {
    const QByteArray sectionName = blanksTrimmed(section);
    const QByteArray keyName = blanksTrimmed(key);
    const QByteArray valueBytes = value.toUtf8();
    if (!storable(sectionName, keyName, valueBytes)) {
        return failed(QStringLiteral("the name or the value would break the file's lines"));
    }
    // Rewriting what cannot be read would lose what it holds; a read-only file, what its owner
    // chose.
    const auto read = readProfile(file);
    if (const auto* failure = std::get_if<QString>(&read)) {
        return failed(*failure);
    }
    if (readOnly(file)) {
        return failed(QStringLiteral("the file is read-only"));
    }
    const auto& profile = std::get<ProfileText>(read);
    if (!profile.reversible) {
        return failed(QStringLiteral("it is not valid UTF-16, so writing it back would change it"));
    }
    const Edit edit = editFor(profile.text, sectionName, keyName, valueBytes);
    const platform::ReplaceResult stored = store(file, profile, edit);
    return {stored.inPlace, stored.reason};
}

}  // namespace kestrix::settings
