// Fuzzes ReadSetting and WriteSetting over any file content, section, key and value, and checks
// that nothing crashes, that a written value reads back, that a failed write leaves the file
// as it was, and that every line the write did not target keeps its bytes and stays a line of
// its own.

#include "settings/profile_file.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using kestrix::settings::ReadSetting;
using kestrix::settings::WriteSetting;

// What the current input asks for, told when an invariant breaks.
QString currentCase;

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n%s\n", what, qPrintable(currentCase));
        std::abort();
    }
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Line {
    QByteArray text;
    QByteArray end;

    bool operator==(const Line&) const = default;
};

const QByteArray utf8Bom = "\xEF\xBB\xBF";
const QByteArray utf16LeBom = "\xFF\xFE";
const QByteArray utf16BeBom = "\xFE\xFF";

QByteArray bomOf(const QByteArray& file) {
    for (const auto& bom : {utf8Bom, utf16LeBom, utf16BeBom}) {
        if (file.startsWith(bom)) {
            return bom;
        }
    }
    return {};
}

// The lines of a file as a reader sees them, each with its own line end, after the byte-order
// mark. UTF-16 files are compared as the text they hold.
std::vector<Line> linesOf(const QByteArray& file) {
    const QByteArray bom = bomOf(file);
    QByteArray bytes = file.sliced(bom.size());
    if (bom != utf8Bom && !bom.isEmpty()) {
        QStringDecoder decode(
            bom == utf16LeBom ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
            QStringConverter::Flag::ConvertInitialBom);
        bytes = QString(decode(bytes)).toUtf8();
    }
    std::vector<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            continue;
        }
        const qsizetype endLength = bytes.mid(i, 2) == "\r\n" ? 2 : 1;
        lines.push_back({bytes.mid(start, i - start), bytes.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size()) {
        lines.push_back({bytes.mid(start), {}});
    }
    return lines;
}

// Every line of `before` is in `after` unchanged, except one: the entry whose value changed
// (same line end), or a last line without a line end that gained one for the lines after it.
void requireUntargetedLinesKept(const QByteArray& before, const QByteArray& after) {
    const auto old = linesOf(before);
    const auto now = linesOf(after);
    require(now.size() >= old.size() && now.size() <= old.size() + 2, "lines added or lost");
    std::size_t same = 0;
    while (same < old.size() && old[same] == now[same]) {
        ++same;
    }
    std::size_t sameAtEnd = 0;
    while (sameAtEnd < old.size() - same &&
           old[old.size() - 1 - sameAtEnd] == now[now.size() - 1 - sameAtEnd]) {
        ++sameAtEnd;
    }
    const std::size_t changed = old.size() - same - sameAtEnd;
    require(changed <= 1, "more than one line changed");
    if (changed == 1) {
        const Line& was = old[same];
        const Line& is = now[same];
        const bool valueChanged = now.size() == old.size() && was.end == is.end;
        const bool gainedEnd =
            same + 1 == old.size() && was.end.isEmpty() && was.text == is.text && !is.end.isEmpty();
        require(valueChanged || gainedEnd, "a line lost its bytes or joined another");
    }
}

// A value that reads back exactly as written: no blanks around it, no outer quotes, not cut.
bool readsBackAsIs(const QString& value) {
    const QByteArray bytes = value.toUtf8();
    const bool quoted = bytes.size() >= 2 && bytes.front() == bytes.back() &&
                        (bytes.front() == '"' || bytes.front() == '\'');
    return bytes.trimmed() == bytes && !quoted &&
           value.size() <= kestrix::settings::longestSettingValue;
}

QString fromProvider(FuzzedDataProvider& input, const char* usual) {
    return input.ConsumeBool() ? QString::fromLatin1(usual)
                               : QString::fromStdString(input.ConsumeRandomLengthString(24));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Info.ini"));
    FuzzedDataProvider input(data, size);
    const QString section = fromProvider(input, "Kestrix Settings");
    const QString key = fromProvider(input, "Total");
    const QString value = QString::fromStdString(input.ConsumeRandomLengthString(48));
    const std::string content = input.ConsumeRemainingBytesAsString();
    const QByteArray before(content.data(), static_cast<qsizetype>(content.size()));
    currentCase = QStringLiteral("section %1, key %2, value %3, file %4")
                      .arg(section.toUtf8().toPercentEncoding(), key.toUtf8().toPercentEncoding(),
                           value.toUtf8().toPercentEncoding(), before.toPercentEncoding());
    {
        QFile out(file);
        require(out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    out.write(before) == before.size(),
                "the input file could not be written");
    }

    require(ReadSetting(section, key, file).size() <= kestrix::settings::longestSettingValue,
            "a read returned more than the longest value");
    if (!WriteSetting(section, key, value, file)) {
        require(contentOf(file) == before, "a failed write changed the file");
        return 0;
    }
    const QByteArray after = contentOf(file);
    require(after.startsWith(bomOf(before)), "the byte-order mark was lost");
    if (readsBackAsIs(value)) {
        require(ReadSetting(section, key, file) == value, "a written value did not read back");
    }
    requireUntargetedLinesKept(before, after);

    // The same key again replaces its line: no line more.
    require(static_cast<bool>(WriteSetting(section, key, QStringLiteral("2"), file)),
            "a second write failed");
    require(linesOf(contentOf(file)).size() == linesOf(after).size(),
            "a second write of the same key added a line");
    return 0;
}
