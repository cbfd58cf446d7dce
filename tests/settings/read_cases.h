#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>
#include <vector>

namespace kestrix::settings {

// One way of reading a value from a profile file: the file, what is asked, what comes back.
struct ReadCase {
    const char* what;
    QByteArray file;
    QString section;
    QString key;
    QString expected;
    // Where Windows' own GetPrivateProfileStringA gives another answer on purpose: why.
    const char* differsFromWindows = nullptr;
};

// A file as Windows writes UTF-16: its byte-order mark, then the text.
[[nodiscard]] QByteArray utf16(QStringConverter::Encoding encoding, const QString& text);

// The profile-file reading rules, row by row.
[[nodiscard]] std::vector<ReadCase> readCases();

}  // namespace kestrix::settings
