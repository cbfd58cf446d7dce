#include "settings/read_cases.h"

#include <QStringEncoder>

namespace kestrix::settings {

namespace {
const QString section = QStringLiteral("Kestrix Settings");
}  // namespace

QByteArray utf16(QStringConverter::Encoding encoding, const QString& text) {
    QStringEncoder encode(encoding, QStringConverter::Flag::WriteBom);
    return encode(text);
}

std::vector<ReadCase> readCases() {
    const QString total = QStringLiteral("Total");
    const QString longValue(800, u'7');
    return {
        {"plain entry", "[Kestrix Settings]\r\nTOTAL=5\r\n", section, total, "5"},
        {"names ignore letter case", "[KESTRIX SETTINGS]\r\ntotal=12\r\n", section, total, "12"},
        {"caller's letter case", "[Kestrix Settings]\r\nTOTAL=5\r\n", "kESTRIX sETTINGS", "tOtAl",
         "5"},
        {"blanks around names and value", "  [ Kestrix Settings ]  \r\n\t Total \t=   7  \r\n",
         section, total, "7"},
        {"blanks around the caller's names", "[Kestrix Settings]\r\nTOTAL=5\r\n",
         " Kestrix Settings ", " Total ", "5"},
        {"first section wins", "[Kestrix Settings]\r\nTOTAL=1\r\n[kestrix settings]\r\nTOTAL=2\r\n",
         section, total, "1"},
        {"first key wins", "[Kestrix Settings]\r\ntotal=1\r\nTOTAL=2\r\n", section, total, "1"},
        {"key only in a later duplicate section",
         "[Kestrix Settings]\r\nother=1\r\n[Kestrix Settings]\r\nTOTAL=2\r\n", section, total, ""},
        {"double quotes", "[Kestrix Settings]\r\nTOTAL=\"42\"\r\n", section, total, "42"},
        {"single quotes", "[Kestrix Settings]\r\nTOTAL='42'\r\n", section, total, "42"},
        {"quotes that do not match", "[Kestrix Settings]\r\nTOTAL=\"42'\r\n", section, total,
         "\"42'"},
        {"one pair only", "[Kestrix Settings]\r\nTOTAL=\"\"x\"\"\r\n", section, total, "\"x\""},
        {"blanks inside quotes stay", "[Kestrix Settings]\r\nTOTAL= \" 4 \" \r\n", section, total,
         " 4 "},
        {"a lone quote", "[Kestrix Settings]\r\nTOTAL=\"\r\n", section, total, "\""},
        {"equals sign in the value", "[Kestrix Settings]\r\nTOTAL=a=b\r\n", section, total, "a=b"},
        {"empty value", "[Kestrix Settings]\r\nTOTAL=\r\n", section, total, ""},
        {"blank value", "[Kestrix Settings]\r\nTOTAL=   \r\n", section, total, ""},
        {"missing key", "[Kestrix Settings]\r\nOTHER=1\r\n", section, total, ""},
        {"missing section", "[Other]\r\nTOTAL=3\r\n", section, total, ""},
        {"key before any section", "TOTAL=3\r\n[Kestrix Settings]\r\n", section, total, ""},
        {"key of the next section", "[Kestrix Settings]\r\n[Other]\r\nTOTAL=3\r\n", section, total,
         ""},
        {"key without equals sign", "[Kestrix Settings]\r\nTOTAL\r\n", section, total, ""},
        {"header without closing bracket", "[Kestrix Settings\r\nTOTAL=3\r\n", section, total, ""},
        {"LF line ends", "[Other]\nx=1\n[Kestrix Settings]\nTOTAL=8\n", section, total, "8"},
        {"CR line ends", "[Other]\rx=1\r[Kestrix Settings]\rTOTAL=8\r", section, total, "8"},
        {"no final line end", "[Kestrix Settings]\r\nTOTAL=9", section, total, "9"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Kestrix Settings]\r\nTOTAL=10\r\n", section, total,
         "10"},
        {"text beyond ASCII", "[Kestrix Settings]\r\nTOTAL=Z\xC3\xA4hler\r\n", section, total,
         QStringLiteral("Z\u00e4hler"), "8-bit files are read as UTF-8, not in the ANSI code page"},
        {"800 characters", "[Kestrix Settings]\r\nTOTAL=" + longValue.toUtf8() + "\r\n", section,
         total, longValue.left(749)},
        {"empty file", "", section, total, ""},
        {"UTF-16 LE",
         utf16(QStringConverter::Utf16LE, "[Other]\r\n[Kestrix Settings]\r\nTOTAL=11\r\n"), section,
         total, "11"},
        {"UTF-16 BE",
         utf16(QStringConverter::Utf16BE,
               QStringLiteral("[Kestrix Settings]\nTOTAL=Z\u00e4hler\n")),
         section, total, QStringLiteral("Z\u00e4hler")},
    };
}

}  // namespace kestrix::settings
